// Colour map entries to the byte, recolouring, and the words the colour buttons show.
#include "core/colour/colormap.h"

#include <gtest/gtest.h>
#include <vector>

namespace velq {
namespace {

using Map = std::array<Rgba, kCmapEntries>;

Map built(int cs) {
    Map m{};
    buildColourMap(cs, m);
    return m;
}

TEST(ColourMap, SampleEntriesToTheByte) {
    struct Case {
        int cs, entry;
        std::array<std::uint8_t, 4> rgba;
    };
    const Case cases[] = {
        {0x782, 0, {211, 128, 44, 255}},    {0x782, 1, {214, 132, 48, 255}},
        {0x782, 250, {144, 255, 143, 255}}, {0x782, 500, {44, 128, 211, 255}},
        {0x782, 1000, {211, 127, 44, 255}}, {0x082, 0, {44, 127, 211, 255}},
        {0x784, 0, {238, 128, 17, 255}},    {0x711, 0, {87, 87, 32, 255}},
        {0x711, 1000, {207, 231, 31, 255}}, {0x711, 2000, {207, 231, 31, 255}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(channels(built(c.cs)[static_cast<std::size_t>(c.entry)]), c.rgba)
            << std::hex << c.cs << std::dec << " entry " << c.entry;
}

TEST(ColourMap, TogglesInvertAndTheSecondCopyRepeatsThePeriod) {
    const Map plain = built(0x782), inverted = built(0x082);
    for (int i = 0; i <= 2000; ++i)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(channels(plain[i])[c] + channels(inverted[i])[c], 255) << i;
    for (int cs : {0x782, 0x711, 0x421, 0x24, 0x0}) {
        const Map m = built(cs);
        for (int i = 1; i <= 1000; ++i)
            ASSERT_EQ(m[1000 + i], m[i]) << std::hex << cs << std::dec << " " << i;
    }
    EXPECT_EQ(built(0x786), built(0x782)); // bits 2 and 1: the uniform overlay applies
    EXPECT_EQ(built(0x780), built(0x784)); // none of bits 0..2: no overlay, as b1
    EXPECT_NE(built(0x791), built(0x711)); // a1's phase in the b3 overlay of the bit pattern
    EXPECT_NE(built(0x741), built(0x721));
}

TEST(Recolour, InsideIsBlackAndTheRotationShiftsTheColours) {
    const Map m = built(0x782);
    Map work = m;
    const std::vector<std::int16_t> mandel{0, 1, 999, 1000};
    std::vector<Rgba> pixels(4);
    const std::pair<int, std::vector<Rgba>> cases[] = {
        {0, {rgba(0, 0, 0), m[1], m[999], m[1000]}},
        {7, {rgba(0, 0, 0), m[8], m[6], m[7]}}, // 7 + 999 = 1006 repeats entry 6
        {1000, {rgba(0, 0, 0), m[1], m[999], m[2000]}},
    };
    for (const auto& [cp, expected] : cases) {
        recolour(mandel, pixels, work, cp);
        EXPECT_EQ(pixels, expected) << cp;
        EXPECT_EQ(work, m) << cp; // the black entry is gone again
    }
    const std::pair<int, int> clamps[] = {
        {-1, 0}, {0, 0}, {1000, 1000}, {1001, 1000}, {2147483647, 1000}};
    for (const auto& [cp, clamped] : clamps)
        EXPECT_EQ(clampRotation(cp), clamped) << cp;
}

TEST(ColourButtons, ShowTheWordComposeItAndCycle) {
    struct Case {
        int cs;
        bool red, green, blue;
        int pattern, overlay, composed;
    };
    const Case cases[] = {
        {0x782, false, false, false, 8, 2, 0x782}, {0x082, true, true, true, 8, 2, 0x082},
        {0x582, false, true, false, 8, 2, 0x582},  {0x382, false, false, true, 8, 2, 0x382},
        {0x790, false, false, false, 8, 1, 0x781}, {0x741, false, false, false, 4, 1, 0x741},
        {0x721, false, false, false, 2, 1, 0x721}, {0x710, false, false, false, 1, 1, 0x711},
        {0x700, false, false, false, 1, 1, 0x711}, {0x786, false, false, false, 8, 4, 0x784},
        {0x78A, false, false, false, 8, 2, 0x782}, {0x7D2, false, false, false, 8, 2, 0x782},
    };
    for (const Case& c : cases) {
        const ColourButtons b = buttonsForWord(c.cs);
        EXPECT_EQ(std::tuple(b.redOn, b.greenOn, b.blueOn, b.patternTag, b.overlayTag),
                  std::tuple(c.red, c.green, c.blue, c.pattern, c.overlay))
            << std::hex << c.cs;
        EXPECT_EQ(composeColourWord(b), c.composed) << std::hex << c.cs;
    }
    EXPECT_EQ(composeColourWord({false, false, false, 0, 0}), 0x784); // tag 0 wraps to a1, b1
    std::string titles;
    for (int tag : {8, 4, 2, 1, 0})
        titles += patternTitle(tag);
    for (int tag : {4, 2, 1})
        titles += overlayTitle(tag);
    EXPECT_EQ(titles, "a1a2a3a4a4b1b2b3");
}

} // namespace
} // namespace velq
