#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/link_state.h"
#include "app/pages.h"
#include "app/wizard_fixture.h"
#include "config/dialog_texts.h"
#include "dialogs/frmshowpopmessage.h"
#include "ui/exception.h"

namespace {

std::string WithoutLine(const std::string& text, const std::string& prefix) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string line = text.substr(at, end - at);
    if (line.rfind(prefix, 0) != 0) out += line;
    at = end;
  }
  return out;
}

class LanguageSwitchTest : public WizardTest {
 protected:
  void Offer(const std::string& languages) {
    std::string ini = "[Profile]\r\nisMultiLang=1\r\nDefaultLanguage=English\r\n[Language]\r\n";
    for (std::size_t at = 0; at < languages.size();) {
      const std::size_t end = std::min(languages.find(',', at), languages.size());
      ini += languages.substr(at, end - at) + "=1\r\n";
      at = end + 1;
    }
    cd_.Write("setup.ini", ini);
  }
  void SwitchTo(const std::string& name) {
    auto& list = main().controls().cbxLanguages;
    for (std::size_t i = 0; i < list.items().size(); ++i)
      if (list.items()[i] == name) list.UserSelect(static_cast<int>(i));
  }
};

TEST_F(LanguageSwitchTest, ReloadsEverythingFromTheChosenFolderAndShowsTheMainMenuAgain) {
  Offer("English,German,Russian");
  ASSERT_EQ(StartUp(), -1);
  main().Show();
  // A visit to the wizard and back: the switch must start it over.
  main().currentPage = app::PAGE_POWER_LINK;
  main().showPage();
  main().goBack();
  main().showPage();
  main().staticIpSelected = true;
  main().pppSelected = false;
  const std::string englishGuide = main().systemConfig.qigName;

  SwitchTo("German");
  auto& w = main();
  EXPECT_EQ(w.langDir, cd_.native("Language/German/"));
  EXPECT_EQ(w.applicationMessage(5), cd_.CatalogueLine("German", "application.err", 5));
  EXPECT_NE(w.applicationMessage(5), cd_.CatalogueLine("English", "application.err", 5));
  EXPECT_EQ(quillon::config::message(quillon::config::dialogTexts().texts, 1),
            cd_.CatalogueLine("German", "frm.str", 1));
  EXPECT_NE(w.systemConfig.qigName, englishGuide);
  bool defaultCountryListed = false;
  for (int i = 0; i < w.ispDatabase.countryCount; ++i)
    defaultCountryListed |=
        quillon::config::countryAt(w.ispDatabase, i).name == w.systemConfig.defaultCountry;
  EXPECT_TRUE(defaultCountryListed) << w.systemConfig.defaultCountry;
  EXPECT_EQ(
      w.controls().imgMainMenu.picturePath(),
      cd_.native("Language/German/") + cd_.SettingsValue("German", "IMG_MainMenuDlgBG.Picture"));
  EXPECT_EQ(w.currentPage, app::PAGE_MAIN_MENU);
  EXPECT_FALSE(w.staticIpSelected);
  EXPECT_TRUE(w.pppSelected);
  EXPECT_TRUE(w.controls().imgMainMenu.visible());
  EXPECT_FALSE(w.controls().imgPowerLinkBG.visible());
  EXPECT_TRUE(w.controls().cbxLanguages.visible());
  EXPECT_EQ(quillon::config::dialogCharset(), 0);

  SwitchTo("Russian");
  EXPECT_EQ(quillon::config::dialogCharset(), 204);
  EXPECT_EQ(w.controls().cbxLanguages.fontCharset(), 204);
  app::windows().showPopMessage->Paint();
  EXPECT_EQ(app::windows().showPopMessage->lblShowMessage.fontCharset(), 204);
  EXPECT_EQ(w.applicationMessage(5), cd_.CatalogueLine("Russian", "application.err", 5));
}

TEST_F(LanguageSwitchTest, AMissingPictureStopsOnlyItsPageAndIsReportedOnce) {
  Offer("English,German");
  const std::string ppp = cd_.SettingsValue("German", "IMG_PPPSettingDlgBG.Picture");
  cd_.Remove(std::filesystem::path("Language/German") / ppp);
  ASSERT_EQ(StartUp(), -1);
  main().Show();
  SwitchTo("German");
  // The switch shows the German main menu and names the missing picture once.
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_NE(backend().messageBoxes()[0].text.find(ppp), std::string::npos);
  EXPECT_TRUE(main().controls().imgMainMenu.visible());

  // Pages with their pictures show, without the error again.
  main().currentPage = app::PAGE_POWER_LINK;
  main().showPage();
  EXPECT_TRUE(main().controls().imgPowerLinkBG.visible());
  EXPECT_EQ(backend().messageBoxes().size(), 1u);

  // The page without its picture is not entered: the wizard stays where it was.
  main().currentPage = app::PAGE_PPP_SETTING;
  EXPECT_THROW(main().showPage(), ui::PictureError);
  EXPECT_EQ(main().currentPage, app::PAGE_POWER_LINK);
  EXPECT_TRUE(main().controls().imgPowerLinkBG.visible());
  EXPECT_FALSE(main().controls().imgPPPSettingBG.visible());
  // From a progress page, which would start its work again, the wizard goes to the menu.
  app::processState().lastShownPage = app::PAGE_CHECK_SW_LINK;
  main().currentPage = app::PAGE_PPP_SETTING;
  EXPECT_THROW(main().showPage(), ui::PictureError);
  EXPECT_EQ(main().currentPage, app::PAGE_MAIN_MENU);
  EXPECT_TRUE(main().controls().imgMainMenu.visible());
}

TEST_F(LanguageSwitchTest, AMissingFolderFallsBackToTheDefaultLanguageButKeepsItsCharacterSet) {
  Offer("English,German,Russian");
  std::filesystem::remove_all(cd_.language("Russian"));
  ASSERT_EQ(StartUp(), -1);
  SwitchTo("German");
  SwitchTo("Russian");
  EXPECT_EQ(main().langDir, cd_.native("Language/English/"));
  EXPECT_EQ(quillon::config::dialogCharset(), 204);
  EXPECT_EQ(main().applicationMessage(5), cd_.CatalogueLine("English", "application.err", 5));
}

TEST_F(LanguageSwitchTest, WhatTheNewFilesLackKeepsThePreviousLanguagesValue) {
  Offer("English,German");
  const auto germanIni = std::filesystem::path("Language/German/dslutility.ini");
  cd_.Write(germanIni, WithoutLine(cd_.Read(germanIni), "ResetWaitTime="));
  cd_.Write("Language/English/dslutility.ini",
            WithoutLine(cd_.Read("Language/English/dslutility.ini"), "ResetWaitTime=") +
                "ResetWaitTime=77\r\n");
  cd_.Remove("Language/German/common.err");
  ASSERT_EQ(StartUp(), -1);
  ASSERT_EQ(main().systemConfig.setup.ResetWaitTime, 77);
  const auto englishCommon = main().commonMessages.lines;
  ASSERT_FALSE(englishCommon.empty());
  SwitchTo("German");
  EXPECT_EQ(main().systemConfig.setup.ResetWaitTime, 77);
  EXPECT_EQ(main().commonMessages.lines, englishCommon);
  EXPECT_EQ(main().applicationMessage(5), cd_.CatalogueLine("German", "application.err", 5));
}

TEST_F(LanguageSwitchTest, AMissingIspDatabaseEndsTheProgramWithTheNewLanguagesMessage) {
  Offer("English,German");
  cd_.Remove("Language/German/isplist.txt");
  ASSERT_EQ(StartUp(), -1);
  try {
    SwitchTo("German");
    ADD_FAILURE() << "the program went on without its ISP database";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 0);
  }
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  std::string expected = cd_.CatalogueLine("German", "application.err", 3);
  for (auto at = expected.find("\\n"); at != std::string::npos; at = expected.find("\\n", at + 1))
    expected.replace(at, 2, "\n");
  EXPECT_EQ(backend().messageBoxes()[0].text, expected);
}

}  // namespace
