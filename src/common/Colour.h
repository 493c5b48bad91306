#pragma once
// A colour is a 24-bit value in a signed 32-bit integer, &HBBGGRR: red in the low byte, blue
// in bits 16 to 23 (&HFF is pure red, &HFF0000 pure blue). -1 means no colour chosen.

#include <cstdint>

namespace varst {

using Colour = std::int32_t;

inline constexpr Colour kNoColour = -1;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBlack = 0;

[[nodiscard]] constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(((blue & 0xFF) << 16) | ((green & 0xFF) << 8) | (red & 0xFF));
}
[[nodiscard]] constexpr int RedOf(Colour colour) { return colour & 0xFF; }
[[nodiscard]] constexpr int GreenOf(Colour colour) { return (colour >> 8) & 0xFF; }
[[nodiscard]] constexpr int BlueOf(Colour colour) { return (colour >> 16) & 0xFF; }

}  // namespace varst
