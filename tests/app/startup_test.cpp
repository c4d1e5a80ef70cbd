#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/process_entry.h"
#include "app/wizard_fixture.h"
#include "modem/engine/modemconnect.h"
#include "platform/environment.h"
#include "platform/process.h"
#include "platform/system_info.h"

namespace {

std::string ExpandBackslashN(std::string text) {
  for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
    text.replace(at, 2, "\n");
  return text;
}

TEST_F(WizardTest, StartsOnTheSampleEditionWithTheMainMenuShowing) {
  ASSERT_EQ(StartUp(), -1);
  auto& w = main();
  auto& c = w.controls();
  EXPECT_EQ(w.exeDir, cd_.folder());
  EXPECT_EQ(w.langDir, cd_.native("Language/English/"));
  EXPECT_EQ(w.docsDir, cd_.native("Docs/"));
  EXPECT_EQ(w.acrobatDir, cd_.native("Acrobat/"));
  EXPECT_EQ(w.qigFileName, w.systemConfig.qigName);
  EXPECT_FALSE(w.qigFileName.empty());
  EXPECT_EQ(w.currentPage, 1);
  EXPECT_TRUE(w.wirelessModule);
  EXPECT_TRUE(w.pppSelected);
  EXPECT_TRUE(w.dslFieldsLocked);
  EXPECT_GE(w.ispDatabase.countryCount, 10);
  EXPECT_GE(w.applicationMessages.lines.size(), 31u);
  EXPECT_EQ(w.applicationMessage(3), cd_.CatalogueLine("English", "application.err", 3));

  // The main menu is what shows; every other page picture is loaded but hidden.
  ASSERT_TRUE(c.imgMainMenu.picture());
  EXPECT_TRUE(c.imgMainMenu.visible());
  EXPECT_EQ(c.imgMainMenu.width(), 720);
  EXPECT_EQ(c.imgMainMenu.height(), 480);
  EXPECT_EQ(c.imgMainMenu.left(), 1);
  EXPECT_EQ(c.imgMainMenu.top(), 1);
  for (ui::Image* page : {&c.imgPowerLinkBG, &c.imgISPSelectionBG, &c.imgCheckSWLinkBG,
                          &c.imgInstallCompleteAloneBG, &c.imgWirelessRemindSsidDlgBG}) {
    EXPECT_TRUE(page->picture()) << page->name();
    EXPECT_FALSE(page->visible()) << page->name();
  }
  EXPECT_EQ(c.imgCloseBT.left(), std::stoi(cd_.SettingsValue("English", "IMG_CloseBT.Left")));
  EXPECT_EQ(c.imgCloseBT.top(), std::stoi(cd_.SettingsValue("English", "IMG_CloseBT.Top")));
  // The kit-only buttons and pages stay unloaded outside the kit edition.
  EXPECT_FALSE(c.imgInstallKX.picture());
  EXPECT_FALSE(c.imgWlanInsCompleteBG.picture());

  EXPECT_TRUE(c.cbxLanguages.visible());
  EXPECT_EQ(c.cbxLanguages.items(), (std::vector<std::string>{"English", "German", "Russian"}));
  EXPECT_EQ(c.cbxLanguages.text(), "English");
  EXPECT_EQ(c.cbxLanguages.width(), std::stoi(cd_.SettingsValue("English", "CB_Languages.Width")));
  EXPECT_TRUE(backend().messageBoxes().empty());
}

TEST_F(WizardTest, ShowingTheWindowSetsItsSizePlaceColourAndCaption) {
  ASSERT_EQ(StartUp(), -1);
  main().Show();
  EXPECT_EQ(main().width(), 725);
  EXPECT_EQ(main().height(), 485);
  EXPECT_EQ(main().left(), (1024 - 725) / 2);
  EXPECT_EQ(main().top(), (768 - 485) / 2);
  EXPECT_EQ(main().color(), 15793151u);
  EXPECT_EQ(main().caption(), "Norvane Quillon");
}

TEST_F(WizardTest, MissingIspDatabaseShowsMessageThreeAndEndsBeforeAnyWindowShows) {
  cd_.Remove("Language/English/isplist.txt");
  EXPECT_EQ(StartUp(), 0);
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  const std::string raw = cd_.CatalogueLine("English", "application.err", 3);
  ASSERT_NE(raw.find("\\n"), std::string::npos) << "the sample message 3 should carry a \\n";
  EXPECT_EQ(backend().messageBoxes()[0].text, ExpandBackslashN(raw));
  EXPECT_TRUE(backend().visibleForms().empty());
}

TEST_F(WizardTest, TheFatalBoxReadsInTheLanguagesCodePage) {
  // A Russian edition's box is decoded as Windows-1251, whatever the PC's code page.
  cd_.Write("setup.ini", "[Profile]\r\nDefaultLanguage=Russian\r\n");
  cd_.Remove("Language/Russian/isplist.txt");
  EXPECT_EQ(StartUp(), 0);
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_EQ(backend().messageBoxes()[0].text,
            ExpandBackslashN(cd_.CatalogueLine("Russian", "application.err", 3)));
  EXPECT_EQ(backend().messageBoxes()[0].charset, 204);
}

TEST_F(WizardTest, AMisspeltDefaultLanguageNamesTheSettingInsteadOfAnEmptyBox) {
  cd_.Write("setup.ini", "[Profile]\r\nDefaultLanguage=Engilsh\r\n");
  EXPECT_EQ(StartUp(), 0);
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_NE(backend().messageBoxes()[0].text.find("DefaultLanguage=Engilsh"), std::string::npos)
      << backend().messageBoxes()[0].text;
}

TEST_F(WizardTest, TheIspDatabaseIsCheckedAfterTheCataloguesAndBeforeTheSkin) {
  // With both the database and a picture gone, the database ends the start-up first, with the
  // message of the freshly loaded catalogue.
  cd_.Remove("Language/English/isplist.txt");
  cd_.Remove(std::filesystem::path("Language/English") /
             cd_.SettingsValue("English", "IMG_MainMenuDlgBG.Picture"));
  EXPECT_EQ(StartUp(), 0);
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_EQ(backend().messageBoxes()[0].text,
            ExpandBackslashN(cd_.CatalogueLine("English", "application.err", 3)));
}

TEST_F(WizardTest, MissingPictureIsShownByTheExceptionGuardAndNoWindowOpens) {
  const std::string picture = cd_.SettingsValue("English", "IMG_PowerLinkHelpDlgBG.Picture");
  cd_.Remove(std::filesystem::path("Language/English") / picture);
  EXPECT_EQ(app::RunProcessEntry(*app_), 0);
  ASSERT_EQ(backend().messageBoxes().size(), 1u);
  EXPECT_NE(backend().messageBoxes()[0].text.find(picture), std::string::npos)
      << backend().messageBoxes()[0].text;
  EXPECT_TRUE(backend().visibleForms().empty());
  EXPECT_FALSE(app::windows().mainForm);
}

TEST_F(WizardTest, ARouterEditionStartsWithoutThePicturesOfTheAdapterPages) {
  // The adapter's pages belong to the kit edition: a router edition's CD may leave them out.
  for (const char* key :
       {"IMG_EthernetRemoveDlgBG.Picture", "IMG_WlanInstallCompleteDlgOKBT.Picture"})
    cd_.Remove(std::filesystem::path("Language/English") / cd_.SettingsValue("English", key));
  ASSERT_EQ(StartUp(), -1);
  EXPECT_TRUE(main().controls().imgMainMenu.visible());
  EXPECT_TRUE(backend().messageBoxes().empty());
}

TEST_F(WizardTest, MissingLanguageFolderLooksForTheFilesInTheCurrentDirectory) {
  cd_.Write("setup.ini",
            "[Profile]\r\nDefaultLanguage=Klingon\r\nisMultiLang=1\r\n[Language]\r\nEnglish=1\r\n");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(cd_.language("English"));
  const int ended = StartUp();
  // Relative picture names are read from the current directory, as long as it is the same.
  const bool drawn = ended == -1 && main().controls().imgMainMenu.picture() != nullptr;
  std::filesystem::current_path(previous);
  ASSERT_EQ(ended, -1);
  EXPECT_EQ(main().langDir, "");
  EXPECT_TRUE(drawn);
  EXPECT_GE(main().ispDatabase.countryCount, 10);
  // The default language is not on offer, so nothing in the list is selected.
  EXPECT_EQ(main().controls().cbxLanguages.itemIndex(), -1);
}

struct LanguageListCase {
  const char* setupIni;
  std::vector<std::string> items;
  int selected;
  bool visible;
};

class LanguageListTest : public WizardTest,
                         public ::testing::WithParamInterface<LanguageListCase> {};

TEST_P(LanguageListTest, HoldsTheOfferedLanguagesInTableOrder) {
  cd_.Write("setup.ini", GetParam().setupIni);
  ASSERT_EQ(StartUp(), -1);
  const auto& list = main().controls().cbxLanguages;
  EXPECT_EQ(list.items(), GetParam().items);
  EXPECT_EQ(list.itemIndex(), GetParam().selected);
  EXPECT_EQ(list.visible(), GetParam().visible);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, LanguageListTest,
    ::testing::Values(
        LanguageListCase{
            "[Profile]\nisMultiLang=0\n[Language]\nEnglish=1\nGerman=1\n", {}, -1, false},
        LanguageListCase{"[Profile]\nisMultiLang=1\nDefaultLanguage=German\n"
                         "[Language]\nRussian=1\nGerman=1\n",
                         {"German", "Russian"},
                         0,
                         true},
        LanguageListCase{"[Profile]\nisMultiLang=1\nDefaultLanguage=Russian\n"
                         "[Language]\nRussian=1\nGerman=1\nEnglish=1\n",
                         {"English", "German", "Russian"},
                         2,
                         true},
        // Only the value 1 offers a language, and only isMultiLang 1 reads the mask.
        LanguageListCase{"[Profile]\nisMultiLang=2\n[Language]\nEnglish=1\n", {}, -1, true},
        LanguageListCase{
            "[Profile]\nisMultiLang=1\n[Language]\nEnglish=2\nGerman=1\n", {"German"}, -1, true}));

TEST_F(WizardTest, HiddenKeysShowTheVersionAndTheSystemLanguage) {
  ASSERT_EQ(StartUp(), -1);
  platform::SetEnvVar("LC_ALL", "de_DE.UTF-8");
  main().KeyDown(ui::kKeyF2, 0);
  main().KeyDown(ui::kKeyF10, ui::kShiftCtrl);
  EXPECT_TRUE(backend().messageBoxes().empty());
  main().KeyDown(ui::kKeyF2, ui::kShiftAlt);
  main().KeyDown(ui::kKeyF10, ui::kShiftAlt | ui::kShiftShift);
  platform::UnsetEnvVar("LC_ALL");
  ASSERT_EQ(backend().messageBoxes().size(), 2u);
  EXPECT_EQ(backend().messageBoxes()[0].text, "Version No. 2.0.3.5b");
  EXPECT_EQ(backend().messageBoxes()[0].caption, "Norvane Quillon");
  // Linux reads the system language from the locale variables, Windows from the system itself.
#if defined(_WIN32)
  EXPECT_EQ(backend().messageBoxes()[1].text, platform::SystemDefaultLanguageName());
  EXPECT_FALSE(backend().messageBoxes()[1].text.empty());
#else
  EXPECT_EQ(backend().messageBoxes()[1].text, "German");
#endif

  // Alt+F12 opens and closes the modem engine's diagnostic window.
  auto& engine = *app::windows().modemConnect;
  EXPECT_FALSE(engine.visible());
  main().KeyDown(ui::kKeyF12, ui::kShiftAlt);
  EXPECT_TRUE(engine.visible());
  main().KeyDown(ui::kKeyF12, ui::kShiftAlt);
  EXPECT_FALSE(engine.visible());
}

TEST_F(WizardTest, ExitAndCloseEndTheProgramWithCodeZeroAtOnce) {
  ASSERT_EQ(StartUp(), -1);
  main().Show();
  main().controls().imgCloseBT.Show();
  try {
    main().controls().imgCloseBT.Click();
    ADD_FAILURE() << "Close did not end the program";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 0);
  }
  try {
    main().controls().imgExitBT.Click();
    ADD_FAILURE() << "Exit did not end the program";
  } catch (const ui::HaltRequested& halt) {
    EXPECT_EQ(halt.code, 0);
    EXPECT_EQ(app_->cursor(), ui::Cursor::HourGlass);
  }
}

TEST_F(WizardTest, ASecondCopyBuildsItsWindowsAndLeavesItsLoopAtOnce) {
  auto first = platform::CreateNamedMutex("Norvane");
  ASSERT_FALSE(first->alreadyExisted());
  EXPECT_EQ(app::RunProcessEntry(*app_), 0);
  EXPECT_TRUE(backend().quitRequested());
  EXPECT_TRUE(backend().messageBoxes().empty());
}

}  // namespace
