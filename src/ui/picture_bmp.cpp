#include <array>
#include <cstdint>
#include <string>

#include "ui/exception.h"
#include "ui/picture.h"
#include "ui/picture_limits.h"

namespace ui {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

[[noreturn]] void Fail(const std::string& why) {
  throw PictureError("Bitmap image is not valid: " + why);
}

// Little-endian readers; every caller has checked the offset against the size first.
std::uint16_t U16(const std::uint8_t* p) {
  return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

struct Header {
  std::uint32_t pixelOffset = 0;
  std::uint32_t infoSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
};

Header ReadHeader(const std::uint8_t* data, std::size_t size) {
  if (size < kFileHeaderSize + kInfoHeaderSize) Fail("too short");
  if (data[0] != 'B' || data[1] != 'M') Fail("no BM signature");
  Header h;
  h.pixelOffset = U32(data + 10);
  const std::uint8_t* info = data + kFileHeaderSize;
  h.infoSize = U32(info);
  // 40 is BITMAPINFOHEADER; 52, 56, 108 and 124 extend it and keep its first 40 bytes.
  if (h.infoSize < kInfoHeaderSize || h.infoSize > size - kFileHeaderSize)
    Fail("bad info header size");
  h.width = static_cast<std::int32_t>(U32(info + 4));
  h.height = static_cast<std::int32_t>(U32(info + 8));
  if (U16(info + 12) != 1) Fail("planes is not 1");
  h.bitCount = U16(info + 14);
  h.compression = U32(info + 16);
  h.colorsUsed = U32(info + 32);
  return h;
}

// Bit fields are accepted when they describe the plain BGRX layout.
void CheckCompression(const Header& h, const std::uint8_t* data, std::size_t size) {
  if (h.compression == kBiRgb) return;
  if (h.compression != kBiBitfields || h.bitCount != 32) Fail("compressed");
  const std::size_t masks = kFileHeaderSize + kInfoHeaderSize;
  if (masks + 12 > size) Fail("truncated colour masks");
  if (U32(data + masks) != 0x00FF0000u || U32(data + masks + 4) != 0x0000FF00u ||
      U32(data + masks + 8) != 0x000000FFu)
    Fail("unsupported colour masks");
}

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

Palette ReadPalette(const Header& h, const std::uint8_t* data, std::size_t size) {
  Palette palette{};  // indices past the stored colours show black
  const std::uint32_t maxColors = 1u << h.bitCount;
  const std::uint32_t count = h.colorsUsed == 0 ? maxColors : h.colorsUsed;
  if (count > maxColors) Fail("too many palette entries");
  const std::size_t start = kFileHeaderSize + h.infoSize;
  if (start + std::size_t(count) * 4 > size) Fail("truncated palette");
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* q = data + start + i * 4;
    palette[i] = {q[2], q[1], q[0]};
  }
  return palette;
}

void DecodeRow(const Header& h, const Palette& palette, const std::uint8_t* src,
               std::uint8_t* dst) {
  const auto width = static_cast<std::size_t>(h.width);
  switch (h.bitCount) {
    case 32:
    case 24: {
      const std::size_t step = h.bitCount / 8;
      for (std::size_t x = 0; x < width; ++x, src += step, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
      }
      break;
    }
    default: {  // 1, 4 or 8 bits of palette index, high bits first
      const unsigned bits = h.bitCount;
      const unsigned mask = (1u << bits) - 1;
      for (std::size_t x = 0; x < width; ++x, dst += 3) {
        const std::size_t bit = x * bits;
        const unsigned shift = 8 - bits - unsigned(bit % 8);
        const auto& colour = palette[(src[bit / 8] >> shift) & mask];
        dst[0] = colour[0];
        dst[1] = colour[1];
        dst[2] = colour[2];
      }
    }
  }
}

}  // namespace

Picture DecodeBmp(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr) Fail("no data");
  const Header h = ReadHeader(data, size);
  const bool topDown = h.height < 0;
  const std::int64_t height = topDown ? -h.height : h.height;
  if (!PictureSizeAllowed(h.width, height)) Fail("bad dimensions");
  if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24 && h.bitCount != 32)
    Fail("unsupported bit count " + std::to_string(h.bitCount));
  CheckCompression(h, data, size);
  Palette palette{};
  if (h.bitCount <= 8) palette = ReadPalette(h, data, size);

  const std::uint64_t stride = ((std::uint64_t(h.width) * h.bitCount + 31) / 32) * 4;
  if (h.pixelOffset < kFileHeaderSize + kInfoHeaderSize || h.pixelOffset > size ||
      stride * std::uint64_t(height) > size - h.pixelOffset)
    Fail("truncated pixel data");

  Picture picture;
  picture.width = static_cast<int>(h.width);
  picture.height = static_cast<int>(height);
  picture.rgb.resize(std::size_t(h.width) * std::size_t(height) * 3);
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t stored = topDown ? row : height - 1 - row;
    const std::uint8_t* src = data + h.pixelOffset + std::size_t(stored) * stride;
    DecodeRow(h, palette, src, picture.rgb.data() + std::size_t(row) * std::size_t(h.width) * 3);
  }
  return picture;
}

}  // namespace ui
