#include "ui/win32/paint_controls.h"

#include <algorithm>
#include <string>

#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/win32/wide_text.h"

namespace ui::win32 {

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(int points, bool bold, bool underline, int charset) {
  const auto key = std::make_tuple(points, bold, underline, charset);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontW(
      -MulDiv(points, dpi > 0 ? dpi : 96, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
      underline ? TRUE : FALSE, FALSE, static_cast<DWORD>(charset & 0xFF), OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, font);
  return font;
}

PictureBitmaps::~PictureBitmaps() {
  for (auto& [key, entry] : bitmaps_) DeleteObject(entry.bitmap);
}

HBITMAP PictureBitmaps::For(const PicturePtr& picture) {
  auto it = bitmaps_.find(picture.get());
  if (it != bitmaps_.end()) return it->second.bitmap;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture->width;
  info.bmiHeader.biHeight = -picture->height;  // top row first, as our pixels are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return nullptr;
  auto* out = static_cast<std::uint8_t*>(bits);
  const std::uint8_t* in = picture->rgb.data();
  const std::size_t pixels = static_cast<std::size_t>(picture->width) * picture->height;
  for (std::size_t i = 0; i < pixels; ++i, in += 3, out += 4) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    out[3] = 0;
  }
  bitmaps_.emplace(picture.get(), Entry{picture, bitmap});
  return bitmap;
}

void PictureBitmaps::Prune() {
  for (auto it = bitmaps_.begin(); it != bitmaps_.end();) {
    if (it->second.picture.use_count() == 1) {
      DeleteObject(it->second.bitmap);
      it = bitmaps_.erase(it);
    } else {
      ++it;
    }
  }
}

void DrawImage(HDC dc, const Image& image, PictureBitmaps& bitmaps) {
  const PicturePtr& picture = image.picture();
  if (!picture || picture->width <= 0 || picture->height <= 0) return;
  if (picture->rgb.size() < static_cast<std::size_t>(picture->width) * picture->height * 3) return;
  HBITMAP bitmap = bitmaps.For(picture);
  if (bitmap == nullptr) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  const int w = std::min(image.width(), picture->width);
  const int h = std::min(image.height(), picture->height);
  BitBlt(dc, image.left(), image.top(), w, h, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void DrawPanel(HDC dc, const Panel& panel) {
  const RECT r{panel.left(), panel.top(), panel.left() + panel.width(),
               panel.top() + panel.height()};
  HBRUSH brush = CreateSolidBrush(panel.color());  // both are 0x00BBGGRR
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void DrawFocusFrame(HDC dc, const Control& control) {
  // The system's dotted focus rectangle, two pixels outside the button's own border; it inverts
  // what lies beneath, which on the page's light frame comes out dark.
  const RECT r{control.left() - 2, control.top() - 2, control.left() + control.width() + 2,
               control.top() + control.height() + 2};
  DrawFocusRect(dc, &r);
}

void DrawLabel(HDC dc, const Label& label, FontCache& fonts) {
  const std::wstring text = AnsiToWide(label.caption(), label.fontCharset());
  HGDIOBJ oldFont = SelectObject(
      dc, fonts.Get(label.fontSize(), label.bold(), label.underline(), label.fontCharset()));
  // '&' is shown as it stands, and a line break in a caption starts a new line.
  UINT flags = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;
  if (label.wordWrap()) flags |= DT_WORDBREAK;
  RECT r{label.left(), label.top(), label.left() + label.width(), label.top() + label.height()};
  // An auto-sized label may carry no size of its own: it is as large as its text.
  if (label.width() <= 0 || label.height() <= 0) {
    r.right = r.left;
    r.bottom = r.top;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
  }
  if (!label.transparent()) {
    HBRUSH brush = CreateSolidBrush(label.color());
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, label.fontColor());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  SelectObject(dc, oldFont);
}

}  // namespace ui::win32
