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

std::array<int, 4> bytes(Rgba p) {
    const auto c = channels(p);
    return {c[0], c[1], c[2], c[3]};
}

TEST(ColourMap, SampleEntriesToTheByte) {
    const Map start = built(0x782);
    EXPECT_EQ(bytes(start[0]), (std::array{211, 128, 44, 255}));
    EXPECT_EQ(bytes(start[1]), (std::array{214, 132, 48, 255}));
    EXPECT_EQ(bytes(start[250]), (std::array{144, 255, 143, 255}));
    EXPECT_EQ(bytes(start[500]), (std::array{44, 128, 211, 255}));
    EXPECT_EQ(bytes(start[1000]), (std::array{211, 127, 44, 255}));
    EXPECT_EQ(bytes(built(0x082)[0]), (std::array{44, 127, 211, 255}));
    EXPECT_EQ(bytes(built(0x784)[0]), (std::array{238, 128, 17, 255}));
    const Map bits = built(0x711);
    EXPECT_EQ(bytes(bits[0]), (std::array{87, 87, 32, 255}));
    EXPECT_EQ(bytes(bits[1000]), (std::array{207, 231, 31, 255}));
    EXPECT_EQ(bits[2000], bits[1000]);
}

TEST(ColourMap, TogglesInvertEveryEntry) {
    const Map plain = built(0x782), inverted = built(0x082);
    for (int i = 0; i <= 2000; ++i) {
        const auto a = channels(plain[i]), b = channels(inverted[i]);
        ASSERT_EQ(a[0] + b[0], 255);
        ASSERT_EQ(a[1] + b[1], 255);
        ASSERT_EQ(a[2] + b[2], 255);
        ASSERT_EQ(b[3], 255);
    }
}

TEST(ColourMap, SecondCopyRepeatsThePeriod) {
    for (int cs : {0x782, 0x711, 0x421, 0x24, 0x0}) {
        const Map m = built(cs);
        for (int i = 1; i <= 1000; ++i)
            ASSERT_EQ(m[1000 + i], m[i]) << std::hex << cs << " " << i;
    }
}

TEST(ColourMap, OverlayPriorities) {
    // Bits 2 and 1: the uniform overlay applies although the button shows b1.
    EXPECT_EQ(built(0x786), built(0x782));
    // None of bits 0..2: no overlay, like b1.
    EXPECT_EQ(built(0x780), built(0x784));
    // Bit pattern with pattern a1: the phase of the b3 overlay uses kP = 2.
    EXPECT_NE(built(0x791), built(0x711));
}

TEST(Recolour, InsideIsBlackAndRotationShiftsColours) {
    const Map m = built(0x782);
    Map work = m;
    const std::vector<std::int16_t> mandel{0, 1, 999, 1000};
    std::vector<Rgba> pixels(4);
    recolour(mandel, pixels, work, 0);
    EXPECT_EQ(pixels[0], rgba(0, 0, 0, 255));
    EXPECT_EQ(pixels[1], m[1]);
    EXPECT_EQ(pixels[3], m[1000]);
    recolour(mandel, pixels, work, 1000);
    EXPECT_EQ(pixels[0], rgba(0, 0, 0, 255));
    EXPECT_EQ(pixels[1], m[1]); // entry 1001 repeats entry 1
    EXPECT_EQ(pixels[3], m[2000]);
    recolour(mandel, pixels, work, 7);
    EXPECT_EQ(pixels[2], m[6]); // 7 + 999 = 1006 repeats entry 6
    EXPECT_EQ(work, m);         // the black entry is gone again
}

TEST(Recolour, AllInsideIsBlackForEveryWordAndRotation) {
    const std::vector<std::int16_t> mandel(64, 0);
    std::vector<Rgba> pixels(64);
    for (int cs : {0x782, 0x082, 0x711})
        for (int cp : {0, 500, 1000}) {
            Map m = built(cs);
            recolour(mandel, pixels, m, cp);
            for (Rgba p : pixels)
                ASSERT_EQ(p, rgba(0, 0, 0, 255));
        }
}

TEST(Rotation, ClampedIntoTheMap) {
    EXPECT_EQ(clampRotation(-1), 0);
    EXPECT_EQ(clampRotation(0), 0);
    EXPECT_EQ(clampRotation(1000), 1000);
    EXPECT_EQ(clampRotation(1001), 1000);
    EXPECT_EQ(clampRotation(2147483647), 1000);
}

TEST(ColourButtons, ShowTheWord) {
    const ColourButtons start = buttonsForWord(0x782);
    EXPECT_FALSE(start.redOn || start.greenOn || start.blueOn);
    EXPECT_EQ(start.patternTag, 8);
    EXPECT_EQ(start.overlayTag, 2);
    EXPECT_TRUE(buttonsForWord(0x082).redOn);
    EXPECT_EQ(buttonsForWord(0x790).patternTag, 8); // a1 wins over the bit pattern
    EXPECT_EQ(buttonsForWord(0x710).patternTag, 1);
    EXPECT_EQ(buttonsForWord(0x700).patternTag, 1);
    EXPECT_EQ(buttonsForWord(0x786).overlayTag, 4);
    EXPECT_EQ(buttonsForWord(0x780).overlayTag, 1);
    EXPECT_EQ(patternTitle(8), "a1");
    EXPECT_EQ(patternTitle(1), "a4");
    EXPECT_EQ(overlayTitle(4), "b1");
    EXPECT_EQ(overlayTitle(1), "b3");
}

TEST(ColourButtons, ComposeAndCycle) {
    EXPECT_EQ(composeColourWord(buttonsForWord(0x782)), 0x782);
    ColourButtons b{false, false, false, 0, 0};
    EXPECT_EQ(composeColourWord(b), 0x784); // tag 0 wraps to a1 and b1
    // Words with stray bits lose them once composed from the buttons.
    EXPECT_EQ(composeColourWord(buttonsForWord(0x78A)), 0x782);
    EXPECT_EQ(composeColourWord(buttonsForWord(0x7D2)), 0x782); // bits 7 and 4: only a1 kept
    // The pattern button halves its tag on each press: a1 a2 a3 a4 a1.
    int tag = 8;
    std::string titles;
    for (int press = 0; press < 5; ++press) {
        tag >>= 1;
        ColourButtons c = buttonsForWord(0x782);
        c.patternTag = tag;
        const ColourButtons shown = buttonsForWord(composeColourWord(c));
        tag = shown.patternTag;
        titles += patternTitle(tag);
    }
    EXPECT_EQ(titles, "a2a3a4a1a2");
}

} // namespace
} // namespace velq
