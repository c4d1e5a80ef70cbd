#pragma once

#include <optional>
#include <string>
#include <vector>

namespace badinput {

// What one run of the wizard on a CD image showed, as the probe reports it to the test.
struct Outcome {
  std::string damage;    // the damage name, or "pristine"
  int exitCode = -1;     // the process's code: Halt's, or the entry's return value
  bool halted = false;   // the program ended itself (the ISP database message)
  bool stalled = false;  // the headless loop found itself stuck (a hang in the making)
  // Where the run was when it ended or last showed a message: "start", "tour", "switch",
  // "tour-after-switch"; "done" when it went through to the end.
  std::string endedIn;
  bool started = false;   // the main window is up with the main menu showing
  bool switched = false;  // the language switch ended on the main menu of that language
  std::string langDir;
  std::string switchedLangDir;
  std::vector<std::string> languages;  // the language list's items
  bool languagesVisible = false;
  int countryCount = -1;
  std::string qigFileName;
  std::vector<std::string> boxes;      // plain message boxes, in order
  std::vector<std::string> boxPhases;  // the phase each box came in
  std::vector<std::string> dialogs;    // texts of the skinned dialogs shown
  int blankPictures = 0;    // controls showing the damaged file whose pixels did not decode
  int decodedPictures = 0;  // controls showing the damaged file whose pixels decoded
  std::vector<std::string> loadedPictures;  // every picture path seen (pristine runs only)
};

// One line, "OUTCOME" then tab-separated key=value fields; texts escaped so a line holds any
// byte.
std::string FormatOutcome(const Outcome& outcome);
std::optional<Outcome> ParseOutcome(const std::string& line);

// The fields a damage that changes nothing must leave as a pristine run has them.
bool SameObservableOutcome(const Outcome& a, const Outcome& b);
std::string Describe(const Outcome& outcome);

}  // namespace badinput
