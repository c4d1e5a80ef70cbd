#include "dialogs/dialog_frame.h"

#include <cstdint>
#include <memory>

#include "ui/picture.h"

namespace dialogs {
namespace {

// A filled circle with a glyph in the middle: drawn once, in code, so no file can be missing.
ui::PicturePtr MakeRoundIcon(int size, ui::Color disc, bool exclamation) {
  auto picture = std::make_shared<ui::Picture>();
  picture->width = size;
  picture->height = size;
  picture->rgb.assign(static_cast<std::size_t>(size) * size * 3, 0);
  const double centre = (size - 1) / 2.0;
  const double radius = size / 2.0 - 1;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = x - centre, dy = y - centre;
      ui::Color c = ui::Rgb(255, 251, 240);
      if (dx * dx + dy * dy <= radius * radius) {
        c = disc;
        // The glyph: a bar with a dot, upright for "!" and inverted for "i".
        const bool inBar = dx >= -2.5 && dx <= 2.5;
        const int barTop = exclamation ? size / 5 : size * 2 / 5;
        const int barBottom = exclamation ? size * 3 / 5 : size * 4 / 5;
        const int dotY = exclamation ? size * 3 / 4 : size / 4;
        if (inBar && ((y >= barTop && y <= barBottom) || (y >= dotY - 2 && y <= dotY + 2)))
          c = ui::kWhite;
      }
      auto* px = &picture->rgb[(static_cast<std::size_t>(y) * size + x) * 3];
      px[0] = ui::RedOf(c);
      px[1] = ui::GreenOf(c);
      px[2] = ui::BlueOf(c);
    }
  }
  return picture;
}

}  // namespace

DialogForm::DialogForm(ui::Application& app, std::string name, int clientWidth, int clientHeight)
    : ui::Form(app, std::move(name)) {
  SetCaption("Norvane");
  SetBorderless(false);
  SetColor(ui::Rgb(255, 251, 240));
  SetClientSize(clientWidth, clientHeight);
  onShow = [this] {
    if (centredOn) CentreOn(*this, *centredOn);
  };
}

void CentreOn(ui::Form& dialog, const ui::Form& owner) {
  dialog.SetBounds(owner.left() + (owner.width() - dialog.width()) / 2,
                   owner.top() + (owner.height() - dialog.height()) / 2, dialog.width(),
                   dialog.height());
}

void SetInfoIcon(ui::Image& image) {
  static const ui::PicturePtr icon = MakeRoundIcon(49, ui::Rgb(40, 96, 168), false);
  image.SetPicture(icon);
}

void SetAlertIcon(ui::Image& image) {
  static const ui::PicturePtr icon = MakeRoundIcon(47, ui::Rgb(214, 132, 20), true);
  image.SetPicture(icon);
}

}  // namespace dialogs
