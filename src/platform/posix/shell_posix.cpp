#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/environment.h"
#include "platform/posix/private_folder.h"
#include "platform/posix/shell_plan.h"
#include "platform/posix/spawn.h"
#include "platform/shell.h"

namespace platform {
namespace {

std::string CurrentFolder() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

// Documents and URLs go to the desktop's opener: QUILLON_OPENER when it is set (a path, or a
// name looked up on PATH), xdg-open otherwise. A configured opener that cannot be found means
// there is none, rather than a silent fall back to a different program.
std::string FindOpener(const std::string& searchPath) {
  const char* configured = std::getenv("QUILLON_OPENER");
  std::string name = configured ? configured : "xdg-open";
  if (name.find('/') != std::string::npos)
    return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
  return posix::FindInSearchPath(name, searchPath);
}

int CodeForStartError(int error) {
  switch (error) {
    case ENOENT:
      return kShellFileNotFound;
    case ENOTDIR:
      return kShellPathNotFound;
    case EACCES:
    case EPERM:
      return kShellAccessDenied;
    case ENOEXEC:
      return kShellBadFormat;
    case ENOMEM:
    case EAGAIN:
      return kShellOutOfMemory;
    default:
      return kShellOutOfResources;
  }
}

// Show modes have no portable meaning for an X or Wayland program started from here; the started
// program decides how its window appears.
class PosixShell : public ShellService {
 public:
  int Open(const ShellRequest& request) override {
    const std::string searchPath = GetEnvVar("PATH");
    posix::ShellContext context{FindOpener(searchPath), CurrentFolder(), searchPath};
    posix::ShellPlan plan = posix::PlanShellOpen(request, context);
    if (plan.action == posix::ShellAction::kFail) return plan.failureCode;
    // The wizard runs as root: a program that another user could have put or changed in its
    // place is not started.
    if (!posix::SafeFromOtherUsers(plan.argv[0])) return kShellAccessDenied;
    int error = posix::SpawnDetached(plan.argv, plan.workingFolder);
    if (error == 0) return kShellStarted;
    return plan.action == posix::ShellAction::kUseOpener ? kShellNoAssociation
                                                         : CodeForStartError(error);
  }
};

}  // namespace

ShellService& SystemShell() {
  static PosixShell shell;
  return shell;
}

}  // namespace platform
