#include "test_pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <jpeglib.h>

namespace uitest {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = v & 0xFF;
  out[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = (v >> (8 * i)) & 0xFF;
}

}  // namespace

std::vector<std::uint8_t> MakeBmp(int width, int height, int bitCount, bool topDown,
                                  const PixelFn& pixel, const std::vector<Rgb>& palette) {
  const std::size_t stride = ((std::size_t(width) * bitCount + 31) / 32) * 4;
  const std::size_t paletteBytes = bitCount <= 8 ? palette.size() * 4 : 0;
  const std::size_t offset = 14 + 40 + paletteBytes;
  std::vector<std::uint8_t> out(offset + stride * height, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(out.size()));
  Put32(out, 10, static_cast<std::uint32_t>(offset));
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<std::uint32_t>(width));
  Put32(out, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  Put16(out, 26, 1);
  Put16(out, 28, static_cast<std::uint32_t>(bitCount));
  Put32(out, 46, bitCount <= 8 ? static_cast<std::uint32_t>(palette.size()) : 0);
  for (std::size_t i = 0; i < palette.size() && bitCount <= 8; ++i) {
    out[54 + i * 4] = palette[i].b;
    out[54 + i * 4 + 1] = palette[i].g;
    out[54 + i * 4 + 2] = palette[i].r;
  }
  for (int y = 0; y < height; ++y) {
    const int stored = topDown ? y : height - 1 - y;
    std::uint8_t* row = out.data() + offset + stride * stored;
    for (int x = 0; x < width; ++x) {
      const Rgb p = pixel(x, y);
      if (bitCount >= 24) {
        std::uint8_t* q = row + x * (bitCount / 8);
        q[0] = p.b;
        q[1] = p.g;
        q[2] = p.r;
      } else {
        const std::size_t bit = std::size_t(x) * bitCount;
        row[bit / 8] |= static_cast<std::uint8_t>(p.r << (8 - bitCount - bit % 8));
      }
    }
  }
  return out;
}

std::vector<std::uint8_t> MakeJpeg(int width, int height, const PixelFn& pixel, int quality,
                                   JpegKind kind, bool progressive) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = kind == JpegKind::Gray ? 1 : kind == JpegKind::Cmyk ? 4 : 3;
  info.in_color_space = kind == JpegKind::Gray   ? JCS_GRAYSCALE
                        : kind == JpegKind::Cmyk ? JCS_CMYK
                                                 : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row(std::size_t(width) * info.input_components);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb p = pixel(x, y);
      std::uint8_t* q = row.data() + std::size_t(x) * info.input_components;
      if (kind == JpegKind::Gray) {
        q[0] = p.r;
      } else if (kind == JpegKind::Cmyk) {
        // Inverted CMYK with K = 255 - max(R, G, B), as Adobe applications store it.
        const int k = 255 - std::max({p.r, p.g, p.b});
        const int rest = 255 - k;
        q[0] = rest == 0 ? 255 : static_cast<std::uint8_t>(255 - (rest - p.r) * 255 / rest);
        q[1] = rest == 0 ? 255 : static_cast<std::uint8_t>(255 - (rest - p.g) * 255 / rest);
        q[2] = rest == 0 ? 255 : static_cast<std::uint8_t>(255 - (rest - p.b) * 255 / rest);
        q[3] = static_cast<std::uint8_t>(255 - k);
      } else {
        q[0] = p.r;
        q[1] = p.g;
        q[2] = p.b;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

namespace {

// One scratch folder per test process, removed when the process ends.
struct ScratchDir {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("quillon_ui_test_" + std::to_string(std::random_device{}()));
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

std::string TempPath(const std::string& name) {
  static ScratchDir dir;
  std::filesystem::create_directories(dir.path);
  return (dir.path / name).string();
}

}  // namespace uitest
