#pragma once

// Stand-ins for what the wizard reaches outside the process, each recording what it was asked.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "net/name_resolver.h"
#include "net/udp_socket.h"
#include "platform/dhcp.h"
#include "platform/shell.h"
#include "ui/application.h"
#include "ui/clock.h"

namespace test_support {

// The shell: answers every request with `answer` (the started code by default).
class RecordingShell : public platform::ShellService {
 public:
  int Open(const platform::ShellRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::vector<platform::ShellRequest> requests;
  int answer = platform::kShellStarted;
};

// The DHCP configuration: one session per renewal over the given adapters; every call is
// logged as "enable eth0", "release eth0", "renew eth0". With refuse set no session opens.
class RecordingDhcp : public platform::DhcpService {
 public:
  std::unique_ptr<platform::DhcpSession> OpenSession() override;

  std::vector<platform::DhcpAdapter> adapters;
  std::vector<std::string> calls;
  bool refuse = false;
  int sessions = 0;
  // Run when a session opens (the test looks at the cursor then).
  std::function<void()> onOpen;
};

// The internet name test's resolver: every lookup fails unless succeed is set; never reaches
// the host's DNS.
class ScriptedResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string& host) override;
  std::vector<std::string> Hosts() const;
  std::atomic<bool> succeed{true};
  // A slow lookup: each takes this long on the clock (virtual time under the headless backend).
  std::atomic<int> delayMs{0};
  ui::Clock* clock = nullptr;

 private:
  mutable std::mutex mu_;
  std::vector<std::string> hosts_;
};

// A UDP socket on 127.0.0.1 in the wizard's own loop. Alone it only records what the engine
// sends; given a simulator's port it relays both ways, and `drop` may swallow a request (before
// the simulator sees it) or a reply (after it acted).
class LoopbackPeer {
 public:
  using Bytes = std::vector<std::uint8_t>;
  explicit LoopbackPeer(ui::Application& app);

  std::uint16_t port() const { return port_; }
  void RelayTo(std::uint16_t simulatorPort);
  const std::vector<Bytes>& requests() const { return requests_; }

  std::function<bool(const Bytes& request)> dropRequest;
  std::function<bool(const Bytes& reply)> dropReply;

 private:
  net::UdpSocket engineSide_;
  net::UdpSocket simulatorSide_;
  std::uint16_t port_ = 0;
  std::optional<platform::Ipv4Endpoint> engine_;
  std::vector<Bytes> requests_;
};

// Header fields and payload text of a control datagram.
std::uint16_t CodeOf(const LoopbackPeer::Bytes& datagram);
std::string PayloadTextOf(const LoopbackPeer::Bytes& datagram);

}  // namespace test_support
