#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

// A one-line text edit with a caret and a selection, as the system's own edits have. A typed
// character first goes through onKeyPress, which may replace it or discard it (set it to '\0');
// then it replaces the selection and maxLength (0: no limit) decides whether it fits at the
// caret. Backspace (character 8) removes the selection or the character before the caret and
// also passes through onKeyPress; Delete, which is no character, removes the selection or the
// character after the caret. Offsets count characters of text().
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

  // Where the next typed character goes, and the other end of the selection (equal to the
  // caret when nothing is selected); a screen backend shows both. A program's SetText puts the
  // caret at the end.
  std::size_t caret() const { return caret_; }
  std::size_t anchor() const { return anchor_; }
  std::size_t selStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  std::size_t selEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  // What a copy takes: nothing from a password field.
  std::string selectedText() const;

  // Input: one key as the user types it, or a whole text typed key by key.
  void UserKey(char key);
  void UserType(const std::string& keys);
  enum class CaretMove { Left, Right, Home, End };
  // Left, Right, Home or End; with `extend` (Shift held) the selection grows or shrinks.
  void UserMoveCaret(CaretMove move, bool extend);
  // The mouse's placing: the selection from `anchor` to `caret`, clamped to the text.
  void UserSelect(std::size_t anchor, std::size_t caret);
  void UserSelectAll() { UserSelect(0, text_.size()); }
  void UserDelete();
  // Removes the selection and returns it for the clipboard; a password field keeps it.
  std::string UserCut();

 protected:
  Edit(Form& owner, std::string name, ControlKind kind);
  // Apply one accepted character, a backspace or a Delete to the text at the caret; MaskEdit
  // overrides them.
  virtual void InsertTyped(char key);
  virtual void EraseTyped();
  virtual void EraseForward();
  // Removes the selected characters; the caret goes where the selection began.
  virtual void EraseSelection();
  void PlaceCaret(std::size_t at) { caret_ = anchor_ = at; }

  std::string text_;

 private:
  int maxLength_ = 0;
  char passwordChar_ = '\0';
  bool readOnly_ = false;
  int fontCharset_ = 0;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;

  // Runs the change handlers when a user edit changed the text.
  void AfterUserEdit(const std::string& before, std::size_t caretBefore);
};

}  // namespace ui
