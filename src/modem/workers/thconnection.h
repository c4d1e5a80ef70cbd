#pragma once

#include <cstdint>

#include "modem/engine/modemconnect.h"
#include "ui/tthread.h"

namespace quillon::modem {

// Starts one engine run in startState for the hardware link check and ends; the window polls the
// engine for the outcome.
class THConnectionThread final : public ui::TThread {
 public:
  THConnectionThread(ui::Backend& backend, TfrmModemConnect& engine);
  ~THConnectionThread() override;

  TfrmModemConnect& engine;
  int32_t startState = 0;

 protected:
  void Execute() override;
};

}  // namespace quillon::modem
