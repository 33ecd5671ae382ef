// The host version classes and their boundaries.
#include "core/host/hostversion.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(HostVersion, ClassesByTheFloorOfTheToolkitVersion) {
    EXPECT_EQ(osversionFor(500), 10.0);
    EXPECT_EQ(osversionFor(577), 10.0);
    EXPECT_EQ(osversionFor(577.9), 10.0);
    EXPECT_EQ(osversionFor(578), 10.1);
    EXPECT_EQ(osversionFor(620), 10.1);
    EXPECT_EQ(osversionFor(621), 10.2);
    EXPECT_EQ(osversionFor(663), 10.2);
    EXPECT_EQ(osversionFor(663.5), 10.2);
    EXPECT_EQ(osversionFor(664), 10.3);
    EXPECT_EQ(osversionFor(kHostToolkitVersion), 10.3);
}

} // namespace
} // namespace velq
