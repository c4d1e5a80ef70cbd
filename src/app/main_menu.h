#pragma once

#include <string>

#include "app/page_group.h"

namespace app {

class TmainForm;

// The main menu: the documents, the document reader's installer, the support address, the
// adapter's manual and package in the kit edition, and the start of the quick installation. The
// menu keeps no state of its own; every button acts at once.
class MainMenuPages : public PageGroup {
 public:
  explicit MainMenuPages(TmainForm& form);

  void imgMainMenuMouseMove(int x, int y);
  void imgViewManualBTClick();
  void imgViewQIGBTClick();
  void imgAcrobatBTClick();
  void imgTechnicalSupportBTClick();
  void imgViewKXManualClick();
  void imgInstallKXClick();
  void imgQuickInstallBTClick();

 private:
  bool IsKit() const;
  // Opens a document, program or address with the shell's "open" verb; false when the shell
  // reports failure. failureMessage < 0: nothing is shown on failure.
  bool Open(const std::string& file, int failureMessage);
  std::string AdapterPackageToStart() const;

  TmainForm& form_;
};

// The adapter's driver package, relative to the process's current folder (or, when it is not
// there, to the program's folder).
std::string AdapterPackagePath();

}  // namespace app
