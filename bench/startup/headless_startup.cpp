// The wizard's start-up on the headless backend, as a process of its own so that the start-up
// benchmark times it exactly like the real window: from exec to the main menu laid out.
//   headless_startup CD_DIR
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/program_windows.h"
#include "ui/headless/headless_backend.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  app::SetExecutablePathForTests(std::string(argv[1]) + "/quillon");
  auto application = ui::headless::MakeHeadlessApplication();
  app::windows().CreateAll(*application);
  app::windows().mainForm->Show();
  if (!app::windows().mainForm->controls().imgMainMenu.picture()) return 1;
  double ms = -1;
  if (const char* start = std::getenv("QUILLON_START_NS")) {
    using namespace std::chrono;
    const long long now =
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
    ms = static_cast<double>(now - std::atoll(start)) / 1e6;
  }
  std::printf("first-frame-ms %.1f\n", ms);
  app::windows().DestroyAll();
  return 0;
}
