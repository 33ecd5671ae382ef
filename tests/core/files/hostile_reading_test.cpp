// Hostile parameter text through the open path: fields at and beyond their ranges, the views
// they give and how both kernels render those; parameter-file appends on a full disk.
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/render/fastkernel.h"
#include "core/render/kernel.h"
#include "core/render/renderworkers.h"

#include <bit>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace velq {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The views that opening a parameter file with this text renders, in order.
std::vector<MANDAT> viewsOf(std::string_view text) {
    const std::span<const char> data(text.data(), text.size());
    ParameterReader reader(data, *parameterTextStart(data, FileKind::Parameters));
    std::vector<MANDAT> views;
    while (const auto line = reader.next())
        views.push_back(viewOf(*line));
    return views;
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

bool sameView(const MANDAT& a, const MANDAT& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.w, b.w) && a.it == b.it &&
           a.cs == b.cs && a.cp == b.cp;
}

struct FieldCase {
    const char* what;
    const char* line;
    MANDAT view;
};

const FieldCase kFieldCases[] = {
    {"not-a-number centre", "nan -nan 1 1 1024 0x782 0", {kNaN, -kNaN, 1, 1024, 0x782, 0}},
    {"infinite centre and width",
     "inf -inf inf 1 1024 0x782 0",
     {kInf, -kInf, kInf, 1024, 0x782, 0}},
    {"largest doubles",
     "1e308 -1e308 1e308 1e308 1024 0x782 0",
     {1e308, -1e308, 1e308, 1024, 0x782, 0}},
    {"beyond the doubles", "1e400 -1e400 1e-400 1 1024 0x782 0", {kInf, -kInf, 0, 1024, 0x782, 0}},
    {"negative zeros", "-0 -0 -0 -0 1024 0x782 -0", {-0.0, -0.0, -0.0, 1024, 0x782, 0}},
    {"limit 0", "0 0 1 1 0 0x782 0", {0, 0, 1, 256, 0x782, 0}},
    {"negative limit", "0 0 1 1 -5 0x782 0", {0, 0, 1, 256, 0x782, 0}},
    {"limit 2^31-1", "0 0 1 1 2147483647 0x782 0", {0, 0, 1, 32768, 0x782, 0}},
    {"limit beyond 32 bits", "0 0 1 1 99999999999 0x782 0", {0, 0, 1, 32768, 0x782, 0}},
    {"colour word of all ones", "0 0 1 1 1024 0xffffffff 0", {0, 0, 1, 1024, -1, 0}},
    // Eight digits make the word; the ninth is read as the rotation, the rest of the line
    // is passed over.
    {"nine hex digits", "0 0 1 1 1024 0x123456789 5", {0, 0, 1, 1024, 0x12345678, 9}},
    {"rotation -1", "0 0 1 1 1024 0x782 -1", {0, 0, 1, 1024, 0x782, 0}},
    {"rotation 1001", "0 0 1 1 1024 0x782 1001", {0, 0, 1, 1024, 0x782, 1000}},
    {"rotation 2^31-1", "0 0 1 1 1024 0x782 2147483647", {0, 0, 1, 1024, 0x782, 1000}},
};

TEST(HostileFields, ReadAsTheViewsTheyStandFor) {
    for (const FieldCase& c : kFieldCases) {
        const std::vector<MANDAT> views = viewsOf(c.line);
        ASSERT_EQ(views.size(), 1u) << c.what;
        EXPECT_TRUE(sameView(views[0], c.view)) << c.what;
    }
}

TEST(HostileFields, RenderToTheEndAlikeWithBothKernels) {
    for (const FieldCase& c : kFieldCases) {
        const MANDAT v = viewsOf(c.line).at(0);
        const KernelFrame f = KernelFrame::of({v.x, v.y, floorWidth(v.w), v.it, v.cs, v.cp}, 32, 32,
                                              iterationLimitInForce(v));
        std::vector<std::int16_t> plain(32 * 32, -1), fast(32 * 32, -2);
        EXPECT_EQ(referenceRows(f, 0, 32, 1, plain.data()), fastRows(f, 0, 32, 1, fast.data()))
            << c.what;
        EXPECT_EQ(plain, fast) << c.what;
    }
}

// Lowers the largest file this process may write, as a full disk would: a write beyond it
// stores what fits and fails (EFBIG), and SIGXFSZ is ignored so that it does not end the test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uintmax_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = old_;
        lower.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ParameterFileOnAFullDisk, AFailedAppendLeavesOnlyTheOldLines) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("velq-full-disk-" + std::to_string(::getpid()) + ".mdl");
    std::filesystem::remove(path);
    ASSERT_TRUE(appendParameterLine(path, kStartView, 4.0 / 3.0));
    ASSERT_TRUE(appendParameterLine(path, {-0.75, 0.1, 0.25, 2048, 0x742, 300}, 1.25));
    const std::string before = readFile(path);
    const MANDAT next{0.3, -0.2, 0.01, 512, 0x782, 7};
    const std::string line = parameterLine(next, 1.0);
    for (const std::size_t room :
         {std::size_t{0}, std::size_t{1}, std::size_t{40}, line.size() - 1}) {
        {
            const FileSizeLimit full(before.size() + room);
            EXPECT_FALSE(appendParameterLine(path, next, 1.0)) << room;
        }
        EXPECT_EQ(readFile(path), before) << "with room for " << room << " bytes";
    }
    EXPECT_TRUE(appendParameterLine(path, next, 1.0));
    EXPECT_EQ(readFile(path), before + line);
    std::filesystem::remove(path);
}

} // namespace
} // namespace velq
