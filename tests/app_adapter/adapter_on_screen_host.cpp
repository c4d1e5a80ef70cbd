// Opens the kit edition's main window on its completion page, for walking the adapter pages in a
// real window. The network is left alone: the adapter list shows one adapter without an address
// (the cable is out) and every echo request is answered at once without being sent. The shell,
// the registry and the windows are the system's, so the CD's stand-ins run as they would.
// Usage: adapter_on_screen_host CD_EXECUTABLE_PATH
#include <memory>
#include <string>

#include "app/adapter_pages.h"
#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/program_windows.h"
#include "net/name_resolver.h"
#include "net/net_errors.h"
#include "net/pinger.h"
#include "platform/network_adapters.h"
#include "ui/application.h"
#include "ui/backend.h"

namespace {

class UnpluggedCable : public platform::NetworkAdapterService {
 public:
  std::vector<platform::NetworkAdapter> List() override {
    platform::NetworkAdapter adapter;
    adapter.name = "eth0";
    return {adapter};
  }
};

class NoResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string&) override { return {net::kNetHostNotFound, 0}; }
};

class AnsweringEcho : public net::EchoService {
 public:
  int Echo(std::uint32_t, int, int, int) override { return net::kNetOk; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  UnpluggedCable adapters;
  platform::ScopedNetworkAdapters adaptersScope(adapters);
  app::SetExecutablePathForTests(argv[1]);

  ui::Application application(ui::MakeScreenBackend());
  application.SetTitle("Norvane Quillon");
  app::windows().CreateAll(application);
  auto& form = *app::windows().mainForm;
  // Windows XP, so that the driver copier runs too.
  app::processState().osKind = 2;
  auto* pages = app::FindPageGroup<app::AdapterPages>(form);
  if (pages == nullptr) return 3;
  pages->Ping1 = std::make_unique<net::Pinger>(std::make_shared<NoResolver>(),
                                               std::make_shared<AnsweringEcho>());
  form.Show();
  form.currentPage = app::PAGE_INSTALL_COMPLETE;
  form.showPage();
  application.Run();
  app::windows().DestroyAll();
  return 0;
}
