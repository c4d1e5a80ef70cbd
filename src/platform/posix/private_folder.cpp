#include "platform/posix/private_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/environment.h"

namespace platform::posix {
namespace {

bool OwnedByUsOrRoot(const struct stat& st) {
  return st.st_uid == 0 || st.st_uid == ::geteuid();
}

bool OthersMayWrite(const struct stat& st) {
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0) return false;
  return !(S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX));
}

// The root and every prefix of an absolute path without symbolic links, the path itself included.
bool ComponentsSafe(const std::string& path) {
  std::size_t end = 0;
  for (std::string part = "/";; part = path.substr(0, end)) {
    struct stat st {};
    if (::lstat(part.c_str(), &st) != 0 || !OwnedByUsOrRoot(st) || OthersMayWrite(st)) return false;
    if (end == std::string::npos || path.size() <= 1) return true;
    end = path.find('/', end + 1);
  }
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? resolved : "";
}

}  // namespace

std::string HomeFolder() {
  std::string home = GetEnvVar("HOME");
  if (!home.empty() && home.front() == '/') return home;
  const passwd* entry = ::getpwuid(::geteuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

bool IsPrivateFolder(const std::string& folder) {
  struct stat st {};
  return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 022) == 0;
}

bool SafeFromOtherUsers(const std::string& path) {
  if (path.empty()) return false;
  // The link itself sits in its folder, which must be safe as well as what the link names.
  const std::string slash = path.substr(0, path.find_last_of('/') + 1);
  const std::string folder = RealPath(slash.empty() ? "." : slash);
  const std::string target = RealPath(path);
  return !folder.empty() && !target.empty() && ComponentsSafe(folder) && ComponentsSafe(target);
}

bool MakePrivateFolder(const std::string& folder) {
  if (folder.empty() || folder.front() != '/') return false;
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  return IsPrivateFolder(folder) && SafeFromOtherUsers(folder);
}

std::string StateFolder() {
  std::string state = GetEnvVar("XDG_STATE_HOME");
  if (state.empty() || state.front() != '/') {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    state = home + "/.local/state";
  }
  return state + "/quillon";
}

std::string RuntimeFolder() {
  const std::string runtime = GetEnvVar("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/' && IsPrivateFolder(runtime) &&
      SafeFromOtherUsers(runtime))
    return runtime;
  const std::string state = StateFolder();
  return MakePrivateFolder(state) ? state : std::string();
}

}  // namespace platform::posix
