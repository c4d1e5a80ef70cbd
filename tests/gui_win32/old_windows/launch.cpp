// Starts a program with the old-Windows library (personality.cpp) loaded into it before its first
// instruction, and ends with the program's exit code:
//   old_windows_launch.exe PROGRAM [ARGUMENTS...]
// The program is created suspended, a thread of ours in it loads the library from beside this
// launcher, and only then does the program's own thread start. A launch that cannot load the
// library ends the program and fails with 125, so that no test passes without the library.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kLaunchFailed = 125;

// The command line after this launcher's own name, as the shell quoted it.
std::wstring ProgramCommandLine() {
  const wchar_t* rest = ::GetCommandLineW();
  if (*rest == L'"') {
    for (++rest; *rest != 0 && *rest != L'"'; ++rest) {
    }
    if (*rest == L'"') ++rest;
  } else {
    while (*rest != 0 && *rest != L' ' && *rest != L'\t') ++rest;
  }
  while (*rest == L' ' || *rest == L'\t') ++rest;
  return rest;
}

std::wstring LibraryBesideLauncher() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + L"quillon_old_windows.dll";
}

// Runs LoadLibraryW in the program with the library's path written into it. Both processes are
// 32-bit and map kernel32 at the same address, so our address of LoadLibraryW is the program's.
bool LoadInto(HANDLE process, const std::wstring& library) {
  const SIZE_T bytes = (library.size() + 1) * sizeof(wchar_t);
  void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  if (remote == nullptr || !::WriteProcessMemory(process, remote, library.c_str(), bytes, nullptr))
    return false;
  const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
  HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
  if (thread == nullptr) return false;
  DWORD module = 0;
  const bool loaded = ::WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0 &&
                      ::GetExitCodeThread(thread, &module) && module != 0;
  ::CloseHandle(thread);
  return loaded;
}

}  // namespace

int main() {
  std::wstring command = ProgramCommandLine();
  if (command.empty()) {
    std::fprintf(stderr, "usage: old_windows_launch PROGRAM [ARGUMENTS...]\n");
    return kLaunchFailed;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &child)) {
    std::fprintf(stderr, "old_windows_launch: cannot start the program (error %lu)\n",
                 ::GetLastError());
    return kLaunchFailed;
  }
  if (!LoadInto(child.hProcess, LibraryBesideLauncher())) {
    std::fprintf(stderr, "old_windows_launch: cannot load the old-Windows library (error %lu)\n",
                 ::GetLastError());
    ::TerminateProcess(child.hProcess, kLaunchFailed);
    return kLaunchFailed;
  }
  ::ResumeThread(child.hThread);
  ::WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = kLaunchFailed;
  ::GetExitCodeProcess(child.hProcess, &code);
  return static_cast<int>(code);
}
