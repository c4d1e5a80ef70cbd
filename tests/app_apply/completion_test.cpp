// The completion pages: hover pictures and the buttons that open the local help page, go on to
// the adapter flow or end the program.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "apply_fixture.h"

namespace {

using namespace app;

class CompletionTest : public ApplyWizardTest {
 protected:
  // The kit's last page belongs to the kit edition, the other to the router edition: each
  // edition loads only its own.
  void StartFor(int page) {
    SetProfile("GE", page == PAGE_INSTALL_COMPLETE ? 1 : 0);
    Start();
  }
  void Hover(int x, int y) { backend().MoveMouse(main(), x, y); }
  std::vector<std::string> Visible(std::initializer_list<ui::Image*> images) {
    std::vector<std::string> names;
    for (ui::Image* image : images)
      if (image->visible()) names.push_back(image->name());
    return names;
  }
  std::string InternetFolder() { return cd_.native("Language/Internet/"); }
};

TEST_F(CompletionTest, KitPageRevealsTheFirstButtonUnderTheMouse) {
  StartFor(PAGE_INSTALL_COMPLETE);
  ShowPage(PAGE_INSTALL_COMPLETE);
  auto& c = main().controls();
  const auto all = {&c.imgInsCompleteBT, &c.imgInsWLANUSB, &c.imgInsBrowse};
  for (ui::Image* button : all) {
    SCOPED_TRACE(button->name());
    ASSERT_GT(button->width(), 0);
    Hover(2, 2);
    EXPECT_TRUE(Visible(all).empty());
    EXPECT_EQ(backend().cursor(), ui::Cursor::Arrow);
    Hover(button->left() + button->width(), button->top() + button->height());
    EXPECT_EQ(Visible(all), std::vector<std::string>{button->name()});
    EXPECT_EQ(backend().cursor(), ui::Cursor::HandPoint);
  }
  // Where two overlap, only the first in order shows.
  c.imgInsBrowse.SetBounds(c.imgInsWLANUSB.left(), c.imgInsWLANUSB.top(), 30, 30);
  Hover(2, 2);
  Hover(c.imgInsWLANUSB.left() + 1, c.imgInsWLANUSB.top() + 1);
  EXPECT_EQ(Visible(all), std::vector<std::string>{"imgInsWLANUSB"});
}

TEST_F(CompletionTest, AlonePageTestsItsTwoButtonsEachOnItsOwn) {
  StartFor(PAGE_INSTALL_COMPLETE_ALONE);
  ShowPage(PAGE_INSTALL_COMPLETE_ALONE);
  auto& c = main().controls();
  const auto all = {&c.imgInsCompleteAloneBT, &c.imgInsCompleteAloneBrowseBT};
  for (ui::Image* button : all) {
    SCOPED_TRACE(button->name());
    Hover(2, 2);
    EXPECT_TRUE(Visible(all).empty());
    Hover(button->left() + 1, button->top() + 1);
    EXPECT_EQ(Visible(all), std::vector<std::string>{button->name()});
    EXPECT_EQ(backend().cursor(), ui::Cursor::HandPoint);
  }
  c.imgInsCompleteAloneBrowseBT.SetBounds(c.imgInsCompleteAloneBT.left(),
                                          c.imgInsCompleteAloneBT.top(), 30, 30);
  Hover(2, 2);
  Hover(c.imgInsCompleteAloneBT.left() + 1, c.imgInsCompleteAloneBT.top() + 1);
  EXPECT_EQ(Visible(all).size(), 2u);
}

struct CompletionButton {
  int page;
  const char* button;
  bool openInternetPage;
  const char* opened;  // nullptr: nothing is opened
  bool ends;           // false: the adapter flow follows
};
void PrintTo(const CompletionButton& c, std::ostream* os) {
  *os << c.button;
}

class CompletionButtons : public CompletionTest,
                          public ::testing::WithParamInterface<CompletionButton> {};

TEST_P(CompletionButtons, OpenTheHelpPageAndEndOrGoOn) {
  const CompletionButton& param = GetParam();
  StartFor(param.page);
  for (int shellAnswer : {platform::kShellStarted, platform::kShellFileNotFound}) {
    SCOPED_TRACE(shellAnswer);
    shell.answer = shellAnswer;
    shell.requests.clear();
    app::processState().lastShownPage = 0;
    ShowPage(param.page);
    main().openInternetPage = param.openInternetPage;
    auto* button = dynamic_cast<ui::Image*>(main().Find(param.button));
    ASSERT_NE(button, nullptr);
    const std::optional<int> code = ExitCodeOf([&] { HoverAndClick(*button); });
    if (param.ends) {
      EXPECT_EQ(code, 0);
    } else {
      EXPECT_FALSE(code.has_value());
      EXPECT_EQ(main().currentPage, PAGE_ETHERNET_REMOVE);
      EXPECT_TRUE(main().controls().imgEthernetRemoveBG.visible());
    }
    if (param.opened) {
      ASSERT_EQ(shell.requests.size(), 1u);
      EXPECT_EQ(shell.requests[0].file, param.opened);
      EXPECT_EQ(shell.requests[0].workingFolder, InternetFolder());
      EXPECT_EQ(shell.requests[0].verb, "open");
      EXPECT_EQ(shell.requests[0].showMode, platform::ShowMode::kNormal);
    } else {
      EXPECT_TRUE(shell.requests.empty());
    }
    EXPECT_TRUE(popMessages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Each, CompletionButtons,
    ::testing::Values(
        CompletionButton{PAGE_INSTALL_COMPLETE, "imgInsCompleteBT", true, "Internet.htm", true},
        CompletionButton{PAGE_INSTALL_COMPLETE, "imgInsCompleteBT", false, nullptr, true},
        CompletionButton{PAGE_INSTALL_COMPLETE, "imgInsBrowse", true, "SurfInternet.htm", true},
        CompletionButton{PAGE_INSTALL_COMPLETE, "imgInsBrowse", false, nullptr, true},
        CompletionButton{PAGE_INSTALL_COMPLETE, "imgInsWLANUSB", true, nullptr, false},
        CompletionButton{PAGE_INSTALL_COMPLETE_ALONE, "imgInsCompleteAloneBT", false,
                         "Internet.htm", true},
        CompletionButton{PAGE_INSTALL_COMPLETE_ALONE, "imgInsCompleteAloneBrowseBT", true,
                         "Internet.htm", true}),
    [](const auto& p) {
      return std::string(p.param.button) + (p.param.openInternetPage ? "_open" : "_quiet");
    });

}  // namespace
