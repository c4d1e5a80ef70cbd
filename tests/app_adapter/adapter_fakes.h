#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "net/name_resolver.h"
#include "net/net_errors.h"
#include "net/pinger.h"
#include "platform/network_adapters.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "ui/clock.h"

namespace adapter_testing {

inline std::string BaseName(const std::string& path) {
  const auto cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// A shell that starts nothing: it records each request with the time it came, and the programs a
// test scripts (by file name) do their work at once in the caller's thread.
class ScriptedShell : public platform::ShellService {
 public:
  using Program = std::function<int(const platform::ShellRequest&)>;
  struct Call {
    platform::ShellRequest request;
    std::int64_t atMs;
  };

  explicit ScriptedShell(ui::Clock& clock) : clock_(clock) {}

  void Script(const std::string& name, Program program) {
    std::lock_guard lock(mu_);
    programs_[name] = std::move(program);
  }
  int Open(const platform::ShellRequest& request) override {
    Program program;
    {
      std::lock_guard lock(mu_);
      calls_.push_back({request, clock_.NowMs()});
      auto found = programs_.find(BaseName(request.file));
      if (found == programs_.end()) return platform::kShellFileNotFound;
      program = found->second;
    }
    return program(request);
  }
  std::vector<Call> calls() const {
    std::lock_guard lock(mu_);
    return calls_;
  }
  std::vector<Call> CallsOf(const std::string& name) const {
    std::vector<Call> of;
    for (const Call& call : calls())
      if (BaseName(call.request.file) == name) of.push_back(call);
    return of;
  }

 private:
  ui::Clock& clock_;
  mutable std::mutex mu_;
  std::map<std::string, Program> programs_;
  std::vector<Call> calls_;
};

// The utility's window, open or not, and the commands it was sent.
class FakeWindows : public platform::WindowService {
 public:
  static constexpr platform::WindowHandle kUtility = 7;
  struct Command {
    platform::WindowHandle window;
    int id;
    std::int64_t atMs;
  };

  explicit FakeWindows(ui::Clock& clock) : clock_(clock) {}

  platform::WindowHandle FindTopLevelWindow(const std::string& title) override {
    std::lock_guard lock(mu_);
    titles_.push_back(title);
    return open_ ? kUtility : 0;
  }
  bool SendCommand(platform::WindowHandle window, int commandId) override {
    std::lock_guard lock(mu_);
    commands_.push_back({window, commandId, clock_.NowMs()});
    return window == kUtility && open_;
  }
  void SetOpen(bool open) {
    std::lock_guard lock(mu_);
    open_ = open;
  }
  std::vector<std::string> titles() const {
    std::lock_guard lock(mu_);
    return titles_;
  }
  std::vector<Command> commands() const {
    std::lock_guard lock(mu_);
    return commands_;
  }

 private:
  ui::Clock& clock_;
  mutable std::mutex mu_;
  bool open_ = false;
  std::vector<std::string> titles_;
  std::vector<Command> commands_;
};

class FixedAdapters : public platform::NetworkAdapterService {
 public:
  std::vector<platform::NetworkAdapter> List() override { return adapters; }
  // One adapter per address, in this order; 0 stands for an adapter without an address.
  void SetAddresses(const std::vector<std::uint32_t>& addresses) {
    adapters.clear();
    for (std::uint32_t address : addresses) {
      platform::NetworkAdapter adapter;
      adapter.name = "eth" + std::to_string(adapters.size());
      if (address != 0) adapter.addresses.push_back({address, 0xFFFFFF00});
      adapters.push_back(adapter);
    }
  }
  std::vector<platform::NetworkAdapter> adapters;
};

// No name resolves: nothing of a test reaches the host's resolver.
class NoResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string& host) override {
    std::lock_guard lock(mu_);
    hosts.push_back(host);
    return {net::kNetHostNotFound, 0};
  }
  std::vector<std::string> Hosts() const {
    std::lock_guard lock(mu_);
    return hosts;
  }

 private:
  mutable std::mutex mu_;
  std::vector<std::string> hosts;
};

// An echo that answers for the listed addresses; any other request takes its whole time-out on
// the clock, as an unanswered one would.
class ScriptedEcho : public net::EchoService {
 public:
  explicit ScriptedEcho(ui::Clock& clock) : clock_(clock) {}
  int Echo(std::uint32_t address, int, int timeoutMs, int) override {
    {
      std::lock_guard lock(mu_);
      ++requests_;
      if (answering_.count(address)) return net::kNetOk;
    }
    clock_.SleepMs(timeoutMs);
    return net::kNetTimedOut;
  }
  void Answer(std::uint32_t address) {
    std::lock_guard lock(mu_);
    answering_.insert(address);
  }
  int requests() const {
    std::lock_guard lock(mu_);
    return requests_;
  }

 private:
  ui::Clock& clock_;
  mutable std::mutex mu_;
  std::set<std::uint32_t> answering_;
  int requests_ = 0;
};

}  // namespace adapter_testing
