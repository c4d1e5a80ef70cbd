#pragma once

#include <string>

#include "outcome.h"

namespace badinput {

// One run of the wizard's process entry on the headless backend over a CD image, with a user
// that looks at every page it can show without reaching the network or the machine's settings,
// optionally opens the documents of the main menu, and optionally switches the language.
struct RunRequest {
  std::string cdDir;        // the CD image's root, without a trailing separator
  std::string watchedPath;  // a picture whose decoding is watched (the damaged file), or empty
  std::string visit;        // the language to switch to after the start, or empty
  bool openDocuments = false;
  bool listPictures = false;  // report every picture path the run loaded
};

Outcome RunWizard(const RunRequest& request);

}  // namespace badinput
