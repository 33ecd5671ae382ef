// The host version class that decides a few details of behaviour.
#pragma once

namespace velq {

// This platform's toolkit counts as a current host: version class 10.3.
inline constexpr double kHostToolkitVersion = 949.0;

// 10.0, 10.1, 10.2 or 10.3 from the floor of the toolkit version number.
double osversionFor(double toolkitVersion);

} // namespace velq
