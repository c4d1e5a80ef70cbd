// Opens the real wizard window on a chosen page, for the real-window tests that look at one page
// without walking the whole wizard to it (a walk would need a modem).
//   quillon_page_host CD_DIR PAGE [MESSAGE]
// With MESSAGE, the single-button message dialog shows it once the page is up.
#include <cstdlib>
#include <string>

#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/process_entry.h"
#include "app/program_windows.h"
#include "ui/application.h"
#include "ui/backend.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  app::SetExecutablePathForTests(std::string(argv[1]) + "/quillon");
  const int page = std::atoi(argv[2]);
  const std::string message = argc > 3 ? argv[3] : "";
  ui::Application application(ui::MakeScreenBackend());
  application.SetTitle("Norvane Quillon");
  app::windows().CreateAll(application);
  auto& form = *app::windows().mainForm;
  form.Show();
  form.currentPage = page;
  form.showPage();
  if (!message.empty())
    application.backend().Post([&form, message] { form.showPopMessage(message); });
  application.Run();
  app::windows().DestroyAll();
  return 0;
}
