#pragma once

#include <string>

#include "ui/color.h"
#include "ui/control.h"

namespace ui {

// A plain filled rectangle (the red frame that marks a wrong field is one).
class Panel : public Control {
 public:
  Panel(Form& owner, std::string name);

  Color color() const { return color_; }
  void SetColor(Color c);

 private:
  Color color_ = kWhite;
};

}  // namespace ui
