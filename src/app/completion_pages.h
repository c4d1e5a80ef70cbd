#pragma once

#include <string>

#include "app/page_group.h"

namespace app {

class TmainForm;

// The two completion pages: the kit's (open the local internet help, or go on to the wireless
// adapter) and the modem-only one. Their buttons are pictures that show only under the mouse;
// all but the adapter button end the program.
class CompletionPages : public PageGroup {
 public:
  explicit CompletionPages(TmainForm& form);

  void imgInstallCompleteBGMouseMove(int x, int y);
  void imgInstallCompleteAloneBGMouseMove(int x, int y);
  void imgInsCompleteBTClick();
  void imgInsBrowseClick();
  void imgInsWLANUSBClick();
  void imgInsCompleteAloneBTClick();
  void imgInsCompleteAloneBrowseBTClick();

 private:
  // Opens one of the local help pages of the Internet folder; the shell's answer changes
  // nothing, the program ends either way.
  void OpenHelpPage(const char* file);

  TmainForm& form_;
};

}  // namespace app
