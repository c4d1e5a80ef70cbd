// The wizard's start-up and driver step in a program of its own, so that the system can be told
// to report another version to it alone. Copied to the root of a CD folder and started there, it
// builds the main window on the headless backend as the wizard does from that CD, runs the step
// that starts the driver copier, and exits with the system kind the start-up recorded: 100 plus
// the code when the start-up ended the program instead. A windowed program, so that starting it
// makes no console for Wine to keep open.
#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/program_windows.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"

int main() {
  constexpr int kStartUpEnded = 100;
  auto application = ui::headless::MakeHeadlessApplication();
  application->SetHaltHandler([](int code) { throw ui::HaltRequested{code}; });
  try {
    app::windows().CreateAll(*application);
  } catch (const ui::HaltRequested& halt) {
    return kStartUpEnded + halt.code;
  }
  app::windows().mainForm->routines.runDriverCopier();
  const int kind = app::processState().osKind;
  app::windows().DestroyAll();
  return kind;
}
