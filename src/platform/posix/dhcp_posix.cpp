#include <dirent.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>

#include "platform/dhcp.h"
#include "platform/environment.h"
#include "platform/posix/dhclient_setup.h"
#include "platform/posix/interface_list.h"
#include "platform/posix/network_manager.h"
#include "platform/posix/networkd.h"
#include "platform/posix/private_folder.h"
#include "platform/posix/shell_plan.h"
#include "platform/posix/spawn.h"

namespace platform {
namespace {

// The client's own time-out is 10 s (kDhclientConfig); these bound our wait for it.
constexpr int kRenewTimeoutMs = 25000;
constexpr int kReleaseTimeoutMs = 15000;
constexpr int kIpTimeoutMs = 5000;
constexpr int kAskTimeoutMs = 5000;

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string FindSystemProgram(const std::string& name) {
  for (const char* folder : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"})
    if (IsExecutableFile(folder + name)) return folder + name;
  return posix::FindInSearchPath(name, GetEnvVar("PATH"));
}

// QUILLON_DHCLIENT names the client when set; a value that is not an executable file, such as
// "none", switches the renewal off altogether, a network manager's included.
bool RenewalSwitchedOff() {
  const char* configured = std::getenv("QUILLON_DHCLIENT");
  return configured && !IsExecutableFile(configured);
}

std::string FindDhclient() {
  if (const char* configured = std::getenv("QUILLON_DHCLIENT")) return configured;
  return FindSystemProgram("dhclient");
}

std::string DhcpStateFolder() {
  std::string configured = GetEnvVar("QUILLON_DHCP_STATE_DIR");
  return configured.empty() ? "/run/quillon-dhcp" : configured;
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str().substr(0, 4096);
}

// The running client that keeps this pid file; 0 when there is none.
pid_t ClientOf(const std::string& pidFile) {
  struct stat st {};
  if (::lstat(pidFile.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
    return 0;
  const long pid = std::atol(ReadSmallFile(pidFile).c_str());
  if (pid <= 1) return 0;
  const std::string commandLine = ReadSmallFile("/proc/" + std::to_string(pid) + "/cmdline");
  return posix::IsClientOfPidFile(commandLine, pidFile) ? static_cast<pid_t>(pid) : 0;
}

// Ends one client and waits a moment for it, so that its stop is complete when the wizard is.
void EndClientOf(const std::string& pidFile) {
  const pid_t pid = ClientOf(pidFile);
  if (pid == 0 || ::kill(pid, SIGTERM) != 0) return;
  for (int i = 0; i < 150 && ::kill(pid, 0) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// The client that got a lease writes its pid file after its first process returned; until the
// file names it, it could not be ended with the wizard.
void AwaitClientOf(const std::string& pidFile) {
  for (int i = 0; i < 100 && ClientOf(pidFile) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

// The clients this process started, by pid, for the signal handler below: a handler may only
// kill, where ending them at exit reads their pid files.
constexpr size_t kMaxClients = 32;
std::atomic<pid_t> startedClients[kMaxClients];
struct sigaction previousTerm {};
struct sigaction previousHup {};

void RememberClient(pid_t pid) {
  if (pid <= 0) return;
  for (auto& slot : startedClients) {
    pid_t empty = 0;
    if (slot.compare_exchange_strong(empty, pid)) return;
  }
}

// A released client ends by itself; its number may then go to another process.
void ForgetClient(pid_t pid) {
  if (pid <= 0) return;
  for (auto& slot : startedClients) {
    pid_t known = pid;
    slot.compare_exchange_strong(known, 0);
  }
}

// A wizard ended by SIGTERM or SIGHUP (a logout, a closed terminal, a service stop) runs no exit
// hook; its root DHCP clients must end with it all the same. The signal then does what it did
// before.
void EndClientsOnSignal(int signal) {
  for (auto& slot : startedClients)
    if (const pid_t pid = slot.load(); pid > 0) ::kill(pid, SIGTERM);
  const struct sigaction& previous = signal == SIGTERM ? previousTerm : previousHup;
  if (previous.sa_flags & SA_SIGINFO) {
    if (previous.sa_sigaction) previous.sa_sigaction(signal, nullptr, nullptr);
    return;
  }
  if (previous.sa_handler != SIG_DFL) {
    previous.sa_handler(signal);
    return;
  }
  ::sigaction(signal, &previous, nullptr);
  ::raise(signal);
}

void EndClientsOnSignals() {
  for (const int signal : {SIGTERM, SIGHUP}) {
    struct sigaction& previous = signal == SIGTERM ? previousTerm : previousHup;
    if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction ending {};
    ending.sa_handler = EndClientsOnSignal;
    sigemptyset(&ending.sa_mask);
    ::sigaction(signal, &ending, nullptr);
  }
}

bool WriteFile(const std::string& path, const std::string& text, mode_t mode) {
  std::string temporary = path + ".new";
  ::unlink(temporary.c_str());
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

bool SafeInterfaceName(const std::string& name) {
  return !name.empty() && name.size() < IF_NAMESIZE && name != "." && name != ".." &&
         name.find('/') == std::string::npos;
}

// An adapter that NetworkManager manages is renewed through it: its connection is set to DHCP
// and activated again, and the manager keeps the lease after the wizard ends. One that
// systemd-networkd configures is configured afresh by it, from the administrator's own files,
// which say whether it takes a lease; it too keeps the lease after the wizard. Any other adapter
// is renewed through ISC dhclient, the one client of our own supported; other clients (dhcpcd,
// udhcpc) are left alone. Without root rights there are no adapters to act on, and without
// dhclient or a private state folder (QUILLON_DHCP_STATE_DIR, else /run/quillon-dhcp) only the
// manager's. An adapter counts as static when it holds an address without a lifetime (none does
// when the ip tool is missing); switching it to DHCP removes those addresses, as the other
// platform drops the static configuration, and the lease then brings the new one. After a
// renewal our client stays in the background to keep the lease while the wizard runs; it ends
// with the wizard, and one left by a wizard that was killed is ended when the next one starts.
class PosixDhcpSession : public DhcpSession {
 public:
  std::vector<DhcpAdapter> Adapters() override {
    std::vector<DhcpAdapter> adapters;
    if (::geteuid() != 0 || RenewalSwitchedOff()) return adapters;
    // One connection serves both managers; there is none without a system bus.
    if ((bus_ = posix::SystemBus::Connect())) {
      networkManager_ = posix::NetworkManagerClient::Connect(*bus_);
      networkd_ = posix::NetworkdClient::Connect(*bus_);
    }
    std::vector<std::string> withStaticAddress;
    bool staticListed = false;
    for (const auto& facts : posix::ListInterfaces()) {
      if (!posix::IsDhcpCandidate(facts)) continue;
      if (networkManager_) {
        if (auto device = networkManager_->ManagedDevice(facts.name)) {
          managed_.emplace_back(facts.name, *device);
          adapters.push_back(
              {facts.name, facts.index, networkManager_->UsesAutomaticAddressing(*device)});
          continue;
        }
      }
      if (networkd_) {
        const auto ownership = networkd_->ManagedLink(facts.index, kAskTimeoutMs);
        using Kind = posix::LinkOwnership::Kind;
        if (ownership.kind == Kind::kConfigured) {
          configured_.emplace_back(facts.name, ownership.link);
          adapters.push_back({facts.name, facts.index, true});
          continue;
        }
        // A client of ours beside a daemon that may configure the adapter would fight it over
        // the lease.
        if (ownership.kind == Kind::kUnanswered) {
          std::fprintf(stderr,
                       "%s left alone: systemd-networkd did not say whether it is its: %s\n",
                       facts.name.c_str(), ownership.why.c_str());
          continue;
        }
      }
      if (!PrepareClient()) continue;
      if (!staticListed) {
        withStaticAddress = ListWithStaticAddress();
        staticListed = true;
      }
      bool isStatic = std::find(withStaticAddress.begin(), withStaticAddress.end(), facts.name) !=
                      withStaticAddress.end();
      adapters.push_back({facts.name, facts.index, !isStatic});
    }
    return adapters;
  }

  bool EnableDhcp(const DhcpAdapter& adapter) override {
    if (const auto* device = ManagedDevice(adapter)) {
      return networkManager_->SwitchToAutomatic(*device);
    }
    if (!ready_ || ip_.empty() || !SafeInterfaceName(adapter.name)) return false;
    return Succeeded(posix::FlushStaticAddressesCommand(ip_, adapter.name), kIpTimeoutMs);
  }

  bool ReleaseLease(const DhcpAdapter& adapter) override {
    // The managers give the lease up themselves when they configure the adapter again.
    if (ManagedDevice(adapter) || ConfiguredLink(adapter)) return true;
    if (!ready_ || !SafeInterfaceName(adapter.name)) return false;
    auto files = posix::DhclientFilesFor(folder_, adapter.name);
    ForgetClient(ClientOf(files.pidFile));
    return Succeeded(posix::DhclientReleaseCommand(dhclient_, files, adapter.name),
                     kReleaseTimeoutMs);
  }

  bool RenewLease(const DhcpAdapter& adapter) override {
    if (const auto* device = ManagedDevice(adapter)) {
      return networkManager_->Reactivate(*device, kRenewTimeoutMs);
    }
    if (const auto* link = ConfiguredLink(adapter)) {
      return networkd_->Reconfigure(*link, kRenewTimeoutMs);
    }
    if (!ready_ || !SafeInterfaceName(adapter.name)) return false;
    // A client that keeps a lease runs as root; it must not outlive the wizard that started it.
    static const bool endedAtExit = std::atexit(posix::EndDhcpClients) == 0;
    static const bool endedOnSignals = (EndClientsOnSignals(), true);
    (void)endedAtExit;
    (void)endedOnSignals;
    auto files = posix::DhclientFilesFor(folder_, adapter.name);
    if (!Succeeded(posix::DhclientRenewCommand(dhclient_, files, adapter.name), kRenewTimeoutMs))
      return false;
    AwaitClientOf(files.pidFile);
    RememberClient(ClientOf(files.pidFile));
    return true;
  }

  std::string Method() const override { return managed_.empty() ? "dhclient" : "NetworkManager"; }

 private:
  static bool Succeeded(const std::vector<std::string>& command, int timeoutMs) {
    auto result = posix::RunProgram(command, timeoutMs, false);
    return result.exited && result.exitCode == 0;
  }

  // Our own client's files; made once, when the first adapter needs them.
  bool PrepareClient() {
    if (prepared_) return ready_;
    prepared_ = true;
    dhclient_ = FindDhclient();
    folder_ = DhcpStateFolder();
    // The client runs our script as root, so the folder it lives in must be ours alone.
    if (!IsExecutableFile(dhclient_) || !posix::MakePrivateFolder(folder_)) return false;
    auto files = posix::DhclientFilesFor(folder_, "");
    if (!WriteFile(files.config, posix::kDhclientConfig, 0600) ||
        !WriteFile(files.script, posix::kDhclientScript, 0700))
      return false;
    ip_ = FindSystemProgram("ip");
    ready_ = true;
    return true;
  }

  std::vector<std::string> ListWithStaticAddress() const {
    if (ip_.empty()) return {};
    auto listing = posix::RunProgram(posix::ListStaticAddressesCommand(ip_), kIpTimeoutMs, true);
    if (!listing.exited || listing.exitCode != 0) return {};
    return posix::InterfacesInAddressListing(listing.output);
  }

  using Owned = std::vector<std::pair<std::string, std::string>>;  // adapter name, object
  static const std::string* ObjectOf(const Owned& owned, const DhcpAdapter& adapter) {
    for (const auto& [name, object] : owned)
      if (name == adapter.name) return &object;
    return nullptr;
  }
  const std::string* ManagedDevice(const DhcpAdapter& adapter) const {
    return ObjectOf(managed_, adapter);
  }
  const std::string* ConfiguredLink(const DhcpAdapter& adapter) const {
    return ObjectOf(configured_, adapter);
  }

  std::unique_ptr<posix::SystemBus> bus_;  // declared first: the clients use it to the end
  std::unique_ptr<posix::NetworkManagerClient> networkManager_;
  std::unique_ptr<posix::NetworkdClient> networkd_;
  Owned managed_;     // NetworkManager's devices
  Owned configured_;  // systemd-networkd's links
  bool prepared_ = false;
  bool ready_ = false;
  std::string dhclient_;
  std::string ip_;
  std::string folder_;
};

class PosixDhcp : public DhcpService {
 public:
  std::unique_ptr<DhcpSession> OpenSession() override {
    return std::make_unique<PosixDhcpSession>();
  }
};

}  // namespace

void posix::EndDhcpClients() {
  if (::geteuid() != 0) return;
  const std::string folder = DhcpStateFolder();
  if (!posix::IsPrivateFolder(folder)) return;
  DIR* listing = ::opendir(folder.c_str());
  if (!listing) return;
  std::vector<std::string> interfaces;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pid") == 0)
      interfaces.push_back(name.substr(0, name.size() - 4));
  }
  ::closedir(listing);
  for (const auto& name : interfaces) EndClientOf(posix::DhclientFilesFor(folder, name).pidFile);
}

DhcpService& SystemDhcp() {
  static PosixDhcp dhcp;
  return dhcp;
}

}  // namespace platform
