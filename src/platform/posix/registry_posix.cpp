#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/registry_store.h"

namespace platform {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : "";
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return home;
  const passwd* entry = ::getpwuid(::geteuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

// The current user's keys follow the desktop's configuration folder; the machine's keys live in
// /var/lib/norvane-registry unless QUILLON_MACHINE_REGISTRY names another folder. The roots are
// looked up at every call, so a changed environment takes effect at once.
std::string RootFolder(RegistryRoot root) {
  if (root == RegistryRoot::kLocalMachine) {
    std::string machine = Environment("QUILLON_MACHINE_REGISTRY");
    return (machine.empty() ? std::string("/var/lib/norvane-registry") : machine) + "/HKLM";
  }
  // A relative XDG_CONFIG_HOME is invalid by the desktop's own rules and is ignored.
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') {
    std::string home = HomeFolder();
    if (home.empty()) return {};
    config = home + "/.config";
  }
  return config + "/norvane-registry/HKCU";
}

}  // namespace

RegistryService& SystemRegistry() {
  static posix::FileRegistry registry(RootFolder);
  return registry;
}

}  // namespace platform
