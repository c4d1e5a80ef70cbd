#pragma once

// The wizard in-process on the headless backend with everything that could reach outside the
// test replaced: the shell and the DHCP client are recorded fakes, the registry lives in a
// private XDG_CONFIG_HOME, the engine's datagrams go to a loopback peer whatever address a page
// sets, and its internet name test asks a scripted resolver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/pages.h"
#include "app/program_windows.h"
#include "app/wizard_fixture.h"
#include "dialogs/frmshowokcancelmessage.h"
#include "dialogs/frmshowpopmessage.h"
#include "fakes.h"
#include "host/host_fakes.h"
#include "modem/engine/modemconnect.h"
#include "platform/dhcp.h"
#include "platform/environment.h"
#include "platform/shell.h"

class ApplyWizardTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    // Belt and braces: should a fake ever be bypassed, no DHCP client runs.
    platform::SetEnvVar("QUILLON_DHCLIENT", "none");
    configHome_ = cd_.root() / "config-home";
    std::filesystem::create_directories(configHome_);
    platform::SetEnvVar("XDG_CONFIG_HOME", configHome_.string());
#if defined(_WIN32)
    // Windows has one registry for every test process running at once: each test gets its own.
    registryScope_.emplace(registry);
#endif
    shellScope_.emplace(shell);
    dhcpScope_.emplace(dhcp);
    backend().SetModalHandler([this](ui::Form& form) { AnswerDialog(form); });
  }

  void TearDown() override {
    WizardTest::TearDown();
    dhcpScope_.reset();
    shellScope_.reset();
    registryScope_.reset();
    platform::UnsetEnvVar("XDG_CONFIG_HOME");
  }

  // Edits setup.ini of the private CD before the start (profile name, kit edition).
  void SetProfile(const std::string& profileName, int isBundle) {
    std::string ini = cd_.Read("setup.ini");
    Replace(ini, "profileName=GE", "profileName=" + profileName);
    Replace(ini, "isBundle=0", "isBundle=" + std::to_string(isBundle));
    cd_.Write("setup.ini", ini);
  }

  // Starts the wizard and makes it safe and visible; fails the test when it ended instead.
  void Start() {
    ASSERT_EQ(StartUp(), -1);
    app::processState() = app::ProcessState{};
    peer = std::make_unique<test_support::LoopbackPeer>(*app_);
    auto& engine = Engine();
    engine.WSocket.redirect = platform::Ipv4Endpoint{platform::kLoopbackAddress, peer->port()};
    engine.destinationAddress = "127.0.0.1";
    engine.Ping.SetResolver(resolver);
    main().Show();
  }

  quillon::modem::TfrmModemConnect& Engine() {
    return *app::windows().modemConnect;
  }
  // Sends the engine's datagrams to another loopback port from the next run on.
  void AimEngineAt(std::uint16_t port) {
    Engine().WSocket.redirect = platform::Ipv4Endpoint{platform::kLoopbackAddress, port};
  }

  // Lays out a page as the page machine does when it arrives there.
  void ShowPage(int page) {
    main().currentPage = page;
    main().showPage();
  }

  // A user's mouse: hovering reveals the picture, then the click lands on it.
  void HoverAndClick(const ui::Control& control) {
    const int x = control.left() + control.width() / 2;
    const int y = control.top() + control.height() / 2;
    backend().ClickAt(main(), x, y);
  }
  // Runs a click (or anything) that must end the program; gives the exit code, or nothing.
  std::optional<int> ExitCodeOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const ui::HaltRequested& halt) {
      return halt.code;
    }
    return std::nullopt;
  }

  std::string Message(int n) {
    return main().applicationMessage(n);
  }

  // The skinned dialogs, answered as a user would; the texts they showed are kept.
  std::vector<std::string> popMessages;
  std::vector<std::string> questions;
  int questionAnswer = ui::kMrOk;

  test_support::RecordingShell shell;
  host_testing::RecordingRegistry registry;  // the registry on Windows only
  test_support::RecordingDhcp dhcp;
  std::shared_ptr<test_support::ScriptedResolver> resolver =
      std::make_shared<test_support::ScriptedResolver>();
  std::unique_ptr<test_support::LoopbackPeer> peer;

 private:
  void AnswerDialog(ui::Form& form) {
    if (auto* pop = dynamic_cast<dialogs::TShowPopMessage*>(&form)) {
      popMessages.push_back(pop->lblShowMessage.caption());
      pop->btnOkClick();
    } else if (auto* question = dynamic_cast<dialogs::TShowOkCancelMessage*>(&form)) {
      questions.push_back(question->lblShowMessage.caption());
      if (questionAnswer == ui::kMrOk)
        question->btnOkClick();
      else
        question->btnCancelClick();
    } else {
      form.Close();
    }
  }
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  std::filesystem::path configHome_;
  std::optional<platform::ScopedRegistry> registryScope_;
  std::optional<platform::ScopedShell> shellScope_;
  std::optional<platform::ScopedDhcp> dhcpScope_;
};
