#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/posix/private_folder.h"

namespace platform::posix {
namespace {

// A key file larger than this is not one the wizard or the adapter software wrote.
constexpr std::size_t kMaxKeyFileSize = 1 << 20;

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '=':
        out += "\\=";
        break;
      default:
        out += c;
    }
  }
  return out;
}

char Unescaped(char c) {
  if (c == 'n') return '\n';
  if (c == 'r') return '\r';
  return c;
}

std::string CutAtNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

bool EndsWithRegSuffix(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (auto& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail == ".reg";
}

bool FullAccess(const std::string& path) {
  return ::access(path.c_str(), R_OK | W_OK) == 0;
}

// The key file itself, never what a link in its place names.
bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The program runs as root, and the current user's store lives wherever $XDG_CONFIG_HOME or $HOME
// say: with another user's environment (sudo -E, su without -) that user could otherwise lay a
// link in the store and have root write through it. A key's folder must be ours alone, as the
// program's private folders are, and no other user may change anything on the way to it.
bool KeyFolderSafe(const std::string& file) {
  const std::string folder = file.substr(0, file.rfind('/'));
  return IsPrivateFolder(folder) && SafeFromOtherUsers(folder);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxKeyFileSize) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

// Writes beside the key file and renames over it, so a crash leaves the old or the new values,
// never half of them. The rename replaces a link in the key file's place, never its target.
bool ReplaceFile(const std::string& path, const std::string& text) {
  std::string temporary = path + ".tmp" + std::to_string(::getpid());
  // A file left by a crash is removed; whatever then takes its place makes the open fail.
  ::unlink(temporary.c_str());
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < text.size()) {
    ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  bool ok = written == text.size() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace

std::string FormatRegistryValues(const RegistryValues& values) {
  std::string text;
  for (const auto& [name, value] : values) text += Escape(name) + "=" + Escape(value) + "\n";
  return text;
}

RegistryValues ParseRegistryValues(std::string_view text) {
  RegistryValues values;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string name, value;
    std::string* target = &name;
    bool separated = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        *target += Unescaped(line[++i]);
      } else if (line[i] == '=' && !separated) {
        separated = true;
        target = &value;
      } else {
        *target += line[i];
      }
    }
    if (!separated) continue;
    bool replaced = false;
    for (auto& entry : values)
      if (entry.first == name) entry.second = value, replaced = true;
    if (!replaced) values.emplace_back(std::move(name), std::move(value));
  }
  return values;
}

std::optional<std::string> RegistryKeyFile(const std::string& rootFolder,
                                           const std::string& keyPath) {
  if (rootFolder.empty() || keyPath.empty()) return std::nullopt;
  std::string path = rootFolder;
  if (path.back() != '/') path += '/';
  std::size_t start = 0;
  for (;;) {
    std::size_t end = keyPath.find('\\', start);
    std::string name = keyPath.substr(start, end == std::string::npos ? end : end - start);
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(std::string("/\0", 2)) != std::string::npos || EndsWithRegSuffix(name))
      return std::nullopt;
    path += name;
    if (end == std::string::npos) break;
    path += '/';
    start = end + 1;
  }
  return path + ".reg";
}

bool FileRegistry::WriteText(RegistryRoot root, const std::string& keyPath,
                             const std::string& valueName, const std::string& text) {
  auto file = RegistryKeyFile(rootFolder_(root), keyPath);
  if (!file) return false;
  std::lock_guard lock(mutex_);
  if (!MakePrivateFolder(file->substr(0, file->rfind('/')))) return false;
  RegistryValues values;
  if (IsRegularFile(*file)) {
    auto existing = FullAccess(*file) ? ReadWholeFile(*file) : std::nullopt;
    if (!existing) return false;
    values = ParseRegistryValues(*existing);
  } else if (::access(file->c_str(), F_OK) == 0) {
    return false;  // something that is not a key file is in the way
  }
  const std::string name = CutAtNul(valueName);
  const std::string value = CutAtNul(text);
  bool replaced = false;
  for (auto& entry : values)
    if (entry.first == name) entry.second = value, replaced = true;
  if (!replaced) values.emplace_back(name, value);
  return ReplaceFile(*file, FormatRegistryValues(values));
}

std::optional<std::string> FileRegistry::ReadText(RegistryRoot root, const std::string& keyPath,
                                                  const std::string& valueName,
                                                  std::size_t bufferSize) {
  auto file = RegistryKeyFile(rootFolder_(root), keyPath);
  if (!file) return std::nullopt;
  std::lock_guard lock(mutex_);
  if (!IsRegularFile(*file) || !FullAccess(*file) || !KeyFolderSafe(*file)) return std::nullopt;
  auto text = ReadWholeFile(*file);
  if (!text) return std::nullopt;
  for (const auto& [name, value] : ParseRegistryValues(*text)) {
    if (name != valueName) continue;
    // The buffer holds the text and its terminating NUL.
    if (value.size() + 1 > bufferSize) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

bool FileRegistry::KeyExists(RegistryRoot root, const std::string& keyPath) {
  auto file = RegistryKeyFile(rootFolder_(root), keyPath);
  if (!file) return false;
  std::lock_guard lock(mutex_);
  if (IsRegularFile(*file)) return FullAccess(*file) && KeyFolderSafe(*file);
  // A key that only holds other keys has a folder and no file.
  std::string folder = file->substr(0, file->size() - 4);
  return DirectoryExists(folder) && ::access(folder.c_str(), R_OK | W_OK | X_OK) == 0;
}

}  // namespace platform::posix
