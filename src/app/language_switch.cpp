#include "app/frmmain.h"
#include "app/link_state.h"
#include "config/catalogue.h"
#include "config/defaults_reader.h"
#include "config/dialog_texts.h"
#include "config/settings_file_reader.h"
#include "platform/files.h"
#include "ui/application.h"
#include "ui/picture_cache.h"

namespace app {

// Every word and picture lives in the language folder, so a switch reloads it all in place:
// values the new files lack keep the previous language's, as the readers never clear first.
void TmainForm::cbxLanguagesChange() {
  const std::string name = c_.cbxLanguages.text();
  UseLanguageCharset(name);

  const std::string sep(1, platform::kPathSeparator);
  const std::string folder = exeDir + "Language" + sep + name;
  langDir = platform::DirectoryExists(folder)
                ? folder + sep
                : exeDir + "Language" + sep + customerProfile.DefaultLanguage + sep;
  ui::PictureCache::Instance().Clear();
  reportedPictureErrors.clear();

  quillon::config::loadSystemConfig(systemConfig, langDir,
                                    quillon::config::isKitEdition(customerProfile));
  quillon::config::loadDefaults(systemConfig, langDir);
  // The quick guide is the one file name the main window copies out of default.ini; without
  // the copy the guide would stay in the start language while the manual follows the switch.
  qigFileName = systemConfig.qigName;
  quillon::config::loadCommonMessages(commonMessages, langDir);
  quillon::config::loadApplicationMessages(applicationMessages, langDir);
  quillon::config::loadDialogTexts(langDir);
  LoadIspDatabaseOrEnd();

  // The wizard starts over at the main menu, laid out anew from the new skin.
  ResetPageState();
  processState().lastShownPage = 0;
  showPage();
}

}  // namespace app
