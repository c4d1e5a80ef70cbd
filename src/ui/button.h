#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// A push button of a dialog. A click (Control::Click, from the mouse, or Return/space while it
// has the focus on screen) fires onClick. An '&' in the caption marks the accelerator letter and
// is not shown.
class Button : public Control {
 public:
  Button(Form& owner, std::string name);

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool bold() const { return bold_; }
  void SetBold(bool v);
  int fontCharset() const { return fontCharset_; }
  void SetFontCharset(int charset);

 private:
  std::string caption_;
  bool bold_ = false;
  int fontCharset_ = 0;
};

}  // namespace ui
