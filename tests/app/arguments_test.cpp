// The window's command line: the last file given counts, "--" ends the options.
#include "app/arguments.h"

#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

TEST(WindowArguments, TheLastFileIsOpenedAndDoubleDashEndsTheOptions) {
    // the arguments; help, version, the file and the error they give
    using Row = std::tuple<std::vector<std::string_view>, bool, bool, std::optional<std::string>,
                           std::string>;
    const Row rows[] = {
        {{}, false, false, std::nullopt, ""},
        {{"a.mdl", "b.png"}, false, false, "b.png", ""},
        {{"--", "-x.mdl", "--help"}, false, false, "--help", ""},
        {{"-h"}, true, false, std::nullopt, ""},
        {{"a.mdl", "--version"}, false, true, "a.mdl", ""},
        {{"-"}, false, false, "-", ""},
        {{"--frobnicate", "a.mdl"}, false, false, std::nullopt, "unknown option '--frobnicate'"},
        {{"o\xff.mdl"}, false, false, "o\xff.mdl", ""},
    };
    for (const auto& [args, help, version, file, error] : rows) {
        const WindowArguments parsed = parseWindowArguments(args);
        EXPECT_EQ(std::tuple(parsed.help, parsed.version, parsed.file, parsed.error),
                  std::tuple(help, version, file, error))
            << (args.empty() ? "(none)" : args.front());
    }
}

} // namespace
} // namespace velq
