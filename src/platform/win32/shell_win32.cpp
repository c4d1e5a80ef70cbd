#include <windows.h>
// The shell and COM after the base headers.
#include <objbase.h>
#include <shellapi.h>

#include "platform/shell.h"

namespace platform {
namespace {

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

int ShowCommand(ShowMode mode) {
  switch (mode) {
    case ShowMode::kHidden:
      return SW_HIDE;
    case ShowMode::kMinimized:
      return SW_SHOWMINIMIZED;
    case ShowMode::kNormal:
      break;
  }
  return SW_SHOWNORMAL;
}

// A bare file name found in the working folder, as that folder's file: the shell finds it there
// on Windows, but Wine's hands a browser the bare name, which it then takes for a web address.
std::string FileToOpen(const ShellRequest& request) {
  const std::string& file = request.file;
  const std::string& folder = request.workingFolder;
  if (folder.empty() || file.find_first_of("\\/:") != std::string::npos) return file;
  const bool separated = folder.back() == '\\' || folder.back() == '/';
  const std::string inFolder = folder + (separated ? "" : "\\") + file;
  const DWORD attributes = ::GetFileAttributesA(inFolder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return file;
  return inFolder;
}

class DesktopShell final : public ShellService {
 public:
  int Open(const ShellRequest& request) override {
    // The shell may hand the request to COM-based handlers that finish after this call returns,
    // so COM stays initialised on the calling thread from its first request on.
    thread_local const HRESULT com =
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    const std::string file = FileToOpen(request);
    const HINSTANCE result =
        ::ShellExecuteA(nullptr, OrNull(request.verb), file.c_str(), OrNull(request.parameters),
                        OrNull(request.workingFolder), ShowCommand(request.showMode));
    // The result is a code disguised as a handle; only its value up to 32 carries meaning, and
    // any success is at least 33 in practice. Clamp so that a large value stays a success.
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code < 0 || code > 0x7FFFFFFF) return kShellStarted;
    return static_cast<int>(code);
  }
};

}  // namespace

ShellService& SystemShell() {
  static DesktopShell shell;
  return shell;
}

}  // namespace platform
