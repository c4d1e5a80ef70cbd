#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform::posix {

enum class ShellAction { kFail, kRunProgram, kUseOpener };

// What a shell request comes to on this system, decided before anything is started.
struct ShellPlan {
  ShellAction action = ShellAction::kFail;
  int failureCode = kShellFileNotFound;  // with kFail
  std::vector<std::string> argv;         // otherwise: argv[0] is the path of the program to start
  std::string workingFolder;

  bool operator==(const ShellPlan&) const = default;
};

struct ShellContext {
  std::string opener;         // path of the program that opens documents and URLs; empty: none
  std::string currentFolder;  // the process's current folder
  std::string searchPath;     // the PATH list, for bare program names
};

// Looks at the file system only; starts nothing.
ShellPlan PlanShellOpen(const ShellRequest& request, const ShellContext& context);

// Splits a command line into arguments by the rules programs on the other platform apply to
// theirs, so a parameter text means the same on both: blanks separate, double quotes group, and
// backslashes are literal except before a double quote.
std::vector<std::string> SplitCommandLine(const std::string& parameters);

// The first folder of the PATH-style list holding an executable file of that name; empty when
// none does. Empty list entries are skipped rather than read as the current folder.
std::string FindInSearchPath(const std::string& name, const std::string& searchPath);

// "scheme:" with a scheme of two or more characters; a drive letter such as "C:" is not one.
bool IsUrl(const std::string& file);

}  // namespace platform::posix
