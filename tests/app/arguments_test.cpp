// The window's command line: the last file given counts, "--" ends the options.
#include "app/arguments.h"

#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

TEST(WindowArguments, TheLastFileIsOpenedAndDoubleDashEndsTheOptions) {
    struct Row {
        std::vector<std::string_view> args;
        bool help, version;
        std::optional<std::string> file;
        std::string error;
    } rows[] = {
        {{}, false, false, std::nullopt, ""},
        {{"a.mdl", "b.png"}, false, false, "b.png", ""},
        {{"--", "-x.mdl", "--help"}, false, false, "--help", ""},
        {{"-h"}, true, false, std::nullopt, ""},
        {{"a.mdl", "--version"}, false, true, "a.mdl", ""},
        {{"-"}, false, false, "-", ""},
        {{"--frobnicate", "a.mdl"}, false, false, std::nullopt, "unknown option '--frobnicate'"},
        {{"o\xff.mdl"}, false, false, "o\xff.mdl", ""},
    };
    for (const Row& row : rows) {
        const WindowArguments parsed = parseWindowArguments(row.args);
        const std::string name = row.args.empty() ? "(none)" : std::string(row.args.front());
        EXPECT_EQ(parsed.help, row.help) << name;
        EXPECT_EQ(parsed.version, row.version) << name;
        EXPECT_EQ(parsed.file, row.file) << name;
        EXPECT_EQ(parsed.error, row.error) << name;
    }
}

} // namespace
} // namespace velq
