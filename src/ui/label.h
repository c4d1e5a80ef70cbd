#pragma once

#include <string>

#include "ui/color.h"
#include "ui/control.h"

namespace ui {

// Captions are 8-bit texts in the code page of fontCharset (0 Western, 161 Greek, 204 Cyrillic);
// a screen backend converts them for display.
class Label : public Control {
 public:
  Label(Form& owner, std::string name);

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  Color fontColor() const { return fontColor_; }
  void SetFontColor(Color c);
  int fontSize() const { return fontSize_; }
  void SetFontSize(int points);
  bool bold() const { return bold_; }
  void SetBold(bool v);
  bool wordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool transparent() const { return transparent_; }
  void SetTransparent(bool v);
  Color color() const { return color_; }
  void SetColor(Color c);
  int fontCharset() const { return fontCharset_; }
  void SetFontCharset(int charset);
  bool underline() const { return underline_; }
  void SetUnderline(bool v);

 private:
  std::string caption_;
  Color fontColor_ = kBlack;
  Color color_ = kWhite;
  int fontSize_ = 9;
  bool bold_ = false;
  bool wordWrap_ = false;
  bool transparent_ = true;
  bool underline_ = false;
  int fontCharset_ = 0;
};

}  // namespace ui
