#include <windows.h>

#include <vector>

#include "platform/process.h"
#include "platform/win32/system_function.h"

namespace platform {
namespace {

class KernelMutex : public NamedMutex {
 public:
  explicit KernelMutex(const std::string& name) {
    handle_ = ::CreateMutexA(nullptr, TRUE, name.c_str());
    // With an existing mutex the call still returns a handle, but not ownership.
    existed_ = handle_ != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
  }
  ~KernelMutex() override {
    if (handle_ == nullptr) return;
    if (!existed_) ::ReleaseMutex(handle_);
    ::CloseHandle(handle_);
  }
  KernelMutex(const KernelMutex&) = delete;
  KernelMutex& operator=(const KernelMutex&) = delete;

  bool alreadyExisted() const override { return existed_; }

 private:
  HANDLE handle_ = nullptr;
  bool existed_ = false;
};

// The structure a debugger reads from the naming exception.
#pragma pack(push, 8)
struct ThreadNameInfo {
  DWORD type = 0x1000;
  LPCSTR name = nullptr;
  DWORD threadId = static_cast<DWORD>(-1);  // the calling thread
  DWORD flags = 0;
};
#pragma pack(pop)

constexpr DWORD kSetThreadNameException = 0x406D1388;

// Continues past the naming exception when the debugger did not take it. GCC has no __try, so
// this vectored handler is what keeps an unclaimed exception from ending the process.
LONG CALLBACK ContinueAfterThreadName(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode == kSetThreadNameException)
    return EXCEPTION_CONTINUE_EXECUTION;
  return EXCEPTION_CONTINUE_SEARCH;
}

// Windows 2000 has no vectored handlers, and without one the naming exception would end the
// process: there the debugger does without the name.
void NameForDebugger(const std::string& name) {
  if (!::IsDebuggerPresent()) return;
  using AddHandlerFn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
  using RemoveHandlerFn = ULONG(WINAPI*)(PVOID);
  static const auto addHandler =
      win32::SystemFunction<AddHandlerFn>("kernel32.dll", "AddVectoredExceptionHandler");
  static const auto removeHandler =
      win32::SystemFunction<RemoveHandlerFn>("kernel32.dll", "RemoveVectoredExceptionHandler");
  if (addHandler == nullptr || removeHandler == nullptr) return;
  PVOID handler = addHandler(1, ContinueAfterThreadName);
  if (handler == nullptr) return;
  ThreadNameInfo info;
  info.name = name.c_str();
  ::RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR),
                   reinterpret_cast<const ULONG_PTR*>(&info));
  removeHandler(handler);
}

// Newer systems keep a thread description that every tool shows; older ones lack the call.
void SetDescription(const std::string& name) {
  using SetDescriptionFn = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  static const auto setDescription =
      win32::SystemFunction<SetDescriptionFn>("kernel32.dll", "SetThreadDescription");
  if (setDescription == nullptr) return;
  const int length = ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (length <= 0) return;
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
  setDescription(::GetCurrentThread(), wide.data());
}

}  // namespace

std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name) {
  return std::make_unique<KernelMutex>(name);
}

std::string ExecutablePath() {
  // The call cuts a long path silently and says so only by filling the whole buffer.
  std::vector<char> buffer(MAX_PATH);
  while (buffer.size() <= 32768) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

void SetCurrentThreadName(const std::string& name) {
  SetDescription(name);
  NameForDebugger(name);
}

}  // namespace platform
