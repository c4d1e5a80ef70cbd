#include "ui/edit.h"

#include "ui/ansi_text.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ui {

Edit::Edit(Form& owner, std::string name) : Edit(owner, std::move(name), ControlKind::Edit) {}

Edit::Edit(Form& owner, std::string name, ControlKind kind)
    : Control(owner, std::move(name), kind) {}

void Edit::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed();
}

void Edit::SetMaxLength(int n) {
  if (n == maxLength_) return;
  maxLength_ = n;
  Changed();
}

void Edit::SetPasswordChar(char c) {
  if (c == passwordChar_) return;
  passwordChar_ = c;
  Changed();
}

void Edit::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  Changed();
}

void Edit::SetFontCharset(int charset) {
  if (charset == fontCharset_) return;
  fontCharset_ = charset;
  Changed();
}

void Edit::UserKey(char key) {
  if (!AcceptsInput()) return;
  if (onKeyPress) {
    auto handler = onKeyPress;
    form().app().Guard([&] { handler(key); });
  }
  if (key == '\0' || readOnly_) return;
  const std::string before = text_;
  if (key == '\b')
    EraseTyped();
  else if (static_cast<unsigned char>(key) >= 0x20 && key != kNotInCodePage)
    InsertTyped(key);
  // Other control characters (Return, Escape, Tab) and characters the code page lacks reach
  // the handler only.
  if (text_ == before) return;
  Changed();
  if (!onChange) return;
  auto handler = onChange;
  form().app().Guard(handler);
}

void Edit::UserType(const std::string& keys) {
  for (char key : keys) UserKey(key);
}

void Edit::InsertTyped(char key) {
  if (maxLength_ > 0 && static_cast<int>(text_.size()) >= maxLength_) return;
  text_.push_back(key);
}

void Edit::EraseTyped() {
  if (!text_.empty()) text_.pop_back();
}

}  // namespace ui
