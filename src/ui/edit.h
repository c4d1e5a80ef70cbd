#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

// A one-line text edit. A typed character first goes through onKeyPress, which may replace it or
// discard it (set it to '\0'); then maxLength (0: no limit) decides whether it fits. Backspace
// (character 8) removes the last character and also passes through onKeyPress.
class Edit : public Control {
 public:
  Edit(Form& owner, std::string name);

  const std::string& text() const { return text_; }
  // The program's own change: no events, no filter. A masked edit fits the text to its mask.
  virtual void SetText(std::string text);
  int maxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  char passwordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);  // '\0': shown as typed
  bool readOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  int fontCharset() const { return fontCharset_; }
  void SetFontCharset(int charset);

  std::function<void(char& key)> onKeyPress;
  std::function<void()> onChange;  // after a user edit changed the text

  // Input: one key as the user types it, or a whole text typed key by key.
  void UserKey(char key);
  void UserType(const std::string& keys);

 protected:
  Edit(Form& owner, std::string name, ControlKind kind);
  // Apply one accepted character, or a backspace, to the text; MaskEdit overrides them.
  virtual void InsertTyped(char key);
  virtual void EraseTyped();

  std::string text_;

 private:
  int maxLength_ = 0;
  char passwordChar_ = '\0';
  bool readOnly_ = false;
  int fontCharset_ = 0;
};

}  // namespace ui
