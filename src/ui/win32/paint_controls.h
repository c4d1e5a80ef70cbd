#pragma once

#include <map>
#include <tuple>

#include "ui/picture.h"
#include "ui/win32/win32_api.h"

namespace ui {
class Control;
class Image;
class Label;
class Panel;
}  // namespace ui

namespace ui::win32 {

// Fonts by size, weight, underline and character set, made once and kept for the process; the
// character set is the one the model gives, so the font mapper picks a face that has its letters.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  HFONT Get(int points, bool bold, bool underline, int charset);

 private:
  std::map<std::tuple<int, bool, bool, int>, HFONT> fonts_;
};

// Device-independent bitmaps over our decoded pictures, one per picture, made when the picture is
// first painted; a page change then only blits.
class PictureBitmaps {
 public:
  PictureBitmaps() = default;
  ~PictureBitmaps();
  PictureBitmaps(const PictureBitmaps&) = delete;
  PictureBitmaps& operator=(const PictureBitmaps&) = delete;
  HBITMAP For(const PicturePtr& picture);
  // Forgets the pictures no control holds any more.
  void Prune();

 private:
  struct Entry {
    PicturePtr picture;
    HBITMAP bitmap;
  };
  std::map<const Picture*, Entry> bitmaps_;
};

// Each paints one control on `dc` in window coordinates, clipped to its bounds.
void DrawImage(HDC dc, const Image& image, PictureBitmaps& bitmaps);
void DrawPanel(HDC dc, const Panel& panel);
// The keyboard's mark around a control that shows its focus as a frame.
void DrawFocusFrame(HDC dc, const Control& control);
void DrawLabel(HDC dc, const Label& label, FontCache& fonts);

// The controls' font size: 9 points, as the classic forms' inputs.
constexpr int kControlFontPoints = 9;

}  // namespace ui::win32
