#include "ui/label.h"

namespace ui {

Label::Label(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Label) {}

namespace {

// Every setter repaints only on a real change, so a page layout that re-applies the same values
// costs nothing on screen.
template <class T>
bool Assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

}  // namespace

void Label::SetCaption(std::string caption) {
  if (Assign(caption_, std::move(caption))) Changed();
}
void Label::SetFontColor(Color c) {
  if (Assign(fontColor_, c)) Changed();
}
void Label::SetFontSize(int points) {
  if (Assign(fontSize_, points)) Changed();
}
void Label::SetBold(bool v) {
  if (Assign(bold_, v)) Changed();
}
void Label::SetWordWrap(bool v) {
  if (Assign(wordWrap_, v)) Changed();
}
void Label::SetTransparent(bool v) {
  if (Assign(transparent_, v)) Changed();
}
void Label::SetColor(Color c) {
  if (Assign(color_, c)) Changed();
}
void Label::SetFontCharset(int charset) {
  if (Assign(fontCharset_, charset)) Changed();
}
void Label::SetUnderline(bool v) {
  if (Assign(underline_, v)) Changed();
}

}  // namespace ui
