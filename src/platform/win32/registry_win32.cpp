#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/registry.h"

namespace platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The program is a 32-bit one, and the adapter software it looks for installs as one: on 64-bit
// Windows both see the 32-bit view of the machine's keys without asking for it. Asking with
// KEY_WOW64_32KEY would add nothing there, and Windows 2000, which has no views, denies it.
constexpr REGSAM kAccess = KEY_ALL_ACCESS;

class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// An empty path would name the root itself, which is never one of our keys.
bool OpenKey(RegistryRoot root, const std::string& keyPath, ScopedKey& key) {
  return !keyPath.empty() &&
         ::RegOpenKeyExA(RootKey(root), keyPath.c_str(), 0, kAccess, key.out()) == ERROR_SUCCESS;
}

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

class Win32Registry final : public RegistryService {
 public:
  bool WriteText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                 const std::string& text) override {
    if (keyPath.empty()) return false;
    ScopedKey key;
    if (::RegCreateKeyExA(RootKey(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          kAccess, nullptr, key.out(), nullptr) != ERROR_SUCCESS)
      return false;
    const std::size_t length = std::strlen(text.c_str());  // up to the first NUL
    return ::RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(length + 1)) == ERROR_SUCCESS;
  }

  std::optional<std::string> ReadText(RegistryRoot root, const std::string& keyPath,
                                      const std::string& valueName,
                                      std::size_t bufferSize) override {
    ScopedKey key;
    if (bufferSize == 0 || bufferSize > MAXDWORD || !OpenKey(root, keyPath, key))
      return std::nullopt;
    std::vector<char> buffer(bufferSize);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(bufferSize);
    // ERROR_MORE_DATA is the value that does not fit the buffer: a failure, as for the caller.
    if (::RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
        !IsText(type) || size > bufferSize)
      return std::nullopt;
    // A value written without its terminating NUL must still leave room for one.
    const std::size_t length = ::strnlen(buffer.data(), size);
    if (length + 1 > bufferSize) return std::nullopt;
    return std::string(buffer.data(), length);
  }

  bool KeyExists(RegistryRoot root, const std::string& keyPath) override {
    ScopedKey key;
    return OpenKey(root, keyPath, key);
  }
};

}  // namespace

RegistryService& SystemRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace platform
