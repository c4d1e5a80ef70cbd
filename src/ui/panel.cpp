#include "ui/panel.h"

namespace ui {

Panel::Panel(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Panel) {}

void Panel::SetColor(Color c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

}  // namespace ui
