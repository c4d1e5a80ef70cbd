#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fault_injector.h"
#include "modem/protocol/control_header.h"
#include "sim_config.h"

namespace quillon::modemsim {

// WAN status values the simulated firmware reports; only kWanUp is fixed by the protocol.
inline constexpr int32_t kWanNoLine = 0;
inline constexpr int32_t kWanConnecting = 2;
inline constexpr int32_t kWanAuthenticationFailed = 4;
inline constexpr int32_t kWanUp = 6;

// Who the modem says it is and how its line and WAN behave.
struct FirmwareSettings {
  modem::MacAddress mac = {0x02, 0x00, 0x00, 0x51, 0x20, 0x01};
  std::string model = "QR-5120G";
  std::string password = "tulip";
  std::string ipAddress = "198.51.100.1";
  std::string firmwareVersion = "2.0.3";
  bool lineUp = true;
  uint32_t lineRateUpKbps = 1024;
  uint32_t lineRateDownKbps = 8192;
  // The WAN comes up once more than wanUpAfterPolls status queries came in since boot and
  // wanUpAfterMs passed since boot, and then only if the saved PPP account is the ISP's.
  uint32_t wanUpAfterPolls = 0;
  int64_t wanUpAfterMs = 0;
  std::optional<std::string> ispUser;
  std::optional<std::string> ispPassword;
  int64_t rebootMs = 5000;
};

// The firmware's side of the control protocol: a datagram in, the replies out. It keeps the
// saved configuration, the pending one that set requests change, and the reboot and WAN
// timing; time is whatever the caller says it is.
class ModemFirmware {
 public:
  using LogSink = std::function<void(const std::string&)>;

  ModemFirmware(const FirmwareSettings& settings, const FaultSettings& faults,
                const SimConfig& factory, const SimConfig& saved, int64_t nowMs, LogSink log);

  std::vector<OutgoingReply> Handle(const uint8_t* datagram, size_t length, int64_t nowMs);

  void SetLineUp(bool up);
  bool lineUp() const { return settings_.lineUp; }

  const SimConfig& saved() const { return saved_; }
  const SimConfig& pending() const { return pending_; }
  const SimCounters& counters() const { return counters_; }
  // Grows whenever the saved configuration changes, so a caller knows when to write it out.
  uint32_t savedGeneration() const { return savedGeneration_; }
  // True while rebooting (or for good after a reboot with noReturnAfterReboot).
  bool Silent(int64_t nowMs) const;

 private:
  std::vector<OutgoingReply> HandleQuery(const uint8_t* datagram, size_t length, int64_t nowMs);
  std::vector<OutgoingReply> HandleSet(const uint8_t* datagram, size_t length, int64_t nowMs);
  std::vector<OutgoingReply> HandleCommand(const uint8_t* datagram, size_t length, int64_t nowMs);
  std::vector<OutgoingReply> Reply(const uint8_t* request, uint16_t code, const uint8_t* payload,
                                   size_t payloadLength, ReplyKind kind, int64_t nowMs);
  std::vector<OutgoingReply> ReplyText(const uint8_t* request, uint16_t code,
                                       const std::string& text, ReplyKind kind, int64_t nowMs);
  int32_t WanStatus(int64_t nowMs) const;
  void Reboot(int64_t nowMs);

  FirmwareSettings settings_;
  FaultInjector faults_;
  SimConfig factory_;
  SimConfig saved_;
  SimConfig pending_;
  SimCounters counters_;
  uint32_t savedGeneration_ = 0;
  int64_t bootMs_ = 0;
  int64_t silentUntilMs_ = 0;
  bool gone_ = false;
  uint32_t wanPollsSinceBoot_ = 0;
  LogSink log_;
};

}  // namespace quillon::modemsim
