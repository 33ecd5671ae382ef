// Reading the window's command line.
#include "app/arguments.h"

namespace velq {

WindowArguments parseWindowArguments(std::span<const std::string_view> args) {
    WindowArguments parsed;
    bool options = true;
    for (const std::string_view arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "-h" || arg == "--help")) {
            parsed.help = true;
        } else if (options && arg == "--version") {
            parsed.version = true;
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            parsed.error = "unknown option '" + std::string(arg) + "'";
            return parsed;
        } else {
            parsed.file = std::string(arg);
        }
    }
    return parsed;
}

} // namespace velq
