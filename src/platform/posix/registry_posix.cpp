#include <unistd.h>

#include <cstdlib>

#include "platform/environment.h"
#include "platform/posix/private_folder.h"
#include "platform/posix/registry_store.h"

namespace platform {
namespace {

// The current user's keys follow the desktop's configuration folder; the machine's keys live in
// /var/lib/norvane-registry unless QUILLON_MACHINE_REGISTRY names another folder. The roots are
// looked up at every call, so a changed environment takes effect at once.
std::string RootFolder(RegistryRoot root) {
  if (root == RegistryRoot::kLocalMachine) {
    std::string machine = GetEnvVar("QUILLON_MACHINE_REGISTRY");
    return (machine.empty() ? std::string("/var/lib/norvane-registry") : machine) + "/HKLM";
  }
  // A relative XDG_CONFIG_HOME is invalid by the desktop's own rules and is ignored.
  std::string config = GetEnvVar("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') {
    std::string home = posix::HomeFolder();
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
