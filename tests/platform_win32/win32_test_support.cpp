#include "win32_test_support.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

#include "platform/process.h"

namespace win32_test {

std::string UniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::string TestFolder() {
  const std::string exe = platform::ExecutablePath();
  return exe.substr(0, exe.find_last_of('\\') + 1);
}

int RunProbe(const std::string& arguments) {
  return RunProgram(TestFolder() + "platform_win32_probe.exe", arguments);
}

int RunProgram(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
    return -1;
  ::CloseHandle(process.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(process.hProcess, &code);
  else
    ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

namespace {

std::string ReadName(HANDLE process, const EXCEPTION_RECORD& record) {
  // The record's second argument points at the name in the debuggee.
  if (record.NumberParameters < 2) return {};
  char name[64] = {};
  SIZE_T read = 0;
  ::ReadProcessMemory(process, reinterpret_cast<const void*>(record.ExceptionInformation[1]), name,
                      sizeof name - 1, &read);
  return std::string(name);
}

}  // namespace

DebuggedRun RunProbeUnderDebugger(const std::string& arguments) {
  DebuggedRun run;
  const std::string program = TestFolder() + "platform_win32_probe.exe";
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &process))
    return run;
  DEBUG_EVENT event{};
  while (!run.ended && ::WaitForDebugEvent(&event, 30000)) {
    DWORD decision = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case EXCEPTION_DEBUG_EVENT: {
        const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
        if (record.ExceptionCode == 0x406D1388 && event.u.Exception.dwFirstChance)
          run.announcedName = ReadName(process.hProcess, record);
        // The loader's own breakpoint is the debugger's to take; everything else goes back.
        if (record.ExceptionCode != EXCEPTION_BREAKPOINT) decision = DBG_EXCEPTION_NOT_HANDLED;
        break;
      }
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        run.ended = true;
        run.exitCode = event.u.ExitProcess.dwExitCode;
        break;
      default:
        break;
    }
    ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, decision);
  }
  if (!run.ended) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return run;
}

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TemporaryFolder::TemporaryFolder() {
  char base[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof base, base);
  path_ = std::string(base) + UniqueName("quillon-platform-win32") + "\\";
  std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

WineVersionSetting::WineVersionSetting(const std::string& programName)
    : path_("Software\\Wine\\AppDefaults\\" + programName) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) == ERROR_SUCCESS)
    key_ = key;
}

WineVersionSetting::~WineVersionSetting() {
  if (key_ == nullptr) return;
  ::RegCloseKey(static_cast<HKEY>(key_));
  ::RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

void WineVersionSetting::Set(const std::string& version) {
  ::RegSetValueExA(static_cast<HKEY>(key_), "Version", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
}

}  // namespace win32_test
