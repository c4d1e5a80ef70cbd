#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace uitest {

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

using PixelFn = std::function<Rgb(int x, int y)>;

// A BMP written the way the classic writers do it: 24- or 32-bit BGR rows padded to 4 bytes,
// or palette indices (1, 4, 8 bits) with the palette taken from `palette`; bottom-up unless
// `topDown`. For palette bitmaps `pixel` gives each pixel's index in its red byte.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bitCount, bool topDown,
                                  const PixelFn& pixel, const std::vector<Rgb>& palette = {});

enum class JpegKind { Rgb, Gray, Cmyk };
// A baseline JPEG from libjpeg's own compressor. For Gray the red byte is the grey level; for
// Cmyk the pixel is converted to Adobe's inverted CMYK first.
std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixel, int quality = 95,
                                   JpegKind kind = JpegKind::Rgb, bool progressive = false);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string TempPath(const std::string& name);

}  // namespace uitest
