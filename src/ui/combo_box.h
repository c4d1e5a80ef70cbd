#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// A drop-down list (no free text). The program rebuilds these lists all the time; none of its
// changes (items, itemIndex) fires onChange: only UserSelect does.
class ComboBox : public Control {
 public:
  ComboBox(Form& owner, std::string name);

  const std::vector<std::string>& items() const { return items_; }
  void Clear();
  void AddItem(std::string text);
  void SetItems(std::vector<std::string> items);
  int itemIndex() const { return itemIndex_; }  // -1: nothing selected
  void SetItemIndex(int index);                 // out of range selects nothing
  std::string text() const;                     // the selected item's text, or empty
  int dropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int rows);
  int fontCharset() const { return fontCharset_; }
  void SetFontCharset(int charset);

  std::function<void()> onChange;
  std::function<void(int key)> onKeyUp;
  std::function<void()> onExit;  // the list lost the keyboard focus

  // Input: the user picks a row (fires onChange when the row differs), releases a key, leaves.
  void UserSelect(int index);
  void UserKeyUp(int key);
  void UserExit();

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  int fontCharset_ = 0;
};

}  // namespace ui
