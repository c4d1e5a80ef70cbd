#include "app/process_entry.h"

#include "app/frmmain.h"
#include "app/program_windows.h"
#include "platform/process.h"
#include "ui/exception.h"

namespace app {

int RunProcessEntry(ui::Application& app) {
  try {
    auto mutex = platform::CreateNamedMutex("Norvane");
    // A second copy still builds its windows; its loop ends at once on the quit request, so it
    // closes by itself without touching the first.
    if (mutex->alreadyExisted()) app.Terminate();
    app.SetTitle("Norvane Quillon");
    windows().CreateAll(app);
    windows().mainForm->Show();
    app.Run();
    windows().DestroyAll();
  } catch (const ui::Exception& e) {
    app.ShowException(e);
    windows().DestroyAll();
  } catch (const std::exception&) {
    // Anything that is not the framework's own is shown as a framework exception without a
    // message, as the display knows no other kind.
    app.ShowException(ui::Exception(""));
    windows().DestroyAll();
  }
  return 0;
}

}  // namespace app
