// Back, Forward and the log rule of the history ring, driven the way renders drive it.
#include "core/view/history.h"

#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

// Stands in for the render command: the ring sees the view left, then the new one shows.
struct Session {
    HistoryRing ring;
    MANDAT shown{}; // the all-zero record of a new object
    bool logging = false;
    std::vector<MANDAT> log;

    void render(const MANDAT& v, int backup) {
        if (logging && !ring.contains(shown)) log.push_back(shown);
        ring.record(shown, backup);
        shown = v;
    }
    void back() {
        ASSERT_TRUE(ring.canGoBack());
        render(ring.backTarget(), Backup::Back);
    }
    void forward() {
        ASSERT_TRUE(ring.canGoForward());
        render(ring.forwardTarget(), Backup::Forward);
    }
};

MANDAT view(int n) {
    return mkMandat(n * 0.25, -n * 0.5, 1.0 / (n + 1), 1024, 0x782, n);
}

// New views 0..count-1, the first one rendered at start-up.
Session sessionWithNewViews(int count) {
    Session s;
    for (int n = 0; n < count; ++n)
        s.render(view(n), Backup::NewView);
    return s;
}

TEST(HistoryRing, StartUpDisablesBackAndForward) {
    Session s;
    s.render(kStartView, Backup::NewView);
    EXPECT_FALSE(s.ring.canGoBack());
    EXPECT_FALSE(s.ring.canGoForward());
    EXPECT_EQ(s.ring.hp(), 0);
    EXPECT_EQ(s.ring.backup0(), 1);
    EXPECT_EQ(s.ring.currentSlot(), 1);
}

TEST(HistoryRing, BackThenForwardReturnsToTheNewerView) {
    Session s;
    s.render(view(1), Backup::NewView);
    s.render(view(2), Backup::NewView);
    s.back();
    EXPECT_EQ(s.shown, view(1));
    EXPECT_FALSE(s.ring.canGoBack());
    s.forward();
    EXPECT_EQ(s.shown, view(2));
    EXPECT_FALSE(s.ring.canGoForward());
    EXPECT_TRUE(s.ring.canGoBack());
}

TEST(HistoryRing, TwelveNewViewsAllowSixStepsEachWay) {
    Session s = sessionWithNewViews(12);
    for (int k = 1; k <= 6; ++k) {
        s.back();
        EXPECT_EQ(s.shown, view(11 - k)) << "back step " << k;
    }
    EXPECT_FALSE(s.ring.canGoBack());
    for (int k = 1; k <= 6; ++k) {
        s.forward();
        EXPECT_EQ(s.shown, view(5 + k)) << "forward step " << k;
    }
    EXPECT_FALSE(s.ring.canGoForward());
}

TEST(HistoryRing, NewViewAfterBacksEndsTheForwardHistory) {
    Session s = sessionWithNewViews(5);
    s.back();
    s.back();
    ASSERT_EQ(s.shown, view(2));
    s.render(view(9), Backup::NewView);
    EXPECT_FALSE(s.ring.canGoForward());

    std::vector<MANDAT> walked;
    while (s.ring.canGoBack()) {
        s.back();
        walked.push_back(s.shown);
    }
    EXPECT_EQ(walked, (std::vector<MANDAT>{view(2), view(1), view(0)}));
    walked.clear();
    while (s.ring.canGoForward()) {
        s.forward();
        walked.push_back(s.shown);
    }
    // The views that had been ahead (3 and 4) are out of reach.
    EXPECT_EQ(walked, (std::vector<MANDAT>{view(1), view(2), view(9)}));
}

TEST(HistoryRing, SameSlotRenderReplacesTheView) {
    Session s;
    const MANDAT a = view(1);
    const MANDAT b = view(2);
    MANDAT b2 = b;
    b2.it = 4096;
    s.render(a, Backup::NewView);
    s.render(b, Backup::NewView);
    s.render(b2, Backup::Same);
    s.back();
    EXPECT_EQ(s.shown, a);
    EXPECT_FALSE(s.ring.contains(b));
    s.forward();
    EXPECT_EQ(s.shown, b2);
}

TEST(HistoryRing, IndexWrapsBelowZero) {
    HistoryRing ring;
    const MANDAT a = view(1);
    const MANDAT b = view(2);
    ring.record(MANDAT{}, Backup::NewView);
    ring.record(a, Backup::Back);
    ring.record(b, Backup::Back);
    ASSERT_EQ(ring.hp(), 0);
    ASSERT_EQ(ring.backup0(), -1);
    EXPECT_EQ(ring.currentSlot(), 7);
    EXPECT_EQ(&ring.backTarget(), &ring.Mandath()[6]);
    EXPECT_EQ(&ring.forwardTarget(), &ring.Mandath()[0]);
    EXPECT_EQ(ring.forwardTarget(), b);
    EXPECT_FALSE(ring.canGoBack());
}

TEST(HistoryRing, LogTakesOnlyViewsMissingFromTheRing) {
    Session s;
    s.logging = true;
    s.render(view(1), Backup::NewView); // the all-zero record equals the empty entries
    s.render(view(2), Backup::NewView);
    s.back();    // view 2 was in no slot yet
    s.forward(); // view 1 was stored when it was first left
    s.render(view(3), Backup::NewView);
    s.render(view(3), Backup::Same); // a redraw logs the new view at once
    s.render(view(4), Backup::NewView);
    EXPECT_EQ(s.log, (std::vector<MANDAT>{view(1), view(2), view(3)}));
}

} // namespace
} // namespace velq
