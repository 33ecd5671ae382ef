// Where the help alert sends the user: the manual as installed with the program.
#pragma once

#include <string_view>

// The build names the documentation folder it installs to; without it, the package's place.
#ifndef VELQ_MANUAL_ADDRESS
#define VELQ_MANUAL_ADDRESS "file:///usr/share/doc/velquorantisphaeron/manual.html"
#endif

namespace velq {

// Not the home address of the PNG chunk: saved pictures carry that one unchanged.
inline constexpr std::string_view kManualAddress = VELQ_MANUAL_ADDRESS;

} // namespace velq
