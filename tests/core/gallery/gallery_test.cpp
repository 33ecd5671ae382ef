// The gallery presets: exact values, complete tag range, usable limits and titles.
#include "core/gallery/gallery.h"
#include "core/view/iterationlimit.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

namespace velq {
namespace {

double parsed(const char* text) {
    return std::strtod(text, nullptr);
}

TEST(Gallery, PresetsAreBitExact) {
    struct Case {
        int tag;
        const char *x, *y, *w;
        int it, cs, cp;
    };
    const Case cases[] = {
        {101, "-0.0938884202514072", "0.959822827920789", "3.14928e-12", 1024, 0x781, 647},
        {104, "-1.5694781029500002", "2e-08", "3e-06", 1024, 0x741, 470},
        {112, "-0.10521917839248975", "0.9255596921096246", "0.003303912992278735", 1024, 0x142,
         497},
        {129, "-1.9415572168626787", "0.00011265894432500002", "2.8813170229621e-06", 1024, 0x281,
         154},
        {134, "-0.21760623169865784", "-1.1143494304450126", "1.9179194e-13", 2048, 0x741, 709},
        {138, "0.37404922464420437", "0.30761553394124014", "0.0002744070296424897", 1024, 0x781,
         0},
        {146, "0.253215789794922", "0.000292358398437505", "1.007080078125e-05", 8192, 0x782, 528},
        {150, "-0.709592582541072", "0.473428274279969", "6.811068e-14", 8192, 0x742, 0},
    };
    for (const Case& c : cases) {
        const std::optional<MANDAT> v = galleryPreset(c.tag);
        ASSERT_TRUE(v) << c.tag;
        EXPECT_EQ(*v, mkMandat(parsed(c.x), parsed(c.y), parsed(c.w), c.it, c.cs, c.cp)) << c.tag;
    }
}

TEST(Gallery, TagsOutsideTheRangeGiveNothing) {
    for (int tag : {0, 3, 100, 151, -101})
        EXPECT_FALSE(galleryPreset(tag)) << tag;
}

TEST(Gallery, AllFiftyPresentWithUsableLimitsAndTitles) {
    std::set<std::string_view> titles;
    int expectedTag = kFirstGalleryTag;
    for (const GalleryPreset& p : galleryPresets()) {
        EXPECT_EQ(p.tag, expectedTag++);
        EXPECT_EQ(galleryPreset(p.tag), p.view);
        EXPECT_EQ(allowedLimit(p.view.it), p.view.it) << p.tag;
        EXPECT_GT(p.view.w, 0.0) << p.tag;
        EXPECT_FALSE(p.title.empty());
        EXPECT_LE(p.title.size(), 28u) << p.title;
        titles.insert(p.title);
    }
    EXPECT_EQ(expectedTag, kLastGalleryTag + 1);
    EXPECT_EQ(titles.size(), 50u);
}

} // namespace
} // namespace velq
