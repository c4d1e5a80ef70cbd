#include "modem/workers/thswlink.h"

namespace quillon::modem {

thCheckSWLink::thCheckSWLink(ui::Backend& backend, TfrmModemConnect& engine)
    : TThread(backend, "thCheckSWLink"), engine(engine) {}

thCheckSWLink::~thCheckSWLink() {
  // A launcher freed without Terminate must not block its owner, nor start its run later.
  Terminate();
  WaitFor();
}

void thCheckSWLink::Execute() {
  engine.StartSessionAt(startState, &terminatedFlag());
}

}  // namespace quillon::modem
