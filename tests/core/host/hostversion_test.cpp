// The host version classes and their boundaries.
#include "core/host/hostversion.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(HostVersion, ClassesByTheFloorOfTheToolkitVersion) {
    const std::pair<double, double> cases[] = {
        {500, 10.0}, {577.9, 10.0}, {578, 10.1}, {620.5, 10.1},
        {621, 10.2}, {663.5, 10.2}, {664, 10.3}, {kHostToolkitVersion, 10.3}};
    for (const auto& [toolkit, host] : cases)
        EXPECT_EQ(osversionFor(toolkit), host) << toolkit;
}

} // namespace
} // namespace velq
