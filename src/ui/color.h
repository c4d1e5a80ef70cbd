#pragma once

#include <cstdint>

namespace ui {

// Colours are stored as the classic 0x00BBGGRR value: red is 255 and the main window's cream
// RGB(255, 251, 240) is 15793151, the numbers the skin and the page logic use.
using Color = std::uint32_t;

constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr std::uint8_t RedOf(Color c) { return c & 0xFF; }
constexpr std::uint8_t GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(Color c) { return (c >> 16) & 0xFF; }

constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kBlack = Rgb(0, 0, 0);

enum class Cursor { Arrow, HourGlass, HandPoint };

}  // namespace ui
