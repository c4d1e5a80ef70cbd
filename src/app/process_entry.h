#pragma once

#include "ui/application.h"

namespace app {

// The program from the single-instance guard to the end of its message loop. Returns the
// process's exit code (0); the program's other ends leave through Application::Halt.
int RunProcessEntry(ui::Application& app);

}  // namespace app
