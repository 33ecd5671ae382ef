// Whole files in and out: what is read, what replaces what, and what is refused.
#include "core/files/filebytes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velq {
namespace {

namespace fs = std::filesystem;

const std::error_condition notRegular(static_cast<int>(FileError::NotRegular), fileErrorCategory());

class FileBytes : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/velq-bytes-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static std::span<const std::uint8_t> bytes(std::string_view s) {
        return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
    }
    static mode_t modeOf(const std::string& p) {
        struct stat info {};
        ::lstat(p.c_str(), &info);
        return info.st_mode;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }
    fs::path dir_;
};

TEST_F(FileBytes, ReadsRegularFilesAndRefusesWhatCouldBlock) {
    std::ofstream(path("a")) << "abc";
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_directory(path("folder"));
    // the file, the kinds taken, the error, the bytes read
    const std::tuple<std::string, FileKinds, std::error_condition, std::string> rows[] = {
        {path("a"), FileKinds::RegularOnly, {}, "abc"},
        {path("fifo"), FileKinds::RegularOnly, notRegular, ""},
        {path("folder"), FileKinds::Streams, notRegular, ""},
        {path("missing"), FileKinds::Streams, std::errc::no_such_file_or_directory, ""},
        {"/dev/null", FileKinds::Streams, {}, ""}};
    for (const auto& [file, kinds, why, got] : rows) {
        std::vector<char> out{'x'};
        EXPECT_EQ(readWholeFile(file, kinds, out), why) << file;
        EXPECT_EQ(std::string(out.begin(), out.end()), got) << file;
    }
}

TEST_F(FileBytes, ANamedPipeOnTheCommandLineWaitsForItsWriter) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::jthread writer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::ofstream(path("fifo")) << "0.25 0 1 1 256 0x782 0\n";
    });
    std::vector<char> out;
    EXPECT_FALSE(readWholeFile(path("fifo"), FileKinds::Streams, out));
    EXPECT_EQ(std::string(out.begin(), out.end()), "0.25 0 1 1 256 0x782 0\n");
}

TEST_F(FileBytes, WritesFollowTheUmaskKeepModesAndGoThroughLinks) {
    const mode_t before = ::umask(077);
    EXPECT_FALSE(writeFileAtomically(path("private"), bytes("1")));
    ::umask(022);
    EXPECT_FALSE(writeFileAtomically(path("shared"), bytes("2")));
    ::umask(before);
    EXPECT_EQ(modeOf(path("private")) & 0777, 0600u);
    EXPECT_EQ(modeOf(path("shared")) & 0777, 0644u);
    ::chmod(path("shared").c_str(), 0640);
    EXPECT_FALSE(writeFileAtomically(path("shared"), bytes("new")));
    EXPECT_EQ(modeOf(path("shared")) & 0777, 0640u);
    EXPECT_EQ(read(path("shared")), "new");
    // A link is written through: it stays, and its target (in another folder) is replaced.
    fs::create_directory(path("sub"));
    fs::create_symlink("sub/target", path("link"));
    EXPECT_FALSE(writeFileAtomically(path("link"), bytes("through")));
    EXPECT_TRUE(fs::is_symlink(path("link")));
    EXPECT_EQ(read(path("sub/target")), "through");
    EXPECT_EQ(entries(), 4u); // private, shared, sub, link: no temporary left behind
}

TEST_F(FileBytes, SpecialFilesAndMissingFoldersAreRefusedUntouched) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", path("null"));
    EXPECT_EQ(writeFileAtomically(path("fifo"), bytes("x")), FileError::NotRegular);
    EXPECT_EQ(writeFileAtomically(path("null"), bytes("x")), FileError::NotRegular);
    EXPECT_EQ(appendToFile(path("fifo"), bytes("x")), FileError::NotRegular); // no reader: no wait
    EXPECT_EQ(appendToFile(path("null"), bytes("x")), FileError::NotRegular);
    EXPECT_TRUE(writeFileAtomically(path("no/such"), bytes("x")) ==
                std::errc::no_such_file_or_directory);
    EXPECT_TRUE(S_ISFIFO(modeOf(path("fifo"))));
    EXPECT_TRUE(fs::is_symlink(path("null")));
    EXPECT_EQ(entries(), 2u);
}

} // namespace
} // namespace velq
