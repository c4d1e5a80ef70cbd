#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/connection_pages.h"
#include "app/link_check_pages.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/wireless_pages.h"
#include "app/wizard_fixture.h"
#include "dialogs/frmshowpopmessage.h"
#include "platform/network_adapters.h"

// The PC's adapter list as a test sets it; the real one is never read.
class FakeAdapters : public platform::NetworkAdapterService {
 public:
  std::vector<platform::NetworkAdapter> List() override {
    ++calls;
    return adapters;
  }
  std::vector<platform::NetworkAdapter> adapters;
  std::atomic<int> calls{0};
};

// The wizard started on the headless backend with the page groups installed. Every message
// dialog is read and acknowledged as a user would; its catalogue line number is recorded.
class PagesTest : public WizardTest {
 protected:
  // Runs before the start-up: a test may change the CD image here.
  virtual void PrepareCd() {}
  // Tests that talk to no modem send whatever the engine sends to a loopback port where
  // nothing answers; tests against the simulator aim the engine themselves.
  virtual bool KeepEngineOnLoopback() { return true; }
  static constexpr std::uint16_t kDiscardPort = 9;

  void SetUp() override {
    WizardTest::SetUp();
    PrepareCd();
    ASSERT_EQ(StartUp(), -1);
    app::processState() = app::ProcessState{};
    // The window is on screen, so it takes the mouse.
    main().Show();
    // The pages after these start programs, write the registry and apply settings: here they
    // only count. Nothing a page starts may leave the loopback network.
    auto& r = main().routines;
    r.writeWirelessProfile = [this] {
      ++profileWrites;
      return true;
    };
    r.startSoftwareCheck = [this] { ++softwareChecks; };
    r.startDriverInstallation = {};
    r.startWirelessInternetTest = {};
    r.ethernetStillConnected = {};
    r.adapterPresent = {};
    r.runDriverCopier = {};
    links().broadcastAddress = "127.0.0.1";
    app::Engine().destinationAddress = "127.0.0.1";
    if (KeepEngineOnLoopback())
      app::Engine().WSocket.redirect = platform::Ipv4Endpoint{0x7F000001, kDiscardPort};
    backend().SetModalHandler([this](ui::Form& form) { Answer(form); });
  }

  void TearDown() override {
    EXPECT_TRUE(unexpectedDialogs.empty()) << unexpectedDialogs.front();
    WizardTest::TearDown();
  }

  void Answer(ui::Form& form) {
    auto* pop = app::windows().showPopMessage.get();
    if (&form != pop) {
      unexpectedDialogs.push_back(form.name());
      form.Close();
      return;
    }
    const std::string text = pop->lblShowMessage.caption();
    messages.push_back(MessageNumber(text));
    pop->btnOk.Click();
  }

  // The catalogue line shown, or -1 for a text that is no line of it.
  int MessageNumber(const std::string& text) {
    for (int n = 0; n < 64; ++n) {
      if (main().applicationMessage(n) == text ||
          quillon::config::expandLineBreaks(main().applicationMessage(n)) == text)
        return n;
    }
    return -1;
  }

  app::LinkCheckPages& links() { return *app::FindPageGroup<app::LinkCheckPages>(main()); }
  app::ConnectionPages& connection() { return *app::FindPageGroup<app::ConnectionPages>(main()); }
  app::WirelessPages& wireless() { return *app::FindPageGroup<app::WirelessPages>(main()); }
  app::MainFormControls& c() { return main().controls(); }

  // Lays out a page as the page machine does when the user arrives on it.
  void ShowPage(int page) {
    main().currentPage = page;
    app::processState().lastShownPage = 0;
    main().showPage();
  }

  // The user moves the mouse onto the Next picture (which the hover reveals) and clicks it.
  void ClickNext() {
    auto& next = c().imgNextBT;
    const int x = next.left() + next.width() / 2;
    const int y = next.top() + next.height() / 2;
    backend().MoveMouse(main(), x, y);
    backend().ClickAt(main(), x, y);
  }

  std::string MarkedControl() {
    return main().highlightVisible && main().focusControl ? main().focusControl->name() : "";
  }

  FakeAdapters adapters_;
  platform::ScopedNetworkAdapters adapterScope_{adapters_};
  std::vector<int> messages;
  std::vector<std::string> unexpectedDialogs;
  int profileWrites = 0;
  int softwareChecks = 0;
};
