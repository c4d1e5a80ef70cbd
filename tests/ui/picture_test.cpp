// Picture decoding against pictures made here, damaged input, file loading and the cache.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "test_pictures.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/headless/headless_backend.h"
#include "ui/image.h"
#include "ui/picture.h"
#include "ui/picture_cache.h"

namespace {

using uitest::JpegKind;
using uitest::MakeBmp;
using uitest::MakeJpeg;
using uitest::Rgb;

Rgb PixelOf(const ui::Picture& p, int x, int y) {
  const std::uint8_t* q = p.rgb.data() + (std::size_t(y) * p.width + x) * 3;
  return {q[0], q[1], q[2]};
}

// A pattern in which every pixel differs, so a flipped or shifted row shows.
Rgb Pattern(int x, int y) {
  return {static_cast<std::uint8_t>(x * 40 + 5), static_cast<std::uint8_t>(y * 50 + 7),
          static_cast<std::uint8_t>((x + y) * 9 + 100)};
}

struct BmpCase {
  int bitCount;
  bool topDown;
  int width;
  int height;
};

TEST(DecodeBmp, TrueColourRowsAndPadding) {
  // Widths 1, 3 and 5 leave 1 to 3 bytes of padding per 24-bit row.
  const BmpCase cases[] = {{24, false, 3, 2}, {24, true, 3, 2},  {24, false, 1, 4},
                           {24, false, 5, 3}, {32, false, 3, 2}, {32, true, 2, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.bitCount) + (c.topDown ? " top-down " : " bottom-up ") +
                 std::to_string(c.width) + "x" + std::to_string(c.height));
    const auto bytes = MakeBmp(c.width, c.height, c.bitCount, c.topDown, Pattern);
    const ui::Picture p = ui::DecodeBmp(bytes.data(), bytes.size());
    ASSERT_EQ(p.width, c.width);
    ASSERT_EQ(p.height, c.height);
    ASSERT_EQ(p.rgb.size(), std::size_t(c.width * c.height * 3));
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) EXPECT_EQ(PixelOf(p, x, y), Pattern(x, y)) << x << "," << y;
  }
}

TEST(DecodeBmp, PaletteBitmaps) {
  const std::vector<Rgb> palette = {{0, 0, 0},   {255, 0, 0},     {0, 255, 0},
                                    {0, 0, 255}, {255, 251, 240}, {10, 20, 30}};
  const BmpCase cases[] = {{8, false, 7, 3}, {8, true, 4, 2}, {4, false, 5, 3}, {1, false, 11, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bitCount);
    const int colours = c.bitCount == 1 ? 2 : 6;
    auto index = [&](int x, int y) {
      return Rgb{static_cast<std::uint8_t>((x + 2 * y) % colours), 0, 0};
    };
    const std::vector<Rgb> used(palette.begin(), palette.begin() + colours);
    const auto bytes = MakeBmp(c.width, c.height, c.bitCount, c.topDown, index, used);
    const ui::Picture p = ui::DecodeBmp(bytes.data(), bytes.size());
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) EXPECT_EQ(PixelOf(p, x, y), palette[index(x, y).r]);
  }
}

std::vector<std::uint8_t> Patch32(std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
  return b;
}

TEST(DecodeBmp, DamagedFilesThrow) {
  const auto good = MakeBmp(4, 4, 24, false, Pattern);
  const auto pal = MakeBmp(4, 4, 8, false,
                           [](int, int) {
                             return Rgb{1, 0, 0};
                           },
                           {{0, 0, 0}, {9, 9, 9}});
  struct Damage {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  auto truncated = good;
  truncated.resize(good.size() - 1);
  auto badMagic = good;
  badMagic[0] = 'X';
  auto rle = Patch32(good, 30, 1);
  auto bits16 = good;
  bits16[28] = 16;
  const Damage cases[] = {
      {"empty", {}},
      {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 20)},
      {"pixels cut short", truncated},
      {"no BM", badMagic},
      {"100000 x 100000", Patch32(Patch32(good, 18, 100000), 22, 100000)},
      {"zero width", Patch32(good, 18, 0)},
      {"most negative height", Patch32(good, 22, 0x80000000u)},
      {"pixel offset past the end", Patch32(good, 10, 0xFFFFFFF0u)},
      {"info size past the end", Patch32(good, 14, 0x7FFFFFFFu)},
      {"info size too small", Patch32(good, 14, 12)},
      {"RLE compression", rle},
      {"16 bits", bits16},
      {"palette larger than the bit count allows", Patch32(pal, 46, 300)},
      {"palette past the end", Patch32(pal, 46, 256)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(ui::DecodeBmp(c.bytes.data(), c.bytes.size()), ui::PictureError);
  }
}

TEST(DecodeJpeg, ColourGreyAndCmyk) {
  // Four flat quadrants survive JPEG compression nearly exactly away from their edges.
  auto quadrants = [](int x, int y) {
    if (y < 16) return x < 16 ? Rgb{255, 0, 0} : Rgb{0, 255, 0};
    return x < 16 ? Rgb{0, 0, 255} : Rgb{255, 251, 240};
  };
  auto grey = [](int x, int) { return Rgb{static_cast<std::uint8_t>(x < 16 ? 40 : 200), 0, 0}; };
  struct Case {
    const char* name;
    JpegKind kind;
    bool progressive;
  } cases[] = {{"baseline", JpegKind::Rgb, false},
               {"progressive", JpegKind::Rgb, true},
               {"grey", JpegKind::Gray, false},
               {"cmyk", JpegKind::Cmyk, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool isGrey = c.kind == JpegKind::Gray;
    const auto bytes =
        MakeJpeg(32, 32, isGrey ? uitest::PixelFn(grey) : quadrants, 100, c.kind, c.progressive);
    const ui::Picture p = ui::DecodeJpeg(bytes.data(), bytes.size());
    ASSERT_EQ(p.width, 32);
    ASSERT_EQ(p.height, 32);
    for (auto [x, y] : {std::pair{4, 4}, {27, 4}, {4, 27}, {27, 27}}) {
      const Rgb want = isGrey ? Rgb{grey(x, y).r, grey(x, y).r, grey(x, y).r} : quadrants(x, y);
      const Rgb got = PixelOf(p, x, y);
      EXPECT_NEAR(got.r, want.r, 6) << x << "," << y;
      EXPECT_NEAR(got.g, want.g, 6) << x << "," << y;
      EXPECT_NEAR(got.b, want.b, 6) << x << "," << y;
    }
  }
}

TEST(DecodeJpeg, DamagedFilesThrow) {
  const auto good = MakeJpeg(64, 48, Pattern, 90);
  ASSERT_NO_THROW(ui::DecodeJpeg(good.data(), good.size()));
  auto body = good;
  // Overwrite the middle of the entropy-coded data with markers that cannot appear there.
  for (std::size_t i = good.size() / 2; i < good.size() / 2 + 16; i += 2) {
    body[i] = 0xFF;
    body[i + 1] = 0xD9 - 8;  // RST0..RST7 out of sequence
  }
  auto hugeHeader = good;
  for (std::size_t i = 0; i + 8 < hugeHeader.size(); ++i) {
    if (hugeHeader[i] == 0xFF && hugeHeader[i + 1] == 0xC0) {  // SOF0: height, width at +5, +7
      hugeHeader[i + 5] = 0xFF;
      hugeHeader[i + 7] = 0xFF;
      break;
    }
  }
  struct Damage {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"signature only", {0xFF, 0xD8, 0xFF}},
      {"cut in the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 100)},
      {"cut in the pixels", std::vector<std::uint8_t>(good.begin(), good.end() - good.size() / 3)},
      {"not a JPEG", MakeBmp(4, 4, 24, false, Pattern)},
      {"bad markers in the data", body},
      {"65535 x 65535", hugeHeader},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(ui::DecodeJpeg(c.bytes.data(), c.bytes.size()), ui::PictureError);
  }
}

class PictureFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::PictureCache::Instance().Clear(); }
  void TearDown() override { ui::PictureCache::Instance().Clear(); }
};

TEST_F(PictureFileTest, ExtensionPicksTheDecoder) {
  const std::string jpg = uitest::TempPath("Back.JPG");
  const std::string bmp = uitest::TempPath("next.Bmp");
  const std::string jpegAsBmp = uitest::TempPath("wrong.bmp");
  const std::string gif = uitest::TempPath("pic.gif");
  const auto jpegBytes = MakeJpeg(8, 8, Pattern);
  uitest::WriteFile(jpg, jpegBytes);
  uitest::WriteFile(bmp, MakeBmp(2, 2, 24, false, Pattern));
  uitest::WriteFile(jpegAsBmp, jpegBytes);
  uitest::WriteFile(gif, jpegBytes);
  EXPECT_EQ(ui::LoadPictureFile(jpg).width, 8);
  EXPECT_EQ(PixelOf(ui::LoadPictureFile(bmp), 1, 1), Pattern(1, 1));
  EXPECT_THROW(ui::LoadPictureFile(jpegAsBmp), ui::PictureError);
  EXPECT_THROW(ui::LoadPictureFile(gif), ui::PictureError);
  EXPECT_THROW(ui::LoadPictureFile(uitest::TempPath("missing.jpg")), ui::PictureError);
  EXPECT_THROW(ui::LoadPictureFile(""), ui::PictureError);
}

TEST_F(PictureFileTest, CacheDecodesEachFileOnce) {
  auto& cache = ui::PictureCache::Instance();
  const std::string path = uitest::TempPath("bg.bmp");
  uitest::WriteFile(path, MakeBmp(3, 3, 24, false, Pattern));
  const auto decodesBefore = cache.decodeCount();
  const ui::PicturePtr first = cache.Get(path);
  const ui::PicturePtr second = cache.Get(path);
  EXPECT_EQ(first, second);
  EXPECT_EQ(cache.decodeCount() - decodesBefore, 1u);
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_THROW(cache.Get(uitest::TempPath("absent.bmp")), ui::PictureError);
  EXPECT_EQ(cache.size(), 1u);  // failures are not kept
  cache.Clear();
  EXPECT_NE(cache.Get(path), first);
  EXPECT_EQ(cache.decodeCount() - decodesBefore, 3u);
}

TEST_F(PictureFileTest, ImageSizesToItsPictureAndKeepsItOnFailure) {
  auto app = ui::headless::MakeHeadlessApplication();
  ui::Form form(*app, "frm");
  auto& img = form.Add<ui::Image>("imgNextBT");
  img.SetBounds(40, 50, 1, 1);
  const std::string path = uitest::TempPath("nextbt.jpg");
  uitest::WriteFile(path, MakeJpeg(24, 10, Pattern));
  img.LoadPicture(path);
  EXPECT_EQ(img.width(), 24);
  EXPECT_EQ(img.height(), 10);
  EXPECT_EQ(img.left(), 40);
  EXPECT_EQ(img.picturePath(), path);
  const ui::PicturePtr before = img.picture();
  EXPECT_THROW(img.LoadPicture(uitest::TempPath("gone.jpg")), ui::PictureError);
  EXPECT_EQ(img.picture(), before);
  EXPECT_EQ(img.picturePath(), path);
}

}  // namespace

namespace {

TEST_F(PictureFileTest, AJpegIsCheckedAtLoadAndDecodedWhenFirstNeeded) {
  auto app = ui::headless::MakeHeadlessApplication();
  ui::Form form(*app, "frm");
  auto& img = form.Add<ui::Image>("imgPowerLinkBG");
  auto& cache = ui::PictureCache::Instance();
  const std::string path = uitest::TempPath("power.jpg");
  const std::vector<std::uint8_t> jpeg = MakeJpeg(32, 16, Pattern);
  uitest::WriteFile(path, jpeg);

  const auto decodesBefore = cache.decodeCount();
  img.LoadPicture(path);
  EXPECT_EQ(img.width(), 32);
  EXPECT_EQ(img.height(), 16);
  EXPECT_EQ(cache.decodeCount(), decodesBefore) << "a hidden page's picture was decoded at load";
  ASSERT_TRUE(img.picture());
  EXPECT_EQ(cache.decodeCount(), decodesBefore + 1);
  img.picture();
  EXPECT_EQ(cache.decodeCount(), decodesBefore + 1);

  // Sound headers but damaged pixel data: the load succeeds, the picture then shows nothing.
  const std::string damaged = uitest::TempPath("damaged.jpg");
  std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 2 / 3);
  uitest::WriteFile(damaged, cut);
  auto& other = form.Add<ui::Image>("imgEthernetLinkBG");
  other.LoadPicture(damaged);
  EXPECT_EQ(other.width(), 32);
  EXPECT_FALSE(other.picture());
  EXPECT_FALSE(other.picture());

  // A file whose headers do not decode is refused at load, as a missing one is.
  const std::string headless = uitest::TempPath("noheader.jpg");
  uitest::WriteFile(headless, std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20));
  EXPECT_THROW(other.LoadPicture(headless), ui::PictureError);
  EXPECT_EQ(other.picturePath(), damaged);
}

}  // namespace
