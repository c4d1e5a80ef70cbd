// An older Windows's answers to arguments that Wine accepts: loaded into a program before its
// first instruction (launch.cpp), this library points the program's import slots for those
// calls at wrappers that refuse what the system named by QUILLON_WINE_VERSION refused, and
// otherwise call the real function. Wine exports every function and takes every flag, so without
// it a call that fails on that Windows passes under test. Never on the CD.
#include <winsock2.h>
// The base headers after Winsock's.
#include <windows.h>

#include <cstring>

namespace {

// The Windows the program is told it runs on, oldest first.
enum Era { kNewer, kWindows2000, kWindowsXp };
Era era = kNewer;

Era EraFromEnvironment() {
  char name[16] = {};
  const DWORD length = ::GetEnvironmentVariableA("QUILLON_WINE_VERSION", name, sizeof name);
  if (length == 0 || length >= sizeof name) return kNewer;
  if (::lstrcmpiA(name, "win2k") == 0) return kWindows2000;
  if (::lstrcmpiA(name, "winxp") == 0) return kWindowsXp;
  return kNewer;
}

// The system's own function, found in its library at the first call.
template <typename Function>
Function Real(const char* dll, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(dll), name)));
}

// The no-inherit flag came with Windows 7 SP1; every system before refuses the whole call.
SOCKET WSAAPI OldWsaSocketW(int family, int type, int protocol, WSAPROTOCOL_INFOW* info,
                            GROUP group, DWORD flags) {
  using Fn = decltype(&OldWsaSocketW);
  static const Fn real = Real<Fn>("ws2_32.dll", "WSASocketW");
  if (flags & WSA_FLAG_NO_HANDLE_INHERIT) {
    ::SetLastError(WSAEINVAL);  // what WSAGetLastError reads
    return INVALID_SOCKET;
  }
  return real(family, type, protocol, info, group, flags);
}

SOCKET WSAAPI OldWsaSocketA(int family, int type, int protocol, WSAPROTOCOL_INFOA* info,
                            GROUP group, DWORD flags) {
  using Fn = decltype(&OldWsaSocketA);
  static const Fn real = Real<Fn>("ws2_32.dll", "WSASocketA");
  if (flags & WSA_FLAG_NO_HANDLE_INHERIT) {
    ::SetLastError(WSAEINVAL);
    return INVALID_SOCKET;
  }
  return real(family, type, protocol, info, group, flags);
}

// Windows 2000 knows no registry views: an access mask asking for one is denied.
bool AsksForView(REGSAM access) {
  return (access & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)) != 0;
}

LONG WINAPI OldRegOpenKeyExA(HKEY key, LPCSTR path, DWORD options, REGSAM access, PHKEY out) {
  using Fn = decltype(&OldRegOpenKeyExA);
  static const Fn real = Real<Fn>("advapi32.dll", "RegOpenKeyExA");
  return AsksForView(access) ? ERROR_ACCESS_DENIED : real(key, path, options, access, out);
}

LONG WINAPI OldRegOpenKeyExW(HKEY key, LPCWSTR path, DWORD options, REGSAM access, PHKEY out) {
  using Fn = decltype(&OldRegOpenKeyExW);
  static const Fn real = Real<Fn>("advapi32.dll", "RegOpenKeyExW");
  return AsksForView(access) ? ERROR_ACCESS_DENIED : real(key, path, options, access, out);
}

LONG WINAPI OldRegCreateKeyExA(HKEY key, LPCSTR path, DWORD reserved, LPSTR kind, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY out,
                               LPDWORD disposition) {
  using Fn = decltype(&OldRegCreateKeyExA);
  static const Fn real = Real<Fn>("advapi32.dll", "RegCreateKeyExA");
  if (AsksForView(access)) return ERROR_ACCESS_DENIED;
  return real(key, path, reserved, kind, options, access, security, out, disposition);
}

LONG WINAPI OldRegCreateKeyExW(HKEY key, LPCWSTR path, DWORD reserved, LPWSTR kind, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY out,
                               LPDWORD disposition) {
  using Fn = decltype(&OldRegCreateKeyExW);
  static const Fn real = Real<Fn>("advapi32.dll", "RegCreateKeyExW");
  if (AsksForView(access)) return ERROR_ACCESS_DENIED;
  return real(key, path, reserved, kind, options, access, security, out, disposition);
}

// The queue states of Windows 2000 end at QS_ALLPOSTMESSAGE; the raw input bit that newer
// headers put into QS_INPUT makes its wait fail at once.
DWORD WINAPI OldMsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD ms,
                                            DWORD wake, DWORD flags) {
  using Fn = decltype(&OldMsgWaitForMultipleObjectsEx);
  static const Fn real = Real<Fn>("user32.dll", "MsgWaitForMultipleObjectsEx");
  if (wake & ~static_cast<DWORD>(0x1FF)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return real(count, handles, ms, wake, flags);
}

struct Rule {
  const char* dll;
  const char* function;
  void* wrapper;
  Era newest;  // the newest Windows of the table that refuses
};

const Rule kRules[] = {
    {"ws2_32.dll", "WSASocketW", reinterpret_cast<void*>(&OldWsaSocketW), kWindowsXp},
    {"ws2_32.dll", "WSASocketA", reinterpret_cast<void*>(&OldWsaSocketA), kWindowsXp},
    {"advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&OldRegOpenKeyExA), kWindows2000},
    {"advapi32.dll", "RegOpenKeyExW", reinterpret_cast<void*>(&OldRegOpenKeyExW), kWindows2000},
    {"advapi32.dll", "RegCreateKeyExA", reinterpret_cast<void*>(&OldRegCreateKeyExA), kWindows2000},
    {"advapi32.dll", "RegCreateKeyExW", reinterpret_cast<void*>(&OldRegCreateKeyExW), kWindows2000},
    {"user32.dll", "MsgWaitForMultipleObjectsEx",
     reinterpret_cast<void*>(&OldMsgWaitForMultipleObjectsEx), kWindows2000},
};

void* WrapperFor(const char* dll, const char* function) {
  for (const Rule& rule : kRules)
    if (era != kNewer && era <= rule.newest && ::lstrcmpiA(dll, rule.dll) == 0 &&
        std::strcmp(function, rule.function) == 0)
      return rule.wrapper;
  return nullptr;
}

// A lookup by name gets the wrapper too: the program's delay-load helper resolves its Winsock
// calls this way at their first use, and the program looks its newer calls up by name itself.
FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
  if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
    const char* file = path + length;
    while (file > path && file[-1] != '\\' && file[-1] != '/') --file;
    if (void* wrapper = WrapperFor(file, name)) return reinterpret_cast<FARPROC>(wrapper);
  }
  return ::GetProcAddress(module, name);
}

void Point(ULONG_PTR* slot, void* function) {
  DWORD old = 0;
  ::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
  *slot = reinterpret_cast<ULONG_PTR>(function);
  ::VirtualProtect(slot, sizeof *slot, old, &old);
}

// Every import slot of the program's executable (not of its libraries) that names a call of the
// table, and its GetProcAddress.
void PatchImports(HMODULE program) {
  auto* base = reinterpret_cast<BYTE*>(program);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       library->Name != 0 && library->OriginalFirstThunk != 0; ++library) {
    const char* dll = reinterpret_cast<const char*>(base + library->Name);
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* function = reinterpret_cast<const char*>(
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      void* wrapper = WrapperFor(dll, function);
      if (wrapper == nullptr && ::lstrcmpiA(dll, "kernel32.dll") == 0 &&
          std::strcmp(function, "GetProcAddress") == 0)
        wrapper = reinterpret_cast<void*>(&LookUp);
      if (wrapper != nullptr) Point(&slots->u1.Function, wrapper);
    }
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  era = EraFromEnvironment();
  if (era != kNewer) PatchImports(::GetModuleHandleW(nullptr));
  return TRUE;
}
