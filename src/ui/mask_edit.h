#pragma once

#include <string>

#include "ui/edit.h"

namespace ui {

// An edit with an input mask such as "999.999.999.999;1; ": '9' takes one digit or stays blank,
// any other mask character is a literal kept in the text, ";1" keeps the literals in text(),
// and the character after the last ';' is the blank. The text always has the mask's length:
// "192.168.  1.  1" is a valid value. Typed digits fill the next free digit position; a literal
// typed inside a group blanks the rest of the group and skips past the literal; backspace blanks
// the digit before the caret; Delete and a typed or erased selection blank digits and keep every
// literal. The caret moves over literals too, and typing there fills the next digit position.
// A program's SetText puts the caret at the start. Only the ";1" form is supported: text()
// always holds the literals.
class MaskEdit : public Edit {
 public:
  MaskEdit(Form& owner, std::string name);

  const std::string& editMask() const { return editMask_; }  // as set, with its ';' fields
  void SetEditMask(const std::string& mask);
  // The program sets a value; characters that do not fit the mask become blanks.
  void SetMaskedText(const std::string& text);
  void SetText(std::string text) override { SetMaskedText(text); }
  // The text with the blanks removed ("192.168.1.1" for "192.168.  1.  1").
  std::string TextWithoutBlanks() const;

 protected:
  void InsertTyped(char key) override;
  void EraseTyped() override;
  void EraseForward() override;
  void EraseSelection() override;

 private:
  bool IsInput(std::size_t pos) const { return pos < kinds_.size() && kinds_[pos] != '\0'; }
  bool Fits(std::size_t pos, char c) const;
  std::string BlankText() const;

  std::string editMask_;
  std::string mask_;      // the part before the first ';'
  std::string kinds_;     // per position: the mask character of an input position, or '\0'
  std::string literals_;  // per position: the literal character, or the blank at input positions
  char blank_ = ' ';
};

}  // namespace ui
