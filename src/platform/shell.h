#pragma once

#include <string>

#include "platform/service_override.h"

namespace platform {

// How the started program's first window is shown. The values are the classic show commands.
enum class ShowMode { kHidden = 0, kNormal = 1, kMinimized = 2 };

// Result codes of a shell request: 32 and above mean the request was carried out, anything
// below is an error code of the classic shell interface.
inline constexpr int kShellOutOfResources = 0;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellOutOfMemory = 8;
inline constexpr int kShellBadFormat = 11;
inline constexpr int kShellNoAssociation = 31;
inline constexpr int kShellStarted = 33;

inline constexpr bool ShellSucceeded(int resultCode) {
  return resultCode >= 32;
}

struct ShellRequest {
  std::string file;           // a document, a program, a folder or a URL
  std::string parameters;     // the command line handed to a program; ignored for documents
  std::string workingFolder;  // empty: the current folder
  ShowMode showMode = ShowMode::kNormal;
  std::string verb = "open";  // empty: the default verb
};

// Opens the request's file the way the desktop would and returns without waiting for the
// started program.
class ShellService {
 public:
  virtual ~ShellService() = default;
  virtual int Open(const ShellRequest& request) = 0;
};

// The system's shell; defined once per OS.
ShellService& SystemShell();

inline ShellService& CurrentShell() {
  return CurrentService<ShellService>(SystemShell());
}

using ScopedShell = ScopedServiceReplacement<ShellService>;

inline int ShellOpen(const std::string& file, const std::string& parameters,
                     const std::string& workingFolder, ShowMode showMode,
                     const std::string& verb = "open") {
  return CurrentShell().Open({file, parameters, workingFolder, showMode, verb});
}

}  // namespace platform
