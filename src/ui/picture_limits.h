#pragma once

#include <cstdint>

namespace ui {

// Skin pictures are at most a screen or two; anything far larger is a damaged or hostile header,
// refused before a single pixel is allocated.
constexpr std::int64_t kMaxPictureSide = 16384;
constexpr std::int64_t kMaxPicturePixels = std::int64_t(32) << 20;

constexpr bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace ui
