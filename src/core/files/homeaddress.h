// The program's home page, carried in exported pictures and shown by the help alert.
#pragma once

#include <string_view>

namespace velq {

inline constexpr std::string_view kHomeAddress = "https://velquorantisphaeron.example.org/";

} // namespace velq
