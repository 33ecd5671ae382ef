// The colour map: built from the colour-settings word, and the recolouring of a picture.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <string_view>

namespace velq {

// One pixel: bytes red, green, blue, alpha in memory order on every processor.
using Rgba = std::uint32_t;

inline Rgba rgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    return std::bit_cast<Rgba>(std::array<std::uint8_t, 4>{r, g, b, a});
}
inline std::array<std::uint8_t, 4> channels(Rgba p) {
    return std::bit_cast<std::array<std::uint8_t, 4>>(p);
}

// 2010 entries: two copies of one period of 1000 colours (entries 0..2000) and nine spare.
inline constexpr int kCmapEntries = 2010;
inline constexpr int kMaxRotation = 1000;

// Bits of the colour-settings word `cs`.
namespace ColourBits {
inline constexpr int OverlayB3 = 0x001; // phase-shifted overlay
inline constexpr int OverlayB2 = 0x002; // uniform overlay
inline constexpr int OverlayB1 = 0x004; // no overlay
inline constexpr int PatternA4 = 0x010; // bit pattern instead of sine waves
inline constexpr int PatternA3 = 0x020;
inline constexpr int PatternA2 = 0x040;
inline constexpr int PatternA1 = 0x080;
inline constexpr int RedKept = 0x100; // a clear channel bit inverts the channel
inline constexpr int GreenKept = 0x200;
inline constexpr int BlueKept = 0x400;
} // namespace ColourBits

// Writes entries 0..2000 of `cmap` for the word `cs`; every entry gets alpha 255.
void buildColourMap(int cs, std::span<Rgba, kCmapEntries> cmap);

// pixels[k] = cmap[cp + mandel[k]], with a count of 0 (inside the set) opaque black.
// The map is back in its built state on return. `cp` must lie in 0..1000.
void recolour(std::span<const std::int16_t> mandel, std::span<Rgba> pixels,
              std::span<Rgba, kCmapEntries> cmap, int cp);

// A rotation from outside (a file, the command line) brought into 0..1000.
int clampRotation(int cp);

// What the five colour buttons show for a word, and the word they compose.
struct ColourButtons {
    bool redOn = false; // a toggle that is on inverts its channel
    bool greenOn = false;
    bool blueOn = false;
    int patternTag = 8; // 8, 4, 2, 1 for a1..a4
    int overlayTag = 4; // 4, 2, 1 for b1..b3
};
ColourButtons buttonsForWord(int cs);
// A tag of 0 stands for the first choice (a1, b1): that is how the buttons cycle round.
int composeColourWord(const ColourButtons& buttons);
std::string_view patternTitle(int patternTag);
std::string_view overlayTitle(int overlayTag);

} // namespace velq
