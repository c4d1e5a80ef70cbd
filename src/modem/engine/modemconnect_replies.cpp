// What the engine does with a received datagram, by state.
#include <cstdio>

#include "modem/engine/modemconnect.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/record_text.h"
#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/wireless_record.h"

namespace quillon::modem {

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, args...);
  text.resize(static_cast<size_t>(size));
  return text;
}

// The log prints the record's 32-bit integers the way a signed format shows them.
int AsSigned(uint32_t value) {
  return static_cast<int32_t>(value);
}

}  // namespace

void TfrmModemConnect::WSocketDataAvailable(int) {
  std::array<uint8_t, kReceiveBufferSize> buffer{};
  const int length = WSocket.ReceiveFrom(buffer.data(), buffer.size());
  if (length < 0) return;
  HandleDatagram(buffer.data(), static_cast<size_t>(length));
}

void TfrmModemConnect::HandleDatagram(const uint8_t* data, size_t length) {
  const int32_t current = state;
  const bool discovery = current == STATE_DISCOVERY;
  const std::optional<ReplyView> reply =
      AcceptReply(data, length, sequenceNumber, targetMac, discovery);
  if (!reply) return;
  if (discovery && foundModemMac && reply->header.mac != *foundModemMac) return;
  Log("receive payload :" + std::string(PayloadText(reply->payload, reply->payloadLength)));
  if (reply->header.code != AwaitedReplyCode(current)) return;
  switch (current) {
    case STATE_DISCOVERY:
      tokens = Tokenize(reply->payload, reply->payloadLength);
      LogTokens();
      OnDiscoveryReply(reply->header.mac);
      break;
    case STATE_QUERY_LINERATE:
      tokens = Tokenize(reply->payload, reply->payloadLength);
      LogTokens();
      OnLineRateReply();
      break;
    case STATE_QUERY_PVC1:
      OnPvc1Reply(reply->payload, reply->payloadLength);
      break;
    case STATE_SET_PVC1:
      Timer.SetEnabled(false);
      sessionResult = kSessionSucceeded;
      break;
    case STATE_QUERY_WIRELESS:
      OnWirelessReply(reply->payload, reply->payloadLength);
      break;
    case STATE_SET_WIRELESS:
      Timer.SetEnabled(false);
      Button1.SetCaption("Save/Reboot");
      sessionResult = kSessionSucceeded;
      break;
    case STATE_CMD_SAVEREBOOT:
      Button1.SetCaption("wait 20sec");
      Timer.SetEnabled(false);
      sessionResult = kSessionSucceeded;
      break;
    case STATE_QUERY_WANSTATUS:
      tokens = Tokenize(reply->payload, reply->payloadLength);
      LogTokens();
      OnWanStatusReply();
      break;
    default:
      break;
  }
}

void TfrmModemConnect::LogTokens() {
  for (size_t i = 0; i < tokens.StoredCount(); ++i) Log("token:" + std::string(tokens.Token(i)));
}

void TfrmModemConnect::OnDiscoveryReply(const MacAddress& mac) {
  const std::optional<DiscoveryReply> discovery = ReadDiscoveryReply(tokens);
  if (!discovery) {
    Log("STATE_DISCOVERY receive error");
    return;
  }
  targetMac = mac;
  discoveredModel = discovery->model;
  discoveredPassword = discovery->password;
  discoveredIpAddress = discovery->ipAddress;
  if (!queryLineRateAfterDiscovery) {
    sessionResult = kSessionSucceeded;
    return;
  }
  state = STATE_QUERY_LINERATE;
  Send(QueryRequest(kQueryLineRate));
  attemptCounter = 0;
  ArmTimer();
}

void TfrmModemConnect::OnLineRateReply() {
  const std::optional<bool> lineUp = ReadLineRateReply(tokens);
  if (!lineUp) {
    Log("STATE_QUERY_LINERATE receive error");
    return;
  }
  if (!*lineUp) {
    Log("ADSL is down");  // the resends poll the line again
    return;
  }
  if (!queryPvc1AfterLineRate) {
    sessionResult = kSessionSucceeded;
    return;
  }
  state = STATE_QUERY_PVC1;
  Send(QueryRequest(kQueryPvc1));
  attemptCounter = 0;
  ArmTimer();
}

void TfrmModemConnect::OnPvc1Reply(const uint8_t* payload, size_t length) {
  // A reply without the tag, or too short to hold the record, is not this step's answer.
  const std::optional<Pvc1Record> record = DecodePvc1Record(payload, length);
  if (!record) return;
  Timer.SetEnabled(false);
  Button1.SetCaption("Set PVC-1");
  Log(Format("vpi=%d vci=%d protocol=%d encap=%d", AsSigned(record->vpi), AsSigned(record->vci),
             AsSigned(record->protocol), AsSigned(record->encap)));
  Log(Format("dhcpc=%d ip=[%s] mask=[%s]", AsSigned(record->dhcpc), record->ip.c_str(),
             record->mask.c_str()));
  Log(Format("autoGW=%d gw=[%s] autoDNS=%d dns=[%s]", AsSigned(record->autoGW), record->gw.c_str(),
             AsSigned(record->autoDNS), record->dns.c_str()));
  Log(Format("pppUsername=[%s] pppPassword=[%s]", record->pppUsername.c_str(),
             record->pppPassword.c_str()));
  ApplyPvc1Record(*record, modemSettings);
  sessionResult = kSessionSucceeded;
}

void TfrmModemConnect::OnWirelessReply(const uint8_t* payload, size_t length) {
  const std::optional<WirelessRecord> record = DecodeWirelessRecord(payload, length);
  if (!record) return;
  Log("wlChannel=" + record->wlChannel);
  Log("wlSsid=" + record->wlSsid);
  Log("wlKeyBit=" + record->wlKeyBit);
  Log("wlKey=" + record->wlKey);
  Log("wlWpaPsk=" + record->wlWpaPsk);
  Log("wlWep=" + record->wlWep);
  Log("wlWpa=" + record->wlWpa);
  Log("wlAuthMode=" + record->wlAuthMode);
  Timer.SetEnabled(false);
  Button1.SetCaption("Set Wireless");
  ApplyWirelessRecord(*record, modemSettings);
  sessionResult = kSessionSucceeded;
}

void TfrmModemConnect::OnWanStatusReply() {
  const std::optional<int32_t> status = ReadWanStatusReply(tokens);
  if (!status) {
    Log("STATE_QUERY_WANSTATUS receive error");
    return;
  }
  wanStatus = *status;
  if (*status != kWanStatusUp) return;  // the resends poll again
  Timer.SetEnabled(false);
  Log("WanStatus is Up");
  state = STATE_WAN_UP;
  if (testDnsAfterWanUp) {
    StartNameTest();
  } else {
    sessionResult = kSessionSucceeded;
  }
}

}  // namespace quillon::modem
