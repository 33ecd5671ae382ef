// Rounding of requested iteration limits, including the ends of the int range.
#include "core/view/iterationlimit.h"

#include <climits>
#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(IterationLimit, RoundsUpToAnAllowedPowerOfTwo) {
    struct Case {
        int requested;
        int limit;
    };
    const Case cases[] = {
        {INT_MIN, 256}, {-5, 256},      {0, 256},       {1, 256},         {256, 256},
        {257, 512},     {512, 512},     {513, 1024},    {1000, 1024},     {1024, 1024},
        {1025, 2048},   {2048, 2048},   {2049, 4096},   {3000, 4096},     {4096, 4096},
        {4097, 8192},   {8192, 8192},   {8193, 16384},  {16384, 16384},   {16385, 32768},
        {32768, 32768}, {32769, 32768}, {40000, 32768}, {INT_MAX, 32768},
    };
    for (const Case& c : cases)
        EXPECT_EQ(allowedLimit(c.requested), c.limit) << c.requested;
}

TEST(IterationLimit, OnlyLimitsAbove8192NeedTheLargeItems) {
    EXPECT_FALSE(needsLargeLimits(allowedLimit(8192)));
    EXPECT_TRUE(needsLargeLimits(allowedLimit(8193)));
    EXPECT_TRUE(needsLargeLimits(allowedLimit(40000)));
    EXPECT_FALSE(needsLargeLimits(allowedLimit(-1)));
}

} // namespace
} // namespace velq
