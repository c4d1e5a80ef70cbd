#include "app/main_menu.h"

#include <initializer_list>

#include "app/frmmain.h"
#include "app/page_support.h"
#include "host/winutilities.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "ui/application.h"

namespace app {
namespace {

// Application messages of the menu.
constexpr int kQigNotOpened = 1;
constexpr int kManualNotOpened = 2;
constexpr int kReaderNotStarted = 3;
constexpr int kInstallAdapterQuestion = 27;
constexpr int kAdapterPackageNotStarted = 28;
constexpr int kNoMessage = -1;

constexpr char kReaderInstaller[] = "pdfreader.exe";
constexpr char kAdapterPackageFolder[] = "KXU-300_v1.10b05_20070529";
constexpr char kAdapterPackageProgram[] = "setup.exe";

}  // namespace

std::string AdapterPackagePath() {
  return std::string(kAdapterPackageFolder) + platform::kPathSeparator + kAdapterPackageProgram;
}

MainMenuPages::MainMenuPages(TmainForm& form) : form_(form) {
  auto& c = form.controls();
  c.imgMainMenu.onMouseMove = [this](int x, int y) { imgMainMenuMouseMove(x, y); };
  c.imgViewManualBT.onClick = [this] { imgViewManualBTClick(); };
  c.imgViewQIGBT.onClick = [this] { imgViewQIGBTClick(); };
  c.imgAcrobatBT.onClick = [this] { imgAcrobatBTClick(); };
  c.imgTechnicalSupportBT.onClick = [this] { imgTechnicalSupportBTClick(); };
  c.imgViewKXManual.onClick = [this] { imgViewKXManualClick(); };
  c.imgInstallKX.onClick = [this] { imgInstallKXClick(); };
  c.imgQuickInstallBT.onClick = [this] { imgQuickInstallBTClick(); };
}

bool MainMenuPages::IsKit() const {
  return quillon::config::isKitEdition(form_.customerProfile);
}

// The buttons are pictures that show only under the mouse. The adapter's two buttons are
// tested apart from the others, so one of them may show beside a modem button.
void MainMenuPages::imgMainMenuMouseMove(int x, int y) {
  auto& c = form_.controls();
  const bool modem =
      ShowHoverPicture({&c.imgViewManualBT, &c.imgViewQIGBT, &c.imgAcrobatBT,
                        &c.imgTechnicalSupportBT, &c.imgQuickInstallBT, &c.imgCloseBT},
                       x, y);
  const bool kit = IsKit() && ShowHoverPicture({&c.imgViewKXManual, &c.imgInstallKX}, x, y);
  SetHoverCursor(form_.app(), modem || kit);
}

bool MainMenuPages::Open(const std::string& file, int failureMessage) {
  const int result = platform::ShellOpen(file, "", "", platform::ShowMode::kNormal);
  if (platform::ShellSucceeded(result)) return true;
  if (failureMessage != kNoMessage) form_.showPopMessage(form_.applicationMessage(failureMessage));
  return false;
}

void MainMenuPages::imgViewManualBTClick() {
  Open(form_.docsDir + form_.systemConfig.manualName, kManualNotOpened);
}

void MainMenuPages::imgViewQIGBTClick() {
  Open(form_.docsDir + form_.qigFileName, kQigNotOpened);
}

void MainMenuPages::imgAcrobatBTClick() {
  Open(form_.acrobatDir + kReaderInstaller, kReaderNotStarted);
}

void MainMenuPages::imgTechnicalSupportBTClick() {
  Open(form_.systemConfig.supportUrl, kNoMessage);
}

void MainMenuPages::imgViewKXManualClick() {
  Open(form_.docsDir + form_.systemConfig.kxManualName, kManualNotOpened);
}

// The package installs the adapter's software with its own windows and may restart the PC, so
// the wizard leaves the field to it whether or not it could be started.
void MainMenuPages::imgInstallKXClick() {
  if (form_.showOkCancelMessage(form_.applicationMessage(kInstallAdapterQuestion)) != ui::kMrOk)
    return;
  Open(AdapterPackageToStart(), kAdapterPackageNotStarted);
  form_.app().Halt(0);
}

// The package is named relative to the current folder, which is the CD's root when the CD
// starts the wizard by itself. Started from a shortcut or a file manager, the current folder is
// another one: the package beside the program is taken when there is none in it.
std::string MainMenuPages::AdapterPackageToStart() const {
  const std::string relative = AdapterPackagePath();
  if (platform::FileExists(relative)) return relative;
  const std::string besideProgram = form_.exeDir + relative;
  return platform::FileExists(besideProgram) ? besideProgram : relative;
}

// The renewal gives the PC a lease from the modem's DHCP server before the checks look for
// the modem; a failed renewal is not worth stopping for, so its result is not looked at.
void MainMenuPages::imgQuickInstallBTClick() {
  auto& app = form_.app();
  app.SetCursor(ui::Cursor::HourGlass);
  host::RenewAllDhcpLeases();
  app.SetCursor(ui::Cursor::Arrow);
  form_.goNext();
  form_.showPage();
}

}  // namespace app
