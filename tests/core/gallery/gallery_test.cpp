// The gallery presets: exact values, the complete tag range, usable limits and titles.
#include "core/gallery/gallery.h"
#include "core/view/iterationlimit.h"

#include <bit>
#include <gtest/gtest.h>
#include <set>

namespace velq {
namespace {

// Three places spelled out; every bit of every place and title folded into one number (FNV-1a).
TEST(Gallery, FiftyExactPlacesWithUsableLimitsAndTitles) {
    EXPECT_EQ(galleryPreset(101),
              (MANDAT{-0.0938884202514072, 0.959822827920789, 3.14928e-12, 1024, 0x781, 647}));
    EXPECT_EQ(galleryPreset(129), (MANDAT{-1.9415572168626787, 0.00011265894432500002,
                                          2.8813170229621e-06, 1024, 0x281, 154}));
    EXPECT_EQ(galleryPreset(150),
              (MANDAT{-0.709592582541072, 0.473428274279969, 6.811068e-14, 8192, 0x742, 0}));
    std::uint64_t hash = 14695981039346656037u;
    const auto fold = [&hash](std::uint64_t word) {
        for (int k = 0; k < 8; ++k, word >>= 8)
            hash = (hash ^ (word & 0xFF)) * 1099511628211u;
    };
    std::set<std::string_view> titles;
    int tag = kFirstGalleryTag;
    for (const GalleryPreset& p : galleryPresets()) {
        EXPECT_EQ(p.tag, tag++);
        EXPECT_EQ(galleryPreset(p.tag), p.view);
        EXPECT_TRUE(allowedLimit(p.view.it) == p.view.it && p.view.w > 0) << p.tag;
        EXPECT_TRUE(!p.title.empty() && p.title.size() <= 28) << p.title;
        titles.insert(p.title);
        for (double d : {p.view.x, p.view.y, p.view.w})
            fold(std::bit_cast<std::uint64_t>(d));
        for (std::int32_t n : {p.tag, p.view.it, p.view.cs, p.view.cp})
            fold(static_cast<std::uint32_t>(n));
        for (char c : p.title)
            fold(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(hash, 9615651631404995101u);
    EXPECT_EQ(tag, kLastGalleryTag + 1);
    EXPECT_EQ(titles.size(), 50u);
    for (int outside : {0, 100, 151, -101})
        EXPECT_FALSE(galleryPreset(outside)) << outside;
}

} // namespace
} // namespace velq
