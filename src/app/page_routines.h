#pragma once

#include <functional>
#include <string>

namespace app {

// The page machine's calls into the pages' own behaviour: the checks, validations and actions
// that decide or follow a transition. The page groups install their routines when the main
// window is built; tests of the transition tables install their own. A routine left empty does
// nothing, validates nothing (false) and reports no success.
struct PageRoutines {
  // Link checks and the actions on showing a page.
  std::function<void()> startEthernetCheck;
  std::function<void()> startAdslCheck;
  std::function<void()> startHardwareCheck;
  std::function<void()> initRadioPage;
  std::function<void()> initWirelessPage;
  std::function<void()> fillCountries;
  std::function<void()> showKeyHelp;
  std::function<void()> layOutRemindPage;
  std::function<void()> startSoftwareCheck;
  std::function<void()> startDriverInstallation;
  std::function<void()> startWirelessInternetTest;
  // Leaving a page.
  std::function<bool()> validateIspPage;
  std::function<bool()> validateStaticIpPage;
  std::function<bool()> validatePppPage;
  std::function<bool()> validateWirelessPage;
  std::function<void()> collectSettings;
  std::function<bool()> writeWirelessProfile;
  // The adapter flow's tests before its pages.
  std::function<bool()> ethernetStillConnected;
  std::function<bool()> adapterPresent;
  std::function<void()> runDriverCopier;
  // The router password the modem reported in its discovery answer.
  std::function<std::string()> routerPassword;
};

}  // namespace app
