#include "ui/fltk/draw_controls.h"

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/ansi_text.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"

namespace ui::fltk {

namespace {

void SetColor(Color c) {
  fl_color(RedOf(c), GreenOf(c), BlueOf(c));
}

// Classic progress bars fill with navy blocks on a sunken white field.
constexpr Color kBarFill = Rgb(0, 0, 128);

}  // namespace

PictureImages::PictureImages() = default;
PictureImages::~PictureImages() = default;

Fl_RGB_Image& PictureImages::For(const PicturePtr& picture) {
  auto it = images_.find(picture.get());
  if (it == images_.end()) {
    auto image =
        std::make_unique<Fl_RGB_Image>(picture->rgb.data(), picture->width, picture->height, 3);
    it = images_.emplace(picture.get(), Entry{picture, std::move(image)}).first;
  }
  return *it->second.image;
}

void PictureImages::Prune() {
  for (auto it = images_.begin(); it != images_.end();) {
    if (it->second.picture.use_count() == 1)
      it = images_.erase(it);
    else
      ++it;
  }
}

int PixelsForPoints(int points) {
  return std::max(1, (points * 96 + 36) / 72);
}

void DrawImage(const Image& image, PictureImages& images) {
  const PicturePtr& picture = image.picture();
  if (!picture || picture->width <= 0 || picture->height <= 0) return;
  fl_push_clip(image.left(), image.top(), image.width(), image.height());
  images.For(picture).draw(image.left(), image.top());
  fl_pop_clip();
}

void DrawFocusFrame(const Control& control) {
  // Dark dots on the page's light frame, two pixels outside the button's own border.
  fl_color(FL_BLACK);
  fl_line_style(FL_DOT, 1);
  fl_rect(control.left() - 2, control.top() - 2, control.width() + 4, control.height() + 4);
  fl_line_style(0);
}

void DrawPanel(const Panel& panel) {
  SetColor(panel.color());
  fl_rectf(panel.left(), panel.top(), panel.width(), panel.height());
}

void DrawLabel(const Label& label) {
  const std::string text = AnsiToUtf8(label.caption(), label.fontCharset());
  fl_font(label.bold() ? FL_HELVETICA_BOLD : FL_HELVETICA, PixelsForPoints(label.fontSize()));
  int w = label.width(), h = label.height();
  // An auto-sized label may carry no size of its own: it is as large as its text.
  if (w <= 0 || h <= 0) {
    w = h = 0;
    fl_measure(text.c_str(), w, h, 0);
  }
  if (!label.transparent()) {
    SetColor(label.color());
    fl_rectf(label.left(), label.top(), w, h);
  }
  SetColor(label.fontColor());
  Fl_Align align = FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP;
  if (label.wordWrap()) align |= FL_ALIGN_WRAP;
  fl_push_clip(label.left(), label.top(), w, h);
  // No symbols: an '@' in a caption (an e-mail address) is text, not an FLTK symbol.
  fl_draw(text.c_str(), label.left(), label.top(), w, h, align, nullptr, 0);
  if (label.underline() && !label.wordWrap()) {
    int tw = 0, th = 0;
    fl_measure(text.c_str(), tw, th, 0);
    const int y = label.top() + fl_height() - fl_descent() + 1;
    fl_line(label.left(), y, label.left() + std::min(tw, w), y);
  }
  fl_pop_clip();
}

void DrawProgressBar(const ProgressBar& bar) {
  const int x = bar.left(), y = bar.top(), w = bar.width(), h = bar.height();
  if (w <= 0 || h <= 0) return;
  fl_draw_box(FL_DOWN_BOX, x, y, w, h, FL_WHITE);
  const int inner = w - 4;
  const int range = bar.max() - bar.min();
  if (range <= 0 || inner <= 0 || h <= 4) return;
  const int filled =
      static_cast<int>(static_cast<long long>(bar.position() - bar.min()) * inner / range);
  const int block = std::max(2, (h - 4) * 2 / 3);
  SetColor(kBarFill);
  for (int bx = 0; bx < filled; bx += block + 2)
    fl_rectf(x + 2 + bx, y + 2, std::min(block, filled - bx), h - 4);
}

}  // namespace ui::fltk
