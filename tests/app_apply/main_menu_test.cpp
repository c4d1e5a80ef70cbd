// The main menu: hover, the document and program buttons through a recording shell, the
// adapter package question and the start of the quick installation with a recording DHCP client.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "apply_fixture.h"

namespace {

using namespace app;

class MainMenuTest : public ApplyWizardTest {
 protected:
  void StartEdition(int isBundle) {
    SetProfile("GE", isBundle);
    Start();
  }
  std::vector<ui::Image*> MenuButtons() {
    auto& c = main().controls();
    return {&c.imgViewManualBT,   &c.imgViewQIGBT, &c.imgAcrobatBT,    &c.imgTechnicalSupportBT,
            &c.imgQuickInstallBT, &c.imgCloseBT,   &c.imgViewKXManual, &c.imgInstallKX};
  }
  std::vector<std::string> VisibleButtons() {
    std::vector<std::string> names;
    for (ui::Image* button : MenuButtons())
      if (button->visible()) names.push_back(button->name());
    return names;
  }
  void Hover(int x, int y) { backend().MoveMouse(main(), x, y); }
  // A catalogue line as a user reads it: each backslash-n is a line break.
  std::string Shown(int n) {
    std::string text = Message(n);
    for (auto at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
      text.replace(at, 2, "\n");
    return text;
  }
};

TEST_F(MainMenuTest, HoverRevealsTheButtonUnderTheMouseEdgesIncluded) {
  StartEdition(0);
  auto& c = main().controls();
  for (ui::Image* button : {&c.imgViewManualBT, &c.imgViewQIGBT, &c.imgAcrobatBT,
                            &c.imgTechnicalSupportBT, &c.imgQuickInstallBT, &c.imgCloseBT}) {
    SCOPED_TRACE(button->name());
    ASSERT_GT(button->width(), 0);
    const int corners[][2] = {{button->left() + button->width() / 2, button->top() + 2},
                              {button->left(), button->top()},
                              {button->left() + button->width(), button->top() + button->height()}};
    for (const auto& point : corners) {
      Hover(0, 0);  // away first: the background takes the move, not the shown button
      Hover(point[0], point[1]);
      EXPECT_EQ(VisibleButtons(), std::vector<std::string>{button->name()});
      EXPECT_EQ(backend().cursor(), ui::Cursor::HandPoint);
    }
  }
  Hover(5, 5);
  EXPECT_TRUE(VisibleButtons().empty());
  EXPECT_EQ(backend().cursor(), ui::Cursor::Arrow);
}

TEST_F(MainMenuTest, TheAdapterButtonsNeverShowOutsideTheKitEvenWhereTheyWouldBe) {
  StartEdition(0);
  auto& c = main().controls();
  // Give them pictures' worth of area where the kit's skin puts them.
  const int left = quillon::config::layoutValue(main().systemConfig, "IMG_InstallKXU", "Left");
  const int top = quillon::config::layoutValue(main().systemConfig, "IMG_InstallKXU", "Top");
  ASSERT_GT(left, 0);
  c.imgInstallKX.SetBounds(left, top, 120, 40);
  c.imgViewKXManual.SetBounds(c.imgViewManualBT.left(), c.imgViewManualBT.top(), 120, 40);
  Hover(left + 10, top + 10);
  EXPECT_TRUE(VisibleButtons().empty());
  Hover(c.imgViewManualBT.left() + 3, c.imgViewManualBT.top() + 3);
  EXPECT_EQ(VisibleButtons(), std::vector<std::string>{"imgViewManualBT"});
  // Clicking their area reaches only the background or the modem's button.
  shell.answer = platform::kShellStarted;
  backend().ClickAt(main(), left + 10, top + 10);
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_TRUE(questions.empty());
}

TEST_F(MainMenuTest, InTheKitTheAdapterButtonsShowBesideTheModemButtons) {
  StartEdition(1);
  auto& c = main().controls();
  ASSERT_GT(c.imgInstallKX.width(), 0);
  Hover(0, 0);
  Hover(c.imgInstallKX.left() + 1, c.imgInstallKX.top() + 1);
  EXPECT_EQ(VisibleButtons(), std::vector<std::string>{"imgInstallKX"});
  // The adapter buttons are tested on their own: one may show beside a modem button.
  c.imgViewKXManual.SetBounds(c.imgViewQIGBT.left(), c.imgViewQIGBT.top(), 50, 20);
  Hover(0, 0);
  Hover(c.imgViewQIGBT.left() + 1, c.imgViewQIGBT.top() + 1);
  EXPECT_EQ(VisibleButtons(), (std::vector<std::string>{"imgViewQIGBT", "imgViewKXManual"}));
}

TEST_F(MainMenuTest, AnyNonZeroIsBundleIsTheWholeKitNotHalfOfIt) {
  // The kit's skin and its menu's hover must agree: isBundle=2 loads the adapter buttons, so
  // they must also light under the mouse.
  StartEdition(2);
  auto& c = main().controls();
  ASSERT_GT(c.imgInstallKX.width(), 0);
  Hover(0, 0);
  Hover(c.imgInstallKX.left() + 1, c.imgInstallKX.top() + 1);
  EXPECT_EQ(VisibleButtons(), std::vector<std::string>{"imgInstallKX"});
}

struct ButtonCase {
  const char* button;
  bool kit;
  const char* opened;  // a file of the CD, or an address
  bool onTheCd;
  int failureMessage;  // -1: none
};
void PrintTo(const ButtonCase& c, std::ostream* os) {
  *os << c.button;
}

class MainMenuButtons : public MainMenuTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(MainMenuButtons, OpenWithTheShellAndReportOnlyResultsBelow32) {
  const ButtonCase& param = GetParam();
  StartEdition(param.kit ? 1 : 0);
  auto* button = dynamic_cast<ui::Image*>(main().Find(param.button));
  ASSERT_NE(button, nullptr);
  const std::string expected = param.onTheCd ? cd_.native(param.opened) : std::string(param.opened);
  for (int code : {platform::kShellFileNotFound, 31, 32, platform::kShellStarted}) {
    SCOPED_TRACE(code);
    shell.requests.clear();
    popMessages.clear();
    shell.answer = code;
    HoverAndClick(*button);
    ASSERT_EQ(shell.requests.size(), 1u);
    const auto& request = shell.requests[0];
    EXPECT_EQ(request.file, expected);
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.parameters, "");
    EXPECT_EQ(request.workingFolder, "");
    EXPECT_EQ(request.showMode, platform::ShowMode::kNormal);
    if (code < 32 && param.failureMessage >= 0)
      EXPECT_EQ(popMessages, std::vector<std::string>{Shown(param.failureMessage)});
    else
      EXPECT_TRUE(popMessages.empty());
    EXPECT_EQ(main().currentPage, PAGE_MAIN_MENU);
    EXPECT_TRUE(main().controls().imgMainMenu.visible());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Each, MainMenuButtons,
    ::testing::Values(ButtonCase{"imgViewManualBT", false, "Docs/manual_english.pdf", true, 2},
                      ButtonCase{"imgViewQIGBT", false, "Docs/qig_english.pdf", true, 1},
                      ButtonCase{"imgAcrobatBT", false, "Acrobat/pdfreader.exe", true, 3},
                      ButtonCase{"imgTechnicalSupportBT", false,
                                 "http://www.norvane.example/support", false, -1},
                      ButtonCase{"imgViewKXManual", true, "Docs/kxu_manual_english.pdf", true, 2}),
    [](const auto& p) { return std::string(p.param.button); });

TEST_F(MainMenuTest, AnEmptySupportAddressIsHandedToTheShellAsItIs) {
  StartEdition(0);
  main().systemConfig.supportUrl.clear();
  shell.answer = platform::kShellFileNotFound;
  HoverAndClick(main().controls().imgTechnicalSupportBT);
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].file, "");
  EXPECT_TRUE(popMessages.empty());
}

TEST_F(MainMenuTest, CancelInTheAdapterQuestionKeepsTheMenu) {
  StartEdition(1);
  questionAnswer = ui::kMrCancel;
  const auto code = ExitCodeOf([&] { HoverAndClick(main().controls().imgInstallKX); });
  EXPECT_FALSE(code.has_value());
  EXPECT_EQ(questions, std::vector<std::string>{Message(27)});
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_EQ(main().currentPage, PAGE_MAIN_MENU);
}

TEST_F(MainMenuTest, OkInTheAdapterQuestionStartsThePackageAndEndsWithZeroEvenWhenItFails) {
  StartEdition(1);
  for (int answer : {platform::kShellStarted, platform::kShellPathNotFound}) {
    SCOPED_TRACE(answer);
    shell.requests.clear();
    popMessages.clear();
    shell.answer = answer;
    const auto code = ExitCodeOf([&] { HoverAndClick(main().controls().imgInstallKX); });
    EXPECT_EQ(code, 0);
    ASSERT_EQ(shell.requests.size(), 1u);
    // The test runs in a folder of its own: the package beside the program is started.
    EXPECT_EQ(shell.requests[0].file, cd_.native("KXU-300_v1.10b05_20070529/setup.exe"));
    EXPECT_EQ(shell.requests[0].workingFolder, "");
    if (answer < 32)
      EXPECT_EQ(popMessages, std::vector<std::string>{Message(28)});
    else
      EXPECT_TRUE(popMessages.empty());
  }
  EXPECT_EQ(AdapterPackagePath(), NativePath("KXU-300_v1.10b05_20070529/setup.exe"));
}

TEST_F(MainMenuTest, TheGuidesAndManualsFollowTheLanguageSwitchedTo) {
  StartEdition(0);
  auto& languages = main().controls().cbxLanguages;
  const auto& items = languages.items();
  const auto russian = std::find(items.begin(), items.end(), "Russian");
  ASSERT_NE(russian, items.end());
  languages.UserSelect(static_cast<int>(russian - items.begin()));
  shell.answer = platform::kShellStarted;
  HoverAndClick(main().controls().imgViewQIGBT);
  HoverAndClick(main().controls().imgViewManualBT);
  ASSERT_EQ(shell.requests.size(), 2u);
  EXPECT_EQ(shell.requests[0].file, cd_.native("Docs/qig_russian.pdf"));
  EXPECT_EQ(shell.requests[1].file, cd_.native("Docs/manual_russian.pdf"));
}

TEST_F(MainMenuTest, CloseEndsTheProgramWithZero) {
  StartEdition(0);
  EXPECT_EQ(ExitCodeOf([&] { HoverAndClick(main().controls().imgCloseBT); }), 0);
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(MainMenuTest, QuickInstallRenewsEveryLeaseUnderTheHourGlassThenShowsThePowerPage) {
  StartEdition(0);
  dhcp.adapters = {{"eth-static", 2, false}, {"eth-dhcp", 3, true}};
  ui::Cursor cursorDuringRenewal = ui::Cursor::Arrow;
  dhcp.onOpen = [&] { cursorDuringRenewal = backend().cursor(); };
  HoverAndClick(main().controls().imgQuickInstallBT);
  EXPECT_EQ(dhcp.sessions, 1);
  EXPECT_EQ(dhcp.calls,
            (std::vector<std::string>{"enable eth-static", "release eth-static", "renew eth-static",
                                      "release eth-dhcp", "renew eth-dhcp"}));
  EXPECT_EQ(cursorDuringRenewal, ui::Cursor::HourGlass);
  EXPECT_EQ(backend().cursor(), ui::Cursor::Arrow);
  EXPECT_EQ(main().currentPage, PAGE_POWER_LINK);
  EXPECT_TRUE(main().controls().imgPowerLinkBG.visible());
  EXPECT_FALSE(main().controls().imgMainMenu.visible());
  EXPECT_TRUE(popMessages.empty());
}

TEST_F(MainMenuTest, AFailedRenewalDoesNotStopTheQuickInstallation) {
  StartEdition(0);
  dhcp.refuse = true;
  HoverAndClick(main().controls().imgQuickInstallBT);
  EXPECT_EQ(dhcp.sessions, 1);
  EXPECT_TRUE(dhcp.calls.empty());
  EXPECT_EQ(main().currentPage, PAGE_POWER_LINK);
  EXPECT_TRUE(popMessages.empty());
}

}  // namespace
