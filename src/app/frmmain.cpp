#include "app/frmmain.h"

#include <cstdio>

#include "app/executable_path.h"
#include "app/link_state.h"
#include "app/program_windows.h"
#include "config/catalogue.h"
#include "config/defaults_reader.h"
#include "config/dialog_texts.h"
#include "config/settings_file_reader.h"
#include "dialogs/frmshowokcancelmessage.h"
#include "dialogs/frmshowpopmessage.h"
#include "host/winutilities.h"
#include "modem/engine/modemconnect.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/system_info.h"
#include "ui/application.h"

namespace app {
namespace {

constexpr char kCaption[] = "Norvane Quillon";
constexpr char kVersion[] = "2.0.3.5b";
constexpr ui::Color kCream = ui::Rgb(255, 251, 240);

std::string FolderOf(const std::string& path) {
  const auto cut = path.find_last_of(platform::kPathSeparator);
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

TmainForm::TmainForm(ui::Application& app) : ui::Form(app, "mainForm"), c_(*this) {
  SetClientSize(722, 482);
  SetColor(ui::kWhite);
  WireEvents();
  StartUp();
  InstallPageGroups(*this);
}

TmainForm::~TmainForm() = default;

void TmainForm::WireEvents() {
  onShow = [this] { FormShow(); };
  onKeyDown = [this](int key, int shift) { FormKeyDown(key, shift); };
  onClose = [this] { FormClose(); };
  c_.imgExitBT.onClick = [this] { imgExitBTClick(); };
  c_.imgCloseBT.onClick = [this] { imgCloseBTClick(); };
  c_.imgNextBT.onClick = [this] { imgNextBTClick(); };
  c_.cbxLanguages.onChange = [this] { cbxLanguagesChange(); };
  c_.imgBackBT.onClick = [this] { imgBackBTClick(); };
  defaultButton = &c_.imgNextBT;
  // The pages with navigation pictures reveal them on hover; the progress pages have none.
  for (ui::Image* background :
       {&c_.imgPowerLinkBG, &c_.imgEthernetLinkBG, &c_.imgADSLLinkBG, &c_.imgISPSelectionBG,
        &c_.imgStaticIPBG, &c_.imgPPPSettingBG, &c_.imgWRadioSettingBG, &c_.imgWirelessSettingBG,
        &c_.imgEthernetRemoveBG, &c_.imgWlanUsbCheckBG, &c_.imgWirelessRemindSsidDlgBG})
    background->onMouseMove = [this](int x, int y) { navigationHover(x, y); };
}

// The start-up order matters: each step reads what the one before it found, and the skin is
// applied only once every file of the language is in.
void TmainForm::StartUp() {
  processState().osKind = host::PlatformVersionCode();
  exeDir = FolderOf(ExecutablePath());
  quillon::config::loadProfile(customerProfile, exeDir);
  docsDir = exeDir + "Docs" + platform::kPathSeparator;
  ResolveFolders();
  UseLanguageCharset(customerProfile.DefaultLanguage);
  LoadConfiguration();
  LoadIspDatabaseOrEnd();
  qigFileName = systemConfig.qigName;
  acrobatDir = exeDir + "Acrobat" + platform::kPathSeparator;
  applySkin();
  ResetPageState();
  FillLanguageList();
  offerKeyButtons();
}

void TmainForm::ResetPageState() {
  currentPage = 1;
  staticIpSelected = false;
  dslFieldsLocked = true;
  radioEnabled = true;
  pppSelected = true;
  wirelessModule = quillon::config::isWirelessModel(systemConfig.setup);
  linkCheckStep = 1;
  openInternetPage = true;
  profileWritten = false;
}

void TmainForm::ResolveFolders() {
  // Without the language folder every later file is looked up by its bare name in the current
  // directory: langDir stays empty.
  const std::string folder =
      exeDir + "Language" + platform::kPathSeparator + customerProfile.DefaultLanguage;
  langDir = platform::DirectoryExists(folder) ? folder + platform::kPathSeparator : std::string();
}

void TmainForm::LoadConfiguration() {
  quillon::config::loadSystemConfig(systemConfig, langDir,
                                    quillon::config::isKitEdition(customerProfile));
  quillon::config::loadDefaults(systemConfig, langDir);
  quillon::config::loadApplicationMessages(applicationMessages, langDir);
  quillon::config::loadDialogTexts(langDir);
  quillon::config::loadCommonMessages(commonMessages, langDir);
}

void TmainForm::LoadIspDatabaseOrEnd() {
  ispDatabase.ispFileName = systemConfig.setup.ISPFileList;
  if (quillon::config::loadIspDatabase(ispDatabase, langDir, systemConfig.supportUrl)) {
    LogDroppedProviders();
    return;
  }
  // The skinned dialogs do not exist yet: the plain message box is all there is.
  std::string text = quillon::config::expandLineBreaks(applicationMessage(3));
  if (text.empty()) {
    text = StartFailureText();
    app().backend().SetMessageCharset(quillon::config::kAnsiCharset);
  }
  app().MessageBox(text);
  app().Halt(0);
}

// The lists keep their limits; what an edition loses to them is told to its author, who sees
// the log, rather than silently missing for the user.
void TmainForm::LogDroppedProviders() const {
  if (ispDatabase.droppedCountries == 0 && ispDatabase.droppedIsps == 0) return;
  std::fprintf(stderr,
               "%s%s: %d countries beyond the first %d and %d providers beyond %d in a country "
               "are not shown\n",
               langDir.c_str(), ispDatabase.ispFileName.c_str(), ispDatabase.droppedCountries,
               quillon::config::kMaxCountries, ispDatabase.droppedIsps,
               quillon::config::kMaxIspsPerCountry);
}

// Without a catalogue the message would be an empty box; the edition's author needs to know
// which file or setting to mend, so this one text is built in, in English.
std::string TmainForm::StartFailureText() const {
  const std::string setupIni = exeDir + "setup.ini";
  if (langDir.empty()) {
    const std::string folder =
        exeDir + "Language" + platform::kPathSeparator + customerProfile.DefaultLanguage;
    return "The wizard cannot start: DefaultLanguage=" + customerProfile.DefaultLanguage + " in " +
           setupIni + " names no language folder (" + folder + " is missing).";
  }
  if (ispDatabase.ispFileName.empty())
    return "The wizard cannot start: the settings file in " + langDir +
           " names no provider database (ISPFileList), and " + langDir +
           "application.err has no message 3.";
  return "The wizard cannot start: the provider database " + langDir + ispDatabase.ispFileName +
         " cannot be read, and " + langDir + "application.err has no message 3.";
}

// Every text of a language folder is written in that language's code page; the lists and
// message boxes that show them must decode them with it, whatever the PC's own code page is.
void TmainForm::UseLanguageCharset(const std::string& languageName) {
  quillon::config::setDialogCharset(languageName);
  const int charset = quillon::config::dialogCharset();
  for (ui::ComboBox* list : {&c_.cbxLanguages, &c_.cbxDSLCountry, &c_.cbxDSLISP})
    list->SetFontCharset(charset);
  app().backend().SetMessageCharset(charset);
}

void TmainForm::FillLanguageList() {
  if (customerProfile.isMultiLang == 0) return;
  auto& list = c_.cbxLanguages;
  list.Clear();
  int selected = -1;
  for (int i = 0; i < static_cast<int>(quillon::config::languageNames.size()); ++i) {
    if (!quillon::config::isLanguageOffered(customerProfile, i)) continue;
    const std::string name(quillon::config::languageNames[i]);
    if (name == customerProfile.DefaultLanguage) selected = static_cast<int>(list.items().size());
    list.AddItem(name);
  }
  if (selected < 0) return;
  list.SetItemIndex(selected);
}

std::string TmainForm::applicationMessage(int n) const {
  return quillon::config::applicationMessage(applicationMessages, n);
}

void TmainForm::FormShow() {
  SetSize(725, 485);
  CentreOnScreen(app().backend().screenWidth(), app().backend().screenHeight());
  SetColor(kCream);
  SetCaption(kCaption);
}

void TmainForm::FormKeyDown(int key, int shift) {
  if ((shift & ui::kShiftAlt) == 0) return;
  char text[128];
  if (key == ui::kKeyF2) {
    std::snprintf(text, sizeof text, "Version No. %s", kVersion);
    app().MessageBox(text);
  } else if (key == ui::kKeyF10) {
    app().MessageBox(platform::SystemDefaultLanguageName());
  } else if (key == ui::kKeyF12) {
    // The modem engine's diagnostic window, for support engineers: its log and its button.
    auto& engine = *windows().modemConnect;
    if (engine.visible())
      engine.Hide();
    else
      engine.Show();
  }
}

void TmainForm::imgExitBTClick() {
  app().SetCursor(ui::Cursor::HourGlass);
  app().Halt(0);
}

void TmainForm::imgCloseBTClick() {
  app().Halt(0);
}

// Closed by the window manager, Alt+F4 or the system's End task, the window would only hide:
// the program would run on unseen with its single-instance mark held, and every later start
// would end at once. Closing it ends the program as the Exit picture does.
void TmainForm::FormClose() {
  app().Halt(0);
}

// Catalogue lines write a line break as backslash-n. The two dialogs turn it into a break
// themselves, so that no message, from whichever page, shows the two characters.
void TmainForm::showPopMessage(const std::string& text) {
  auto& dialog = *windows().showPopMessage;
  dialog.lblShowMessage.SetWidth(345);
  dialog.lblShowMessage.SetHeight(97);
  dialog.lblShowMessage.SetCaption(quillon::config::expandLineBreaks(text));
  dialog.ShowModal();
}

int TmainForm::showOkCancelMessage(const std::string& text) {
  auto& dialog = *windows().showOkCancelMessage;
  dialog.lblShowMessage.SetWidth(345);
  dialog.lblShowMessage.SetHeight(97);
  dialog.lblShowMessage.SetCaption(quillon::config::expandLineBreaks(text));
  return dialog.ShowModal();
}

}  // namespace app
