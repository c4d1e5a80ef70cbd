#include "app/process_entry.h"
#include "ui/application.h"
#include "ui/backend.h"

int main() {
  ui::Application app(ui::MakeScreenBackend());
  return app::RunProcessEntry(app);
}
