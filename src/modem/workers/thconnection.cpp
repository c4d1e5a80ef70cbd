#include "modem/workers/thconnection.h"

namespace quillon::modem {

THConnectionThread::THConnectionThread(ui::Backend& backend, TfrmModemConnect& engine)
    : TThread(backend, "ConnectionThread"), engine(engine) {}

THConnectionThread::~THConnectionThread() {
  WaitFor();
}

void THConnectionThread::Execute() {
  engine.StartSessionAt(startState, &terminatedFlag());
}

}  // namespace quillon::modem
