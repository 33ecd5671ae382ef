// Building the colour map from the settings word and mapping counts through it.
#include "core/colour/colormap.h"

#include <algorithm>
#include <cmath>

namespace velq {
namespace {

// The map's own value of pi: the colours of saved pictures depend on it.
constexpr double kPi = 3.1415926;

struct Pattern {
    double kP, kR, kG, kB;
};

Pattern patternFor(int cs) {
    if (cs & ColourBits::PatternA1) return {2, 1, 1, 1};
    if (cs & ColourBits::PatternA2) return {1, 2, 2, 2};
    if (cs & ColourBits::PatternA3) return {1, 1, 4, 16};
    return {1, 2, 2, 2};
}

std::uint8_t quantise(double v) {
    if (v < 0.0) return 0;
    if (v > 255.0) return 255;
    return static_cast<std::uint8_t>(v);
}

Rgba baseColour(int cs, int i) {
    const Pattern k = patternFor(cs);
    const double t = i * kPi;
    const double x = t * 9 / 500;
    const double P = k.kP * kPi;
    double red, green, blue;
    if (cs & ColourBits::PatternA4) {
        red = (i & 0x38) * 4;
        green = i & 0xC0;
        blue = (i & 7) * 32;
    } else {
        red = 128 * std::sin(k.kR * t / 500 + P / 3) + 128;
        green = 128 * std::sin(k.kG * t / 500) + 128;
        blue = 128 * std::sin(k.kB * t / 500 + 2 * P / 3) + 128;
    }
    if (cs & ColourBits::OverlayB2) {
        const double o = 64 * std::sin(x) + 32;
        red = red * 0.75 + o;
        green = green * 0.75 + o;
        blue = blue * 0.75 + o;
    } else if (cs & ColourBits::OverlayB3) {
        blue = blue * 0.75 + 64 * std::sin(x) + 32;
        green = green * 0.75 + 64 * std::sin(x + P / 3) + 32;
        red = red * 0.75 + 64 * std::sin(x + 2 * P / 3) + 32;
    }
    std::uint8_t r = quantise(red), g = quantise(green), b = quantise(blue);
    if (!(cs & ColourBits::RedKept)) r = static_cast<std::uint8_t>(255 - r);
    if (!(cs & ColourBits::GreenKept)) g = static_cast<std::uint8_t>(255 - g);
    if (!(cs & ColourBits::BlueKept)) b = static_cast<std::uint8_t>(255 - b);
    return rgba(r, g, b, 255);
}

} // namespace

void buildColourMap(int cs, std::span<Rgba, kCmapEntries> cmap) {
    // Two copies of the period, so any 1001 entries from 0..1000 on need no wrap; entry 1000
    // is written twice and ends as c(1000).
    for (int i = 0; i <= kMaxRotation; ++i) {
        const Rgba c = baseColour(cs, i);
        cmap[static_cast<std::size_t>(i + kMaxRotation)] = c;
        cmap[static_cast<std::size_t>(i)] = c;
    }
}

void recolour(std::span<const std::int16_t> mandel, std::span<Rgba> pixels,
              std::span<Rgba, kCmapEntries> cmap, int cp) {
    // A black entry at cp spares the loop a test for inside points (count 0).
    const Rgba kept = cmap[static_cast<std::size_t>(cp)];
    cmap[static_cast<std::size_t>(cp)] = rgba(0, 0, 0, 255);
    const Rgba* table = cmap.data() + cp;
    const std::size_t n = std::min(mandel.size(), pixels.size());
    for (std::size_t k = 0; k < n; ++k)
        pixels[k] = table[mandel[k]];
    cmap[static_cast<std::size_t>(cp)] = kept;
}

int clampRotation(int cp) {
    return std::clamp(cp, 0, kMaxRotation);
}

ColourButtons buttonsForWord(int cs) {
    ColourButtons b;
    b.blueOn = !(cs & ColourBits::BlueKept);
    b.greenOn = !(cs & ColourBits::GreenKept);
    b.redOn = !(cs & ColourBits::RedKept);
    b.patternTag = (cs & ColourBits::PatternA1)   ? 8
                   : (cs & ColourBits::PatternA2) ? 4
                   : (cs & ColourBits::PatternA3) ? 2
                                                  : 1;
    b.overlayTag = (cs & ColourBits::OverlayB1) ? 4 : (cs & ColourBits::OverlayB2) ? 2 : 1;
    return b;
}

int composeColourWord(const ColourButtons& b) {
    int word = 0;
    if (!b.blueOn) word |= ColourBits::BlueKept;
    if (!b.greenOn) word |= ColourBits::GreenKept;
    if (!b.redOn) word |= ColourBits::RedKept;
    word |= b.patternTag == 0 ? ColourBits::PatternA1 : (b.patternTag << 4);
    word |= b.overlayTag == 0 ? ColourBits::OverlayB1 : b.overlayTag;
    return word;
}

std::string_view patternTitle(int tag) {
    switch (tag) {
    case 8:
        return "a1";
    case 4:
        return "a2";
    case 2:
        return "a3";
    default:
        return "a4";
    }
}

std::string_view overlayTitle(int tag) {
    switch (tag) {
    case 4:
        return "b1";
    case 2:
        return "b2";
    default:
        return "b3";
    }
}

} // namespace velq
