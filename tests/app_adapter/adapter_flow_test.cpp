#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/adapter_pages.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "app/pages.h"
#include "app/wizard_fixture.h"
#include "app_adapter/adapter_fakes.h"
#include "dialogs/frmshowpopmessage.h"
#include "host/bkitlib.h"
#include "host/host_fakes.h"
#include "host/temp_env.h"
#include "host/thwlandriver.h"
#include "platform/drive_path.h"

namespace {

using namespace app;
using adapter_testing::ScriptedShell;

constexpr std::uint32_t kModemNetAddress = 0xC0A80121;  // 192.168.1.33
constexpr std::uint32_t kTestAddress = 0xC6336401;      // 198.51.100.1, first of the kit's list
constexpr int kOk = 1;
constexpr int kCancel = 2;

// The kit edition in-process, from the completion page on: every service the flow reaches is a
// fake, drive C is a private folder, and the user's answers to messages are scripted.
class AdapterFlowTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    shell = std::make_unique<ScriptedShell>(app_->clock());
    shellScope.emplace(*shell);
    utilityWindows = std::make_unique<adapter_testing::FakeWindows>(app_->clock());
    windowsScope.emplace(*utilityWindows);
    echo = std::make_shared<adapter_testing::ScriptedEcho>(app_->clock());
    std::string profile = cd_.Read("setup.ini");
    profile.replace(profile.find("isBundle=0"), 10, "isBundle=1");
    cd_.Write("setup.ini", profile);
    ASSERT_EQ(StartUp(), -1);
    main().Show();
    // Nothing in this flow talks to the modem: time need not wait for datagrams.
    backend().SetSocketGraceMs(0);
    processState() = ProcessState{};
    processState().osKind = 2;
    processState().modemAddress = "192.168.1.1";
    adapters.SetAddresses({0});
    pages = FindPageGroup<AdapterPages>(main());
    ASSERT_NE(pages, nullptr);
    pages->Ping1 = std::make_unique<net::Pinger>(resolver, echo);
    echo->Answer(kTestAddress);
    shell->Script("cpydrv.exe", [](const auto&) { return platform::kShellStarted; });
    ScriptDetection("1 matching device(s) found.\r\n", platform::kShellStarted);
    ScriptInstaller("ResultCode=0\r\n");
    shell->Script("Internet.htm", [](const auto&) { return platform::kShellStarted; });
    backend().SetModalHandler([this](ui::Form& form) {
      messages.push_back(windows().showPopMessage->lblShowMessage.caption());
      form.Close();
    });
    backend().SetMessageBoxHandler([this](const std::string&, const std::string&) {
      askedAt.push_back(Now());
      if (answers.empty()) return kOk;
      const int answer = answers.front();
      answers.pop_front();
      return answer;
    });
  }

  void ScriptDetection(std::optional<std::string> report, int result) {
    shell->Script("ChkNIC.bat", [report, result](const auto&) {
      if (report) std::ofstream(platform::LocalDrivePath("C:\\ChkNIC.txt")) << *report;
      return result;
    });
  }
  void ScriptInstaller(std::optional<std::string> log) {
    shell->Script(host::kInstallerProgram, [log](const auto&) {
      if (log) std::ofstream(platform::LocalDrivePath(host::kInstallerLog)) << *log;
      return platform::kShellStarted;
    });
  }
  void Show(int page) {
    main().currentPage = page;
    main().showPage();
  }
  // The user points at a picture (which the page's hover reveals) and clicks it.
  void ClickOn(const ui::Control& picture) {
    backend().ClickAt(main(), picture.left() + 1, picture.top() + 1);
  }
  void Next() { ClickOn(main().controls().imgNextBT); }
  bool RunUntilPage(int page, std::int64_t ms) {
    return backend().RunUntil([&] { return main().currentPage == page; }, ms);
  }
  std::string Message(int n) { return cd_.CatalogueLine("English", "application.err", n); }
  std::int64_t Now() { return app_->clock().NowMs(); }
  std::string Folder(const std::string& relative) { return cd_.native(relative); }

  host_testing::TempFolder drive;
  host_testing::ScopedEnv driveC{"QUILLON_C_DRIVE", drive.path().string()};
  std::unique_ptr<ScriptedShell> shell;
  std::optional<platform::ScopedShell> shellScope;
  host_testing::RecordingRegistry registry;
  platform::ScopedRegistry registryScope{registry};
  std::unique_ptr<adapter_testing::FakeWindows> utilityWindows;
  std::optional<platform::ScopedWindows> windowsScope;
  adapter_testing::FixedAdapters adapters;
  platform::ScopedNetworkAdapters adaptersScope{adapters};
  std::shared_ptr<adapter_testing::NoResolver> resolver =
      std::make_shared<adapter_testing::NoResolver>();
  std::shared_ptr<adapter_testing::ScriptedEcho> echo;
  AdapterPages* pages = nullptr;
  std::vector<std::string> messages;
  std::deque<int> answers;
  std::vector<std::int64_t> askedAt;
};

TEST_F(AdapterFlowTest, FromTheCompletionPageToTheAdaptersCompletionPage) {
  auto& c = main().controls();
  Show(PAGE_INSTALL_COMPLETE);
  ClickOn(c.imgInsWLANUSB);
  ASSERT_EQ(main().currentPage, PAGE_ETHERNET_REMOVE);
  EXPECT_TRUE(c.imgEthernetRemoveBG.visible());

  std::int64_t t0 = Now();
  Next();
  ASSERT_EQ(main().currentPage, PAGE_WLAN_USB_CHECK);
  EXPECT_EQ(Now() - t0, 3000 + 10000);
  const auto copier = shell->CallsOf("cpydrv.exe");
  ASSERT_EQ(copier.size(), 1u);
  EXPECT_EQ(copier[0].request.workingFolder, Folder("Driver/"));
  EXPECT_EQ(copier[0].request.verb, "open");
  EXPECT_EQ(copier[0].request.showMode, platform::ShowMode::kHidden);

  Next();
  ASSERT_EQ(main().currentPage, PAGE_INS_WLAN_DRIVER);
  const auto detection = shell->CallsOf("ChkNIC.bat");
  ASSERT_EQ(detection.size(), 1u);
  EXPECT_EQ(detection[0].request.workingFolder, Folder("Language/ChkNIC"));
  EXPECT_EQ(detection[0].request.verb, "");
  EXPECT_FALSE(std::filesystem::exists(drive.path() / "ChkNIC.txt"));
  EXPECT_TRUE(c.pbrInstallWlanDriver.visible());

  // The bar fills by 10 a second while the installer's 70 s pass.
  t0 = Now();
  backend().RunFor(30500);
  EXPECT_EQ(c.pbrInstallWlanDriver.position(), 300);
  ASSERT_TRUE(RunUntilPage(PAGE_WLAN_INTERNET_STAT, 120000));
  EXPECT_EQ(c.pbrInstallWlanDriver.position(), 1000);
  EXPECT_FALSE(c.tmrInsWlanDriverThread.enabled());
  EXPECT_EQ(pages->driverWorker(), nullptr);

  ASSERT_TRUE(RunUntilPage(PAGE_WLAN_INS_COMPLETE, 120000));
  EXPECT_EQ(c.pbrWlanInternetStat.position(), 1500);
  EXPECT_EQ(pages->internetWorker(), nullptr);
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(backend().messageBoxes().empty());

  // The OK picture shows only under the mouse, edges included.
  const auto& ok = c.imgWlanInsCompleteBT;
  backend().MoveMouse(main(), ok.left() - 1, ok.top());
  EXPECT_FALSE(ok.visible());
  backend().MoveMouse(main(), ok.left() + ok.width(), ok.top() + ok.height());
  EXPECT_TRUE(ok.visible());
  EXPECT_EQ(app_->cursor(), ui::Cursor::HandPoint);
  try {
    ClickOn(ok);
    FAIL() << "the program did not end";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 0);
  }
  const auto help = shell->CallsOf("Internet.htm");
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0].request.workingFolder, Folder("Language/Internet/"));
  EXPECT_EQ(help[0].request.showMode, platform::ShowMode::kNormal);
}

struct CableCase {
  const char* what;
  const char* modemAddress;
  std::vector<std::uint32_t> addresses;
  bool connected;
};

TEST_F(AdapterFlowTest, TheCableCountsWhileAnAdapterIsInTheModemsNetwork) {
  const CableCase cases[] = {
      {"an address in the modem's network", "192.168.1.1", {0, kModemNetAddress}, true},
      {"only other networks", "192.168.1.1", {0, 0x0A01C007 /* 10.1.192.7 */}, false},
      {"no address at all", "192.168.1.1", {0}, false},
      {"no adapters", "192.168.1.1", {}, false},
      {"no modem address, only empty adapters", "", {0, 0}, false},
      {"no modem address, any address", "", {0, 0x0A000005}, true},
  };
  for (const CableCase& c : cases) {
    SCOPED_TRACE(c.what);
    processState().modemAddress = c.modemAddress;
    adapters.SetAddresses(c.addresses);
    const std::int64_t t0 = Now();
    EXPECT_EQ(pages->cableStillConnected(), c.connected);
    EXPECT_EQ(Now() - t0, 3000);
    EXPECT_EQ(app_->cursor(), ui::Cursor::Arrow);
  }
}

TEST_F(AdapterFlowTest, AConnectedCableKeepsTheUserOnTheCablePage) {
  adapters.SetAddresses({kModemNetAddress});
  Show(PAGE_ETHERNET_REMOVE);
  Next();
  EXPECT_EQ(main().currentPage, PAGE_ETHERNET_REMOVE);
  EXPECT_EQ(messages, std::vector<std::string>{Message(0)});
  EXPECT_TRUE(shell->calls().empty());
}

TEST_F(AdapterFlowTest, TheDriverFilesAreCopiedForTheSystemsThatNeedThem) {
  const std::pair<std::uint8_t, const char*> cases[] = {
      {1, "Driver/"}, {2, "Driver/"}, {7, "DriverVista/"}, {6, nullptr}, {0, nullptr}};
  for (const auto& [osKind, folder] : cases) {
    SCOPED_TRACE(static_cast<int>(osKind));
    processState().osKind = osKind;
    const std::size_t before = shell->CallsOf("cpydrv.exe").size();
    Show(PAGE_ETHERNET_REMOVE);
    const std::int64_t t0 = Now();
    Next();
    EXPECT_EQ(main().currentPage, PAGE_WLAN_USB_CHECK);
    EXPECT_EQ(Now() - t0, 13000);
    const auto calls = shell->CallsOf("cpydrv.exe");
    ASSERT_EQ(calls.size(), before + (folder ? 1 : 0));
    if (folder) {
      EXPECT_EQ(calls.back().request.workingFolder, Folder(folder));
    }
  }
}

struct DetectionCase {
  const char* what;
  std::optional<std::string> report;
  int shellResult;
  bool found;
  bool message;
  std::int64_t ms;
};

TEST_F(AdapterFlowTest, TheDetectionScriptsReportDecidesWhetherTheAdapterIsThere) {
  const DetectionCase cases[] = {
      {"a count among other lines",
       "KXU-300 wireless USB adapter check\r\n  2 matching device(s) found.  \r\nend\r\n",
       platform::kShellStarted, true, false, 0},
      {"none found", "KXU-300 check\r\nNo matching devices found.\r\n", platform::kShellStarted,
       false, true, 0},
      {"no report", std::nullopt, platform::kShellStarted, false, true, 5000},
      {"the script cannot start", std::nullopt, platform::kShellFileNotFound, false, false, 0},
  };
  for (const DetectionCase& c : cases) {
    SCOPED_TRACE(c.what);
    messages.clear();
    ScriptDetection(c.report, c.shellResult);
    Show(PAGE_WLAN_USB_CHECK);
    const std::int64_t t0 = Now();
    Next();
    EXPECT_EQ(main().currentPage, c.found ? PAGE_INS_WLAN_DRIVER : PAGE_WLAN_USB_CHECK);
    EXPECT_EQ(messages.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(messages[0], Message(26));
    }
    EXPECT_EQ(Now() - t0, c.ms);
    EXPECT_FALSE(std::filesystem::exists(drive.path() / "ChkNIC.txt"));
    main().currentPage = PAGE_MAIN_MENU;  // leaves the driver page before its worker reports
    main().showPage();
  }
}

TEST_F(AdapterFlowTest, AFailedInstallationIsAskedAboutAndRetriedOrLeft) {
  ScriptInstaller("ResultCode=-3\r\n");
  answers = {kOk, kCancel};
  auto& bar = main().controls().pbrInstallWlanDriver;
  Show(PAGE_INS_WLAN_DRIVER);
  ASSERT_TRUE(backend().RunUntil([&] { return backend().messageBoxes().size() == 1; }, 120000));
  EXPECT_EQ(backend().messageBoxes()[0].text, "Problem with installing the driver.");
  EXPECT_EQ(backend().messageBoxes()[0].caption, "");
  // OK laid the page out again: a fresh worker, the bar from 0.
  EXPECT_EQ(main().currentPage, PAGE_INS_WLAN_DRIVER);
  EXPECT_NE(pages->driverWorker(), nullptr);
  EXPECT_LE(bar.position(), 20);
  EXPECT_EQ(shell->CallsOf(host::kInstallerProgram).size(), 2u);

  ScriptInstaller(std::nullopt);
  ASSERT_TRUE(RunUntilPage(PAGE_WLAN_USB_CHECK, 120000));
  EXPECT_EQ(backend().messageBoxes().size(), 2u);
  EXPECT_EQ(pages->driverWorker(), nullptr);
  EXPECT_FALSE(main().controls().tmrInsWlanDriverThread.enabled());
  EXPECT_FALSE(main().controls().tmrInsWlanDriverTimer.enabled());
}

TEST_F(AdapterFlowTest, InstalledSoftwareIsRestartedInsteadOfInstalled) {
  host_testing::TempFolder utility;
  std::ofstream(utility.path() / host::kUtilityProgram) << "utility";
  registry.values[{platform::RegistryRoot::kLocalMachine, host::kAdapterUninstallKey}]
                 [host::kInstallLocationValue] = utility.path().string();
  shell->Script(host::kUtilityName, [](const auto&) { return platform::kShellStarted; });
  Show(PAGE_INS_WLAN_DRIVER);
  ASSERT_TRUE(RunUntilPage(PAGE_WLAN_INTERNET_STAT, 200000));
  EXPECT_TRUE(shell->CallsOf(host::kInstallerProgram).empty());
  EXPECT_EQ(shell->CallsOf(host::kUtilityName).size(), 2u);
}

TEST_F(AdapterFlowTest, AnInstallerThatNeverReportsEndsInTheQuestionToo) {
  // The installer's start hangs far longer than the watch waits (150 s).
  shell->Script(host::kInstallerProgram, [this](const auto&) {
    app_->clock().SleepMs(600000);
    return platform::kShellStarted;
  });
  answers = {kCancel};
  Show(PAGE_INS_WLAN_DRIVER);
  const std::int64_t t0 = Now();
  ASSERT_TRUE(RunUntilPage(PAGE_WLAN_USB_CHECK, 650000));
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_EQ(backend().messageBoxes()[0].text, "Problem with installing the driver.");
  // The watch gave up and stopped the worker: the question comes as soon as the hung start
  // returns, not after the worker's own 70 s that would follow it.
  EXPECT_GE(askedAt[0] - t0, 600000);
  EXPECT_LE(askedAt[0] - t0, 600300);
}

TEST_F(AdapterFlowTest, TheInternetTestIsRetriedSilentlyThenAskedAbout) {
  // An empty address list fails a whole test in 85 s, so it is retried before the watch's limit.
  main().systemConfig.setup.InternetTestIPAddresses = "";
  answers = {kOk, kCancel};
  auto& bar = main().controls().pbrWlanInternetStat;
  Show(PAGE_WLAN_INTERNET_STAT);
  const std::int64_t t0 = Now();
  // One worker looks its one empty item up 15 times; a 16th look-up is the next worker's.
  ASSERT_TRUE(backend().RunUntil([&] { return resolver->Hosts().size() > 15; }, 120000));
  EXPECT_NE(pages->internetWorker(), nullptr);
  EXPECT_TRUE(backend().messageBoxes().empty());
  EXPECT_GE(bar.position(), 850);  // the bar went on

  ASSERT_TRUE(backend().RunUntil([&] { return backend().messageBoxes().size() == 1; }, 120000));
  // The watch gives up at its 52nd tick, when it has counted more than 50; the worker it stops
  // ends within its next short sleep (250 ms), seen by the window's next 50 ms look.
  EXPECT_GE(askedAt[0] - t0, 52 * 3000);
  EXPECT_LE(askedAt[0] - t0, 52 * 3000 + 300);
  EXPECT_EQ(backend().messageBoxes()[0].text,
            "Problem occured when accessing to the internet.\nPlease contact your ISP for "
            "support.\n Ok to retry, Cancel to quit.");
  EXPECT_EQ(backend().messageBoxes()[0].caption, "");
  EXPECT_EQ(main().currentPage, PAGE_WLAN_INTERNET_STAT);
  EXPECT_LE(bar.position(), 20);

  try {
    backend().RunUntil([] { return false; }, 300000);
    FAIL() << "the program did not end";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 1);
  }
  EXPECT_EQ(backend().messageBoxes().size(), 2u);
  EXPECT_EQ(pages->internetWorker(), nullptr);
  EXPECT_EQ(echo->requests(), 0);
}

TEST_F(AdapterFlowTest, TheCompletionButtonOpensTheHelpPageOnlyWhenAsked) {
  main().openInternetPage = false;
  Show(PAGE_WLAN_INS_COMPLETE);
  try {
    ClickOn(main().controls().imgWlanInsCompleteBT);
    FAIL() << "the program did not end";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 0);
  }
  EXPECT_TRUE(shell->calls().empty());
}

}  // namespace
