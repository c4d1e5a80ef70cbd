#include "ui/progress_bar.h"

#include <algorithm>

namespace ui {

ProgressBar::ProgressBar(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::ProgressBar) {}

void ProgressBar::SetRange(int min, int max) {
  if (max < min) max = min;
  const int position = std::clamp(position_, min, max);
  if (min == min_ && max == max_ && position == position_) return;
  min_ = min;
  max_ = max;
  position_ = position;
  Changed();
}

void ProgressBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Changed();
}

void ProgressBar::SetStep(int step) {
  step_ = step;
}

void ProgressBar::StepIt() {
  // Computed in 64 bits: a large step must not overflow into a bogus position.
  const long long next = static_cast<long long>(position_) + step_;
  if (next > max_)
    SetPosition(min_);
  else
    SetPosition(static_cast<int>(std::max<long long>(next, min_)));
}

}  // namespace ui
