// A test-only program: the wizard's real window on the screen backend, opened straight on one
// of the connection or wireless pages, so that a GUI test can type into the real fields without
// a modem. Usage: gui_page_host CD_DIR isp|static|ppp|radio|wireless
//
// The pages are prepared as the hardware check leaves them. Nothing a page could start leaves
// the process: the engine sends only to a loopback port where nothing listens, and the pages
// after these (applying the settings, the registry record) are replaced by stubs.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "app/connection_pages.h"
#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/link_check_pages.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/program_windows.h"
#include "app/wireless_pages.h"
#include "ui/application.h"
#include "ui/backend.h"

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::uint16_t kDiscardPort = 9;

void KeepEverythingLocal(app::TmainForm& form) {
  auto& engine = app::Engine();
  engine.destinationAddress = "127.0.0.1";
  engine.WSocket.redirect = platform::Ipv4Endpoint{kLoopback, kDiscardPort};
  app::FindPageGroup<app::LinkCheckPages>(form)->broadcastAddress = "127.0.0.1";
  auto& r = form.routines;
  r.writeWirelessProfile = [] { return true; };
  r.startSoftwareCheck = [] {
    std::puts("software check");
    std::fflush(stdout);
  };
  r.startDriverInstallation = {};
  r.startWirelessInternetTest = {};
  r.ethernetStillConnected = {};
  r.adapterPresent = {};
  r.runDriverCopier = {};
}

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, int> pages = {{"isp", app::PAGE_ISP_SELECTION},
                                            {"static", app::PAGE_STATIC_IP},
                                            {"ppp", app::PAGE_PPP_SETTING},
                                            {"radio", app::PAGE_WRADIO_SETTING},
                                            {"wireless", app::PAGE_WIRELESS_SETTING}};
  if (argc != 3 || pages.count(argv[2]) == 0) {
    std::fprintf(stderr, "usage: gui_page_host CD_DIR isp|static|ppp|radio|wireless\n");
    return 2;
  }
  app::SetExecutablePathForTests(std::string(argv[1]) + "/quillon");
  ui::Application application(ui::MakeScreenBackend());
  application.SetTitle("Norvane Quillon");
  app::windows().CreateAll(application);
  auto& form = *app::windows().mainForm;
  KeepEverythingLocal(form);

  app::FindPageGroup<app::WirelessPages>(form)->initRadioPage();
  app::FindPageGroup<app::WirelessPages>(form)->initWirelessPage();
  app::FindPageGroup<app::ConnectionPages>(form)->resetConnectionPage();
  form.ispPageNeedsFill = true;
  // The ISP page fills its lists when first shown; the other pages follow from its defaults.
  form.currentPage = app::PAGE_ISP_SELECTION;
  form.showPage();
  form.currentPage = pages.at(argv[2]);
  form.showPage();
  form.Show();
  application.Run();
  app::windows().DestroyAll();
  return 0;
}
