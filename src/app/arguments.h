// The window's command line: files to open, --help and --version. Qt's own options have been
// taken out by QApplication before these are read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velq {

struct WindowArguments {
    bool help = false;
    bool version = false;
    // Of several files only the last is opened, as with a drop; its name as the bytes given.
    std::optional<std::string> file;
    std::string error; // an option we do not know, named
};

WindowArguments parseWindowArguments(std::span<const std::string_view> args);

inline constexpr std::string_view kWindowUsage =
    R"(usage: velquorantisphaeron [OPTION...] [FILE...]
Explores the Mandelbrot set in a window. A parameter file (.mdl) or a PNG picture of this
program given as FILE is opened after the start: every view it holds, in turn, as Open does.
Of several files the last one is opened.
  -h, --help     show this help and exit
  --version      show the version and exit
  --             every argument after this is a file
Qt's own options (-platform, -style, ...) are taken as Qt takes them.
)";

} // namespace velq
