#include "ui/edit.h"

#include <algorithm>

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
  PlaceCaret(text_.size());
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

std::string Edit::selectedText() const {
  if (passwordChar_ != '\0') return "";
  return text_.substr(selStart(), selEnd() - selStart());
}

void Edit::UserKey(char key) {
  if (!AcceptsInput()) return;
  if (onKeyPress) {
    auto handler = onKeyPress;
    form().app().Guard([&] { handler(key); });
  }
  if (key == '\0' || readOnly_) return;
  const std::string before = text_;
  const std::size_t caretBefore = caret_;
  if (key == '\b') {
    if (selStart() != selEnd())
      EraseSelection();
    else
      EraseTyped();
  } else if (static_cast<unsigned char>(key) >= 0x20 && key != kNotInCodePage) {
    InsertTyped(key);
  }
  // Other control characters (Return, Escape, Tab) and characters the code page lacks reach
  // the handler only.
  AfterUserEdit(before, caretBefore);
}

void Edit::UserType(const std::string& keys) {
  for (char key : keys) UserKey(key);
}

void Edit::UserMoveCaret(CaretMove move, bool extend) {
  if (!AcceptsInput()) return;
  std::size_t at = caret_;
  const bool selected = selStart() != selEnd();
  switch (move) {
    case CaretMove::Left:
      // Without Shift a selection collapses to its start, as the system's edits do.
      at = selected && !extend ? selStart() : at > 0 ? at - 1 : 0;
      break;
    case CaretMove::Right:
      at = selected && !extend ? selEnd() : std::min(at + 1, text_.size());
      break;
    case CaretMove::Home:
      at = 0;
      break;
    case CaretMove::End:
      at = text_.size();
      break;
  }
  UserSelect(extend ? anchor_ : at, at);
}

void Edit::UserSelect(std::size_t anchor, std::size_t caret) {
  if (!AcceptsInput()) return;
  anchor = std::min(anchor, text_.size());
  caret = std::min(caret, text_.size());
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  Changed();
}

void Edit::UserDelete() {
  if (!AcceptsInput() || readOnly_) return;
  const std::string before = text_;
  const std::size_t caretBefore = caret_;
  if (selStart() != selEnd())
    EraseSelection();
  else
    EraseForward();
  AfterUserEdit(before, caretBefore);
}

std::string Edit::UserCut() {
  if (!AcceptsInput() || readOnly_ || passwordChar_ != '\0') return "";
  std::string cut = selectedText();
  const std::string before = text_;
  const std::size_t caretBefore = caret_;
  EraseSelection();
  AfterUserEdit(before, caretBefore);
  return cut;
}

void Edit::AfterUserEdit(const std::string& before, std::size_t caretBefore) {
  // The caret may have moved without a change of text; the backend shows it either way.
  if (text_ == before && caret_ == caretBefore) return;
  Changed();
  if (text_ == before || !onChange) return;
  auto handler = onChange;
  form().app().Guard(handler);
}

void Edit::InsertTyped(char key) {
  if (selStart() != selEnd()) EraseSelection();
  if (maxLength_ > 0 && static_cast<int>(text_.size()) >= maxLength_) return;
  caret_ = std::min(caret_, text_.size());
  text_.insert(text_.begin() + static_cast<std::ptrdiff_t>(caret_), key);
  PlaceCaret(caret_ + 1);
}

void Edit::EraseTyped() {
  caret_ = std::min(caret_, text_.size());
  if (caret_ == 0) return;
  text_.erase(caret_ - 1, 1);
  PlaceCaret(caret_ - 1);
}

void Edit::EraseForward() {
  if (caret_ < text_.size()) text_.erase(caret_, 1);
  PlaceCaret(caret_);
}

void Edit::EraseSelection() {
  const std::size_t start = std::min(selStart(), text_.size());
  text_.erase(start, selEnd() - start);
  PlaceCaret(start);
}

}  // namespace ui
