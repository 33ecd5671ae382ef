// Colour map entries to the byte, recolouring, and the words the colour buttons show.
#include "core/colour/colormap.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

using Map = std::array<Rgba, kCmapEntries>;

Map built(int cs) {
    Map m{};
    buildColourMap(cs, m);
    return m;
}

TEST(ColourMap, SampleEntriesToTheByteAndTheOverlayBits) {
    const int cases[][5] = {
        {0x782, 0, 211, 128, 44},    {0x782, 1, 214, 132, 48},    {0x782, 250, 144, 255, 143},
        {0x782, 500, 44, 128, 211},  {0x782, 1000, 211, 127, 44}, {0x082, 0, 44, 127, 211},
        {0x784, 0, 238, 128, 17},    {0x711, 0, 87, 87, 32},      {0x711, 1000, 207, 231, 31},
        {0x711, 2000, 207, 231, 31}, {0x784, 30, 224, 151, 7}, // each wave's amplitude shows
    };
    for (const auto& [cs, entry, r, g, b] : cases) {
        const auto c = channels(built(cs)[static_cast<std::size_t>(entry)]);
        EXPECT_EQ((std::array{c[0] + 0, c[1] + 0, c[2] + 0, c[3] + 0}), (std::array{r, g, b, 255}))
            << std::hex << cs << std::dec << " entry " << entry;
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
    std::vector<Rgba> pixels(5, 7); // one more than the counts: it keeps its 7
    const std::pair<int, std::vector<Rgba>> cases[] = {
        {0, {rgba(0, 0, 0), m[1], m[999], m[1000], 7}},
        {7, {rgba(0, 0, 0), m[8], m[6], m[7], 7}}, // 7 + 999 = 1006 repeats entry 6
        {1000, {rgba(0, 0, 0), m[1], m[999], m[2000], 7}},
    };
    for (const auto& [cp, expected] : cases) {
        recolour(mandel, pixels, work, cp);
        EXPECT_EQ(pixels, expected) << cp;
        EXPECT_EQ(work, m) << cp; // the black entry is gone again
    }
    const int clamps[][2] = {{-1, 0}, {0, 0}, {1000, 1000}, {1001, 1000}, {2147483647, 1000}};
    for (const auto& [cp, clamped] : clamps)
        EXPECT_EQ(clampRotation(cp), clamped) << cp;
}

TEST(ColourButtons, ShowTheWordComposeItAndCycle) {
    // The word, then the buttons: red, green and blue on, the pattern's and the overlay's tags;
    // then the word the buttons compose.
    const int cases[][7] = {
        {0x782, 0, 0, 0, 8, 2, 0x782}, {0x082, 1, 1, 1, 8, 2, 0x082}, {0x582, 0, 1, 0, 8, 2, 0x582},
        {0x382, 0, 0, 1, 8, 2, 0x382}, {0x790, 0, 0, 0, 8, 1, 0x781}, {0x741, 0, 0, 0, 4, 1, 0x741},
        {0x721, 0, 0, 0, 2, 1, 0x721}, {0x710, 0, 0, 0, 1, 1, 0x711}, {0x700, 0, 0, 0, 1, 1, 0x711},
        {0x786, 0, 0, 0, 8, 4, 0x784}, {0x78A, 0, 0, 0, 8, 2, 0x782}, {0x7D2, 0, 0, 0, 8, 2, 0x782},
    };
    for (const auto& [cs, red, green, blue, pattern, overlay, composed] : cases) {
        const ColourButtons b = buttonsForWord(cs);
        EXPECT_EQ(std::tuple(b.redOn, b.greenOn, b.blueOn, b.patternTag, b.overlayTag),
                  std::tuple(red == 1, green == 1, blue == 1, pattern, overlay))
            << std::hex << cs;
        EXPECT_EQ(composeColourWord(b), composed) << std::hex << cs;
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
