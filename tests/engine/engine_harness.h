#pragma once

// An engine on the headless backend, talking real UDP over 127.0.0.1 to a scripted peer in the
// same loop or to a modemsim process, with a resolver that never leaves the test.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/system_config.h"
#include "modem/engine/modemconnect.h"
#include "net/name_resolver.h"
#include "net/udp_socket.h"
#include "ui/headless/headless_backend.h"

namespace quillon::modem::test {

using Bytes = std::vector<uint8_t>;

inline constexpr MacAddress kMacA = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};
inline constexpr MacAddress kMacB = {0x02, 0x00, 0x00, 0x51, 0x20, 0x02};

// Answers lookups from a script: the n-th lookup (from 0) succeeds when n >= succeedFrom.
class ScriptedResolver : public net::NameResolver {
 public:
  net::ResolveResult Resolve(const std::string& host) override;
  std::vector<std::string> Hosts() const;
  void SucceedFrom(size_t lookup, uint32_t address);

 private:
  mutable std::mutex mu_;
  std::vector<std::string> hosts_;
  std::optional<size_t> succeedFrom_;
  uint32_t address_ = 0;
};

// The modem's side in the engine's own loop: a socket on 127.0.0.1 that records what arrives
// (with the virtual time) and replies as the test scripts it.
class ScriptedPeer {
 public:
  struct Received {
    int64_t atMs = 0;
    Bytes bytes;
    platform::Ipv4Endpoint from;
  };

  explicit ScriptedPeer(ui::Application& app);
  uint16_t port() const { return port_; }
  const std::vector<Received>& received() const { return received_; }
  // Called for each datagram as it arrives; it may Reply.
  std::function<void(const Received&)> onRequest;
  void Reply(const Received& to, const Bytes& reply);

 private:
  ui::Application& app_;
  net::UdpSocket socket_;
  uint16_t port_ = 0;
  std::vector<Received> received_;
};

// Header fields of a datagram.
uint16_t CodeOf(const Bytes& datagram);
uint16_t SequenceOf(const Bytes& datagram);
MacAddress MacOf(const Bytes& datagram);
std::string PayloadTextOf(const Bytes& datagram);

// A reply datagram: the header, then the text and its zero byte.
Bytes TextReply(const MacAddress& mac, uint16_t code, uint16_t sequence, std::string_view text);
// A reply carrying raw payload bytes.
Bytes RawReply(const MacAddress& mac, uint16_t code, uint16_t sequence, const Bytes& payload);
// Token texts as the firmware writes them.
std::string DiscoveryText(std::string_view model, std::string_view password, std::string_view ip);
std::string LineRateText(int downFlag);
std::string WanStatusText(int status);

// The time-outs of the shipped settings file.
config::Setup_Param ShippedTimeouts();

struct EngineRig {
  EngineRig();
  ~EngineRig();

  int64_t Now() const { return app->clock().NowMs(); }
  // Runs until the run ends (sessionResult leaves 2) or virtualMs pass.
  bool RunUntilDone(int64_t virtualMs = 600000);
  int CountLog(std::string_view line) const;
  std::vector<std::string> LogSince(size_t first) const;
  size_t LogSize() const { return engine->Memo1.Lines().size(); }
  // Sets the start state and flags and starts a run aimed at port on 127.0.0.1.
  void Start(int32_t state, uint16_t port);

  std::unique_ptr<ui::Application> app;
  ui::headless::HeadlessBackend& backend;
  config::Setup_Param setup;
  std::shared_ptr<ScriptedResolver> resolver;
  std::unique_ptr<TfrmModemConnect> engine;
};

}  // namespace quillon::modem::test
