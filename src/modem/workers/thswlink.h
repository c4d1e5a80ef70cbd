#pragma once

#include <cstdint>
#include <string>

#include "modem/engine/modemconnect.h"
#include "ui/tthread.h"

namespace quillon::modem {

// Starts one engine run in startState for the software link check and ends; the window polls the
// engine for the outcome.
class thCheckSWLink final : public ui::TThread {
 public:
  thCheckSWLink(ui::Backend& backend, TfrmModemConnect& engine);
  ~thCheckSWLink() override;

  TfrmModemConnect& engine;
  int32_t startState = 0;
  // The internet test addresses the window hands over; the run does not need them.
  std::string addressList;

 protected:
  void Execute() override;
};

}  // namespace quillon::modem
