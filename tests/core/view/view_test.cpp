// Back, Forward and the log rule of the history ring, driven the way renders drive it; the
// allowed iteration limits.
#include "core/view/history.h"
#include "core/view/iterationlimit.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

// Stands in for the render command: the ring sees the view left, then the new one shows.
struct Session {
    HistoryRing ring;
    MANDAT shown{}; // the all-zero record of a new window
    std::vector<MANDAT> log;

    void render(const MANDAT& v, int backup) {
        if (!ring.contains(shown)) log.push_back(shown);
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
    std::vector<MANDAT> walk(bool backwards) {
        std::vector<MANDAT> seen;
        while (backwards ? ring.canGoBack() : ring.canGoForward()) {
            backwards ? back() : forward();
            seen.push_back(shown);
        }
        return seen;
    }
};

MANDAT view(int n) {
    return {n * 0.25, -n * 0.5, 1.0 / (n + 1), 1024, 0x782, n};
}

std::vector<MANDAT> views(std::initializer_list<int> ns) {
    std::vector<MANDAT> v;
    for (int n : ns)
        v.push_back(view(n));
    return v;
}

TEST(HistoryRing, EightSlotsHoldSixStepsEachWay) {
    Session s;
    s.render(view(0), Backup::NewView); // start-up
    EXPECT_FALSE(s.ring.canGoBack() || s.ring.canGoForward());
    EXPECT_EQ(s.ring.currentSlot(), 1);
    for (int n = 1; n < 12; ++n)
        s.render(view(n), Backup::NewView);
    EXPECT_FALSE(s.ring.canGoForward()); // the slot after a new view is emptied
    EXPECT_EQ(s.walk(true), views({10, 9, 8, 7, 6, 5}));
    EXPECT_EQ(s.walk(false), views({6, 7, 8, 9, 10, 11}));
}

TEST(HistoryRing, NewViewAfterBacksEndsTheForwardHistory) {
    Session s;
    for (int n = 0; n < 5; ++n)
        s.render(view(n), Backup::NewView);
    s.back();
    s.back();
    s.render(view(9), Backup::NewView);
    EXPECT_FALSE(s.ring.canGoForward());
    EXPECT_EQ(s.walk(true), views({2, 1, 0}));
    EXPECT_EQ(s.walk(false), views({1, 2, 9})); // 3 and 4 are out of reach
}

TEST(HistoryRing, SameSlotReplacesTheViewAndTheIndexWrapsBelowZero) {
    Session s;
    s.render(view(1), Backup::NewView);
    s.render(view(2), Backup::NewView);
    MANDAT redrawn = view(2);
    redrawn.it = 4096;
    s.render(redrawn, Backup::Same);
    s.back();
    EXPECT_EQ(s.shown, view(1));
    EXPECT_FALSE(s.ring.contains(view(2)));
    s.forward();
    EXPECT_EQ(s.shown, redrawn);

    HistoryRing ring;
    ring.record(MANDAT{}, Backup::NewView);
    ring.record(view(1), Backup::Back);
    ring.record(view(2), Backup::Back);
    EXPECT_EQ(ring.currentSlot(), 7);
    EXPECT_EQ(&ring.backTarget(), &ring.Mandath()[6]);
    EXPECT_EQ(ring.forwardTarget(), view(2));
    EXPECT_FALSE(ring.canGoBack());
}

// A view left is logged only when no slot, empty ones included, equals it.
TEST(HistoryRing, LogTakesOnlyViewsMissingFromTheRing) {
    Session s;
    s.render(view(1), Backup::NewView); // the all-zero record equals the empty entries
    s.render(view(2), Backup::NewView);
    s.back();    // view 2 was in no slot yet
    s.forward(); // view 1 was stored when it was first left
    s.render(view(3), Backup::NewView);
    s.render(view(3), Backup::Same); // a redraw logs the new view at once
    s.render(view(4), Backup::NewView);
    EXPECT_EQ(s.log, views({1, 2, 3}));
}

TEST(IterationLimit, RoundsUpToAnAllowedPowerOfTwo) {
    const std::pair<int, int> cases[] = {
        {INT_MIN, 256}, {0, 256},       {256, 256},     {257, 512},      {1000, 1024},
        {1024, 1024},   {1025, 2048},   {4097, 8192},   {8192, 8192},    {8193, 16384},
        {16385, 32768}, {32768, 32768}, {40000, 32768}, {INT_MAX, 32768}};
    for (const auto& [requested, limit] : cases) {
        EXPECT_EQ(allowedLimit(requested), limit) << requested;
        EXPECT_EQ(needsLargeLimits(limit), limit > 8192) << requested;
    }
}

} // namespace
} // namespace velq
