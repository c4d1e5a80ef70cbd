#include "ui/button.h"

namespace ui {

Button::Button(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::Button) {}

void Button::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void Button::SetBold(bool v) {
  if (v == bold_) return;
  bold_ = v;
  Changed();
}

void Button::SetFontCharset(int charset) {
  if (charset == fontCharset_) return;
  fontCharset_ = charset;
  Changed();
}

}  // namespace ui
