#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dhcp.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace host_testing {

class RecordingShell : public platform::ShellService {
 public:
  int Open(const platform::ShellRequest& request) override {
    requests.push_back(request);
    return resultCode;
  }
  std::vector<platform::ShellRequest> requests;
  int resultCode = platform::kShellStarted;
};

// An in-memory registry that records every write and can refuse one value name.
class RecordingRegistry : public platform::RegistryService {
 public:
  struct Write {
    platform::RegistryRoot root;
    std::string key, name, text;
    bool operator==(const Write&) const = default;
  };

  bool WriteText(platform::RegistryRoot root, const std::string& key, const std::string& name,
                 const std::string& text) override {
    writes.push_back({root, key, name, text});
    if (refuseAll || name == refusedValue) return false;
    values[{root, key}][name] = text;
    return true;
  }
  std::optional<std::string> ReadText(platform::RegistryRoot root, const std::string& key,
                                      const std::string& name, std::size_t bufferSize) override {
    auto found = values.find({root, key});
    if (found == values.end() || !found->second.count(name)) return std::nullopt;
    const std::string& text = found->second.at(name);
    if (text.size() + 1 > bufferSize) return std::nullopt;
    return text;
  }
  bool KeyExists(platform::RegistryRoot root, const std::string& key) override {
    return values.count({root, key}) > 0;
  }

  std::vector<Write> writes;
  std::string refusedValue;
  bool refuseAll = false;
  std::map<std::pair<platform::RegistryRoot, std::string>, std::map<std::string, std::string>>
      values;
};

// Records the session's calls as "open", "list", "enable eth0", "release eth0", "renew eth0".
class RecordingDhcp : public platform::DhcpService {
 public:
  std::unique_ptr<platform::DhcpSession> OpenSession() override {
    calls.push_back("open");
    if (refuse) return nullptr;
    return std::make_unique<Session>(*this);
  }

  std::vector<platform::DhcpAdapter> adapters;
  std::vector<std::string> calls;
  bool refuse = false;
  bool actionsFail = false;

 private:
  class Session : public platform::DhcpSession {
   public:
    explicit Session(RecordingDhcp& owner) : owner_(owner) {}
    ~Session() override { owner_.calls.push_back("close"); }
    std::vector<platform::DhcpAdapter> Adapters() override {
      owner_.calls.push_back("list");
      return owner_.adapters;
    }
    bool EnableDhcp(const platform::DhcpAdapter& a) override { return Act("enable", a); }
    bool ReleaseLease(const platform::DhcpAdapter& a) override { return Act("release", a); }
    bool RenewLease(const platform::DhcpAdapter& a) override { return Act("renew", a); }

   private:
    bool Act(const char* what, const platform::DhcpAdapter& adapter) {
      owner_.calls.push_back(std::string(what) + " " + adapter.name);
      return !owner_.actionsFail;
    }
    RecordingDhcp& owner_;
  };
};

}  // namespace host_testing
