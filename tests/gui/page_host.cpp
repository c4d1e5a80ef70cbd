// Opens the real wizard window on a chosen page, for the real-window tests that look at one page
// without walking the whole wizard to it (a walk would need a modem).
//   quillon_page_host CD_DIR PAGE [MESSAGE | --question TEXT | --password | --lists]
// With MESSAGE, the single-button message dialog shows it once the page is up, and with
// --question the OK/Cancel dialog shows TEXT. With --password
// the router password dialog shows instead, again each time it closes, and every close prints
// its modal result and the password typed. With --lists the first country and its first
// provider are picked, and the window's lists then print what they show, as UTF-8.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/process_entry.h"
#include "app/program_windows.h"
#include "dialogs/frmconfirmpassword.h"
#include "ui/application.h"
#include "ui/backend.h"
#include "ui/fltk/fltk_backend.h"

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
  // The lists are filled on the way in from the hardware check, which this host skips.
  form.ispPageNeedsFill = message == "--lists";
  form.showPage();
  std::function<void()> askPassword = [&] {
    auto& dialog = *app::windows().passwordConfirm;
    const int result = dialog.ShowModal();
    std::printf("password dialog: %d %s\n", result, dialog.edtConfirmPassword.text().c_str());
    std::fflush(stdout);
    application.backend().Post(askPassword);
  };
  auto printLists = [&application, &form] {
    auto& screen = dynamic_cast<ui::fltk::FltkBackend&>(application.backend());
    std::printf("country: %s\nprovider: %s\n",
                screen.WidgetText(form.controls().cbxDSLCountry).c_str(),
                screen.WidgetText(form.controls().cbxDSLISP).c_str());
    std::fflush(stdout);
  };
  if (message == "--lists") {
    application.backend().Post([&] {
      form.controls().cbxDSLCountry.UserSelect(1);
      form.controls().cbxDSLISP.UserSelect(1);
      // The widgets follow the model when the window next paints, within the loop's next turns.
      auto& backend = application.backend();
      static ui::Backend::TimerId timer = 0;
      timer = backend.StartTimer(300, [&backend, printLists] {
        backend.StopTimer(timer);
        printLists();
      });
    });
  } else if (message == "--password")
    application.backend().Post(askPassword);
  else if (message == "--question" && argc > 4)
    application.backend().Post(
        [&form, text = std::string(argv[4])] { form.showOkCancelMessage(text); });
  else if (!message.empty())
    application.backend().Post([&form, message] { form.showPopMessage(message); });
  application.Run();
  app::windows().DestroyAll();
  return 0;
}
