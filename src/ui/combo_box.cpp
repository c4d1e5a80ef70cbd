#include "ui/combo_box.h"

#include "ui/application.h"
#include "ui/form.h"

namespace ui {

ComboBox::ComboBox(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::ComboBox) {}

void ComboBox::Clear() {
  if (items_.empty() && itemIndex_ == -1) return;
  items_.clear();
  itemIndex_ = -1;
  Changed();
}

void ComboBox::AddItem(std::string text) {
  items_.push_back(std::move(text));
  Changed();
}

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Changed();
}

void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed();
}

std::string ComboBox::text() const {
  if (itemIndex_ < 0 || itemIndex_ >= static_cast<int>(items_.size())) return {};
  return items_[itemIndex_];
}

void ComboBox::SetDropDownCount(int rows) {
  if (rows == dropDownCount_) return;
  dropDownCount_ = rows;
  Changed();
}

void ComboBox::SetFontCharset(int charset) {
  if (charset == fontCharset_) return;
  fontCharset_ = charset;
  Changed();
}

void ComboBox::UserSelect(int index) {
  if (!AcceptsInput()) return;
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed();
  if (!onChange) return;
  auto handler = onChange;
  form().app().Guard(handler);
}

void ComboBox::UserKeyUp(int key) {
  if (!AcceptsInput() || !onKeyUp) return;
  auto handler = onKeyUp;
  form().app().Guard([&] { handler(key); });
}

void ComboBox::UserExit() {
  if (!AcceptsInput() || !onExit) return;
  auto handler = onExit;
  form().app().Guard(handler);
}

}  // namespace ui
