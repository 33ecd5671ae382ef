// Back, Forward and the log rule of the history ring, driven the way renders drive it; the
// allowed iteration limits.
#include "core/view/history.h"
#include "core/view/iterationlimit.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

using Numbers = std::vector<int>;

// Stands in for the render command: the ring sees the view left, then the new one shows.
// Step -1 goes back, 101 forward (where the ring allows it), 0 redraws the shown view with
// another limit, any other n shows new view n. The views shown and logged, by number.
std::pair<Numbers, Numbers> session(HistoryRing& ring, const Numbers& steps) {
    MANDAT shown{}; // the all-zero record of a new window
    Numbers seen, logged;
    for (int step : steps) {
        if ((step < 0 && !ring.canGoBack()) || (step > 100 && !ring.canGoForward())) continue;
        MANDAT next = step < 0 ? ring.backTarget()
                      : step > 100
                          ? ring.forwardTarget()
                          : MANDAT{step * 0.25, -step * 0.5, 1.0 / step, 1024, 0x782, step};
        if (step == 0) (next = shown).it = 4096;
        if (!ring.contains(shown)) logged.push_back(shown.cp);
        ring.record(shown, step < 0     ? Backup::Back
                           : step > 100 ? Backup::Forward
                           : step == 0  ? Backup::Same
                                        : Backup::NewView);
        seen.push_back((shown = next).cp);
    }
    return {seen, logged};
}

TEST(HistoryRing, EightSlotsHoldSixStepsEachWayAndANewViewEndsTheForwardHistory) {
    HistoryRing start;
    session(start, {1});
    EXPECT_FALSE(start.canGoBack() || start.canGoForward());
    EXPECT_EQ(start.currentSlot(), 1);
    HistoryRing full;
    EXPECT_EQ(
        session(full, {1,  2,  3,  4,  5,  6,  7,   8,   9,   10,  11,  12,  -1,
                       -1, -1, -1, -1, -1, -1, 101, 101, 101, 101, 101, 101, 101})
            .first,
        (Numbers{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 11, 10, 9, 8, 7, 6, 7, 8, 9, 10, 11, 12}));
    HistoryRing cut; // 4 and 5 are out of reach after 9
    EXPECT_EQ(
        session(cut, {1, 2, 3, 4, 5, -1, -1, 9, 101, -1, -1, -1, -1, 101, 101, 101, 101}).first,
        (Numbers{1, 2, 3, 4, 5, 4, 3, 9, 3, 2, 1, 2, 3, 9}));
}

// A view left is logged only when no slot, empty ones included, equals it: the all-zero
// record equals the empty entries; view 2 is in no slot when first left; view 1 was stored
// when it was first left; view 3 and its redraw both leave the ring.
TEST(HistoryRing, SameSlotRedrawsTheLogRuleAndTheWrapBelowZero) {
    HistoryRing ring;
    EXPECT_EQ(session(ring, {1, 2, 0, -1, 101}).first, (Numbers{1, 2, 2, 1, 2}));
    EXPECT_FALSE(ring.contains({0.5, -1, 0.5, 1024, 0x782, 2})); // view 2 gave way to its redraw
    HistoryRing logging;
    EXPECT_EQ(session(logging, {1, 2, -1, 101, 3, 0, 4}).second, (Numbers{1, 2, 3, 3}));
    HistoryRing wrapped;
    wrapped.record(MANDAT{}, Backup::NewView);
    wrapped.record({1, 1, 1, 1024, 0, 1}, Backup::Back);
    wrapped.record({2, 2, 2, 1024, 0, 2}, Backup::Back);
    EXPECT_EQ(wrapped.currentSlot(), 7);
    EXPECT_EQ(&wrapped.backTarget(), &wrapped.Mandath()[6]);
    EXPECT_EQ(wrapped.forwardTarget().cp, 2);
    EXPECT_FALSE(wrapped.canGoBack());
}

TEST(IterationLimit, RoundsUpToAnAllowedPowerOfTwo) {
    const int cases[][2] = {{INT_MIN, 256}, {0, 256},        {256, 256},     {257, 512},
                            {1000, 1024},   {1024, 1024},    {1025, 2048},   {4097, 8192},
                            {8192, 8192},   {8193, 16384},   {16385, 32768}, {32768, 32768},
                            {40000, 32768}, {INT_MAX, 32768}};
    for (const auto& [requested, limit] : cases) {
        EXPECT_EQ(allowedLimit(requested), limit) << requested;
        EXPECT_EQ(needsLargeLimits(limit), limit > 8192) << requested;
    }
}

} // namespace
} // namespace velq
