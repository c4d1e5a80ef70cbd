#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/main_form_controls.h"
#include "app/page_group.h"
#include "app/page_routines.h"
#include "app/page_values.h"
#include "config/catalogue.h"
#include "config/customer_profile.h"
#include "config/isp_database.h"
#include "config/system_config.h"
#include "ui/form.h"

namespace app {

// The wizard's main window: the page pictures and controls, and the state every page shares.
// Its construction is the program's start-up: folders, profile, settings, catalogues, the ISP
// database, the skin and the language list, in that order.
class TmainForm : public ui::Form {
 public:
  explicit TmainForm(ui::Application& app);
  ~TmainForm() override;

  // Window events.
  void FormShow();
  void FormKeyDown(int key, int shift);
  void FormClose();
  void imgExitBTClick();
  void imgCloseBTClick();

  // Every page reports through these (the skinned dialogs).
  void showPopMessage(const std::string& text);
  int showOkCancelMessage(const std::string& text);

  // Loads every page picture and places the controls from the skin.
  // Loads and places the current language's pictures. With `failures` a picture that cannot be
  // loaded is recorded there by its image instead of raising the picture error.
  void applySkin(std::map<const ui::Control*, std::string>* failures = nullptr);

  // The page machine: goNext and goBack only choose the page, showPage lays it out.
  void goNext();
  void goBack();
  void showPage();
  void highlightControl(ui::Control* control);
  void imgNextBTClick();
  void imgBackBTClick();
  // The hover of the page backgrounds: reveals the navigation picture under the mouse.
  void navigationHover(int x, int y);
  bool ButtonsOffered() const override;
  // Makes the current page's picture buttons, and only those, the keyboard's tab stops.
  void offerKeyButtons();

  // The language list's change: reloads everything from the chosen language's folder and shows
  // the main menu again.
  void cbxLanguagesChange();

  // Application message n of the current language; empty when the catalogue has no such line.
  std::string applicationMessage(int n) const;

  MainFormControls& controls() { return c_; }
  const MainFormControls& controls() const { return c_; }

  // The members, in the order the window holds them.
  std::string exeDir;
  std::string langDir;
  std::string docsDir;
  std::string qigFileName;
  std::string acrobatDir;
  quillon::config::Country ispDatabase;
  quillon::config::Catalogue applicationMessages;
  quillon::config::Catalogue commonMessages;
  std::int32_t currentPage = 1;
  bool staticIpSelected = false;
  bool wirelessModule = false;
  bool radioEnabled = true;
  bool ispPageNeedsFill = false;
  PageValues values;
  bool dslFieldsLocked = true;
  std::int32_t linkCheckStep = 1;
  bool rebootWaitDone = false;
  bool pppSelected = true;
  std::int32_t workerTicks = 0;
  bool openInternetPage = true;
  std::int32_t wanStatusTries = 0;
  bool profileWritten = false;
  quillon::config::systemConfig systemConfig;
  quillon::config::customerProfile customerProfile;
  ui::Control* focusControl = nullptr;
  bool highlightVisible = false;

  // What the page groups plug into the page machine, and the groups themselves.
  PageRoutines routines;
  std::vector<std::unique_ptr<PageGroup>> pageGroups;

 private:
  void StartUp();
  void ResolveFolders();
  void LoadConfiguration();
  void LoadIspDatabaseOrEnd();
  void LogDroppedProviders() const;
  std::string StartFailureText() const;
  void UseLanguageCharset(const std::string& languageName);
  void FillLanguageList();
  void ResetPageState();
  void WireEvents();
  void wirelessRule();
  void routerPasswordRule();
  void HideAllPages();
  std::exception_ptr LayOutCurrentPage();
  std::exception_ptr LayOutPageOrStay(const std::map<const ui::Control*, std::string>& failures);
  void ReportPictureFailuresOnce(const std::map<const ui::Control*, std::string>& failures);
  // Picture errors already shown for the current language, so that each is shown once.
  std::set<std::string> reportedPictureErrors;
  void ShowSoftwareLinkPage();

  MainFormControls c_;
};

}  // namespace app
