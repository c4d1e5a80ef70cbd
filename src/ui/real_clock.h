#pragma once

#include "ui/clock.h"

namespace ui {

// The product's clock: the monotonic clock of the machine, and real sleeps.
class RealClock : public Clock {
 public:
  std::int64_t NowMs() const override;
  void SleepMs(std::int64_t ms) override;
};

}  // namespace ui
