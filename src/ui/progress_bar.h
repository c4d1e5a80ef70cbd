#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class ProgressBar : public Control {
 public:
  ProgressBar(Form& owner, std::string name);

  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }
  int step() const { return step_; }
  void SetRange(int min, int max);
  void SetPosition(int position);  // clamped to [min, max]
  void SetStep(int step);
  void StepIt();  // position += step; past max it wraps to min, as the classic control does

 private:
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

}  // namespace ui
