// The iteration limits a view may have: powers of two from 256 to 32768.
#pragma once

namespace velq {

inline constexpr int kMinIterations = 256;
inline constexpr int kMaxIterations = 32768;
// The largest limit the Iteration submenus offer before the two large items are added.
inline constexpr int kLargestStandardLimit = 8192;

// The smallest allowed limit not below `requested`; 32768 for anything above 16384.
int allowedLimit(int requested);

// Whether the Iteration submenus need their items for 16384 and 32768 to show `limit`.
inline bool needsLargeLimits(int limit) {
    return limit > kLargestStandardLimit;
}

} // namespace velq
