#include "modem/workers/thconnection.h"

namespace quillon::modem {

THConnectionThread::THConnectionThread(ui::Backend& backend, TfrmModemConnect& engine)
    : TThread(backend, "ConnectionThread"), engine(engine) {}

THConnectionThread::~THConnectionThread() {
  // A launcher freed without Terminate must not block its owner, nor start its run later.
  Terminate();
  WaitFor();
}

void THConnectionThread::Execute() {
  engine.StartSessionAt(startState, &terminatedFlag());
}

}  // namespace quillon::modem
