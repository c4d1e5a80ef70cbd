#include "firmware.h"

#include <cstring>

#include "modem/protocol/record_text.h"
#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/requests.h"
#include "persistence.h"

namespace quillon::modemsim {

namespace {

using modem::kHeaderSize;

std::string Describe(const modem::ControlHeader& header, const uint8_t* datagram, size_t length) {
  const std::string_view text = modem::PayloadText(datagram + kHeaderSize, length - kHeaderSize);
  return "rx code=" + std::to_string(header.code) +
         " seq=" + std::to_string(header.sequenceNumber) + " mac=" + FormatMac(header.mac) +
         " len=" + std::to_string(length) + " text=" + EscapeValue(text);
}

std::string DescribeConfig(const SimConfig& config, std::string_view prefix) {
  std::string out;
  ForEachField(config, [&](std::string_view name, const std::string& value) {
    if (name.starts_with(prefix)) out += " " + std::string(name) + "=[" + EscapeValue(value) + "]";
  });
  return out;
}

}  // namespace

ModemFirmware::ModemFirmware(const FirmwareSettings& settings, const FaultSettings& faults,
                             const SimConfig& factory, const SimConfig& saved, int64_t nowMs,
                             LogSink log)
    : settings_(settings),
      faults_(faults),
      factory_(factory),
      saved_(saved),
      pending_(saved),
      bootMs_(nowMs),
      log_(std::move(log)) {}

void ModemFirmware::SetLineUp(bool up) {
  settings_.lineUp = up;
  log_(up ? "line is up" : "line is down");
}

bool ModemFirmware::Silent(int64_t nowMs) const {
  return gone_ || nowMs < silentUntilMs_;
}

std::vector<OutgoingReply> ModemFirmware::Handle(const uint8_t* datagram, size_t length,
                                                 int64_t nowMs) {
  const std::optional<modem::ControlHeader> header = modem::DecodeControlHeader(datagram, length);
  if (!header) {
    log_("ignored: " + std::to_string(length) + " bytes, shorter than a header");
    return {};
  }
  log_(Describe(*header, datagram, length));
  if (Silent(nowMs)) {
    log_("ignored: rebooting");
    return {};
  }
  const RequestFate fate = faults_.TakeRequest();
  if (fate.lineUp) SetLineUp(*fate.lineUp);
  if (fate.lost) {
    log_("ignored: lost on the way in (drop-first or unplugged)");
    return {};
  }
  const bool discovery = header->code == modem::MSG_DISCOVER;
  if (header->mac != settings_.mac && !(discovery && header->mac == modem::kDiscoveryMac)) {
    log_("ignored: addressed to another modem");
    return {};
  }
  switch (header->code) {
    case modem::MSG_DISCOVER:
      return ReplyText(datagram, modem::MSG_DISCOVER_REPLY,
                       "<macAddress=" + FormatMac(settings_.mac) + "><fwVersion=" +
                           settings_.firmwareVersion + "><modelName=" + settings_.model +
                           "><hwVersion=A1><routerPassword=" + settings_.password +
                           "><ipAddress=" + settings_.ipAddress + ">",
                       ReplyKind::kTokens, nowMs);
    case modem::MSG_QUERY:
      return HandleQuery(datagram, length, nowMs);
    case modem::MSG_SET:
      return HandleSet(datagram, length, nowMs);
    case modem::MSG_COMMAND:
      return HandleCommand(datagram, length, nowMs);
    default:
      log_("ignored: unknown message code");
      return {};
  }
}

std::vector<OutgoingReply> ModemFirmware::HandleQuery(const uint8_t* datagram, size_t length,
                                                      int64_t nowMs) {
  const std::string_view tag = modem::PayloadText(datagram + kHeaderSize, length - kHeaderSize);
  if (tag == modem::kQueryLineRate) {
    const bool up = settings_.lineUp;
    return ReplyText(datagram, modem::MSG_QUERY_REPLY,
                     "<lineRateUp=" + std::to_string(up ? settings_.lineRateUpKbps : 0) +
                         "><lineRateDown=" + std::to_string(up ? settings_.lineRateDownKbps : 0) +
                         "><lineDown=" + (up ? "0" : "1") + ">",
                     ReplyKind::kTokens, nowMs);
  }
  if (tag == modem::kQueryWanStatus) {
    ++wanPollsSinceBoot_;
    return ReplyText(datagram, modem::MSG_QUERY_REPLY,
                     "<wanStatus=" + std::to_string(WanStatus(nowMs)) + ">", ReplyKind::kTokens,
                     nowMs);
  }
  if (tag == modem::kQueryPvc1) {
    uint8_t record[modem::kPvc1RecordSize];
    modem::EncodePvc1Record(saved_.pvc1, record);
    return Reply(datagram, modem::MSG_QUERY_REPLY, record, sizeof record, ReplyKind::kRecord,
                 nowMs);
  }
  if (tag == modem::kQueryWireless) {
    uint8_t record[modem::kWirelessRecordSize];
    modem::EncodeWirelessRecord(saved_.wireless, record);
    return Reply(datagram, modem::MSG_QUERY_REPLY, record, sizeof record, ReplyKind::kRecord,
                 nowMs);
  }
  log_("ignored: unknown query");
  return {};
}

std::vector<OutgoingReply> ModemFirmware::HandleSet(const uint8_t* datagram, size_t length,
                                                    int64_t nowMs) {
  const uint8_t* payload = datagram + kHeaderSize;
  const size_t payloadLength = length - kHeaderSize;
  if (modem::HasRecordTag(payload, payloadLength, modem::kPvc1Tag)) {
    const std::optional<modem::Pvc1Record> record = modem::DecodePvc1Record(payload, payloadLength);
    if (!record) {
      log_("ignored: pvc1 record shorter than " + std::to_string(modem::kPvc1RecordSize));
      return {};
    }
    pending_.pvc1 = *record;
    ++counters_.pvc1Sets;
    log_("pending" + DescribeConfig(pending_, "pvc1."));
  } else if (modem::HasRecordTag(payload, payloadLength, modem::kWirelessTag)) {
    const std::optional<modem::WirelessRecord> record =
        modem::DecodeWirelessRecord(payload, payloadLength);
    if (!record) {
      log_("ignored: wireless record shorter than " + std::to_string(modem::kWirelessRecordSize));
      return {};
    }
    pending_.wireless = *record;
    ++counters_.wirelessSets;
    log_("pending" + DescribeConfig(pending_, "wireless."));
  } else {
    log_("ignored: set request without a known record tag");
    return {};
  }
  return ReplyText(datagram, modem::MSG_SET_REPLY, "<result=ok>", ReplyKind::kAcknowledge, nowMs);
}

std::vector<OutgoingReply> ModemFirmware::HandleCommand(const uint8_t* datagram, size_t length,
                                                        int64_t nowMs) {
  const std::string_view command = modem::PayloadText(datagram + kHeaderSize, length - kHeaderSize);
  if (command == "<" + std::string(modem::kCommandSaveReboot) + ">") {
    saved_ = pending_;
    ++counters_.saveReboots;
    log_("saved; rebooting");
  } else if (command == "<" + std::string(modem::kCommandRebootDefault) + ">") {
    saved_ = factory_;
    pending_ = factory_;
    ++counters_.factoryResets;
    log_("factory settings restored; rebooting");
  } else {
    log_("ignored: unknown command");
    return {};
  }
  ++savedGeneration_;
  std::vector<OutgoingReply> replies =
      ReplyText(datagram, modem::MSG_COMMAND_REPLY, "<result=ok>", ReplyKind::kAcknowledge, nowMs);
  Reboot(nowMs);
  return replies;
}

void ModemFirmware::Reboot(int64_t nowMs) {
  silentUntilMs_ = nowMs + settings_.rebootMs;
  bootMs_ = silentUntilMs_;
  wanPollsSinceBoot_ = 0;
  pending_ = saved_;
  gone_ = faults_.settings().noReturnAfterReboot;
  log_(gone_ ? "rebooting, never to answer again"
             : "silent for " + std::to_string(settings_.rebootMs) + " ms");
}

int32_t ModemFirmware::WanStatus(int64_t nowMs) const {
  if (!settings_.lineUp) return kWanNoLine;
  if (wanPollsSinceBoot_ <= settings_.wanUpAfterPolls || nowMs - bootMs_ < settings_.wanUpAfterMs)
    return kWanConnecting;
  const modem::Pvc1Record& account = saved_.pvc1;
  if ((settings_.ispUser && account.pppUsername != *settings_.ispUser) ||
      (settings_.ispPassword && account.pppPassword != *settings_.ispPassword))
    return kWanAuthenticationFailed;
  return kWanUp;
}

std::vector<OutgoingReply> ModemFirmware::ReplyText(const uint8_t* request, uint16_t code,
                                                    const std::string& text, ReplyKind kind,
                                                    int64_t nowMs) {
  // The text goes out with its terminating zero byte, as the modem's token replies do.
  return Reply(request, code, reinterpret_cast<const uint8_t*>(text.c_str()), text.size() + 1, kind,
               nowMs);
}

std::vector<OutgoingReply> ModemFirmware::Reply(const uint8_t* request, uint16_t code,
                                                const uint8_t* payload, size_t payloadLength,
                                                ReplyKind kind, int64_t nowMs) {
  std::vector<uint8_t> bytes(kHeaderSize + payloadLength);
  const uint16_t sequence = modem::ReadBe16(request + 8);
  modem::EncodeControlHeader({settings_.mac, code, sequence}, bytes.data());
  std::memcpy(bytes.data() + kHeaderSize, payload, payloadLength);
  std::vector<OutgoingReply> out = faults_.Apply(std::move(bytes), kind, nowMs);
  if (faults_.lastHeld())
    log_("reply held back (reorder)");
  else if (out.empty())
    log_("reply lost (drop)");
  for (const OutgoingReply& copy : out)
    if (!copy.faults.empty())
      log_("fault:" + copy.faults +
           " seq=" + std::to_string(modem::ReadBe16(copy.bytes.data() + 8)));
  return out;
}

}  // namespace quillon::modemsim
