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

// Why a datagram was no reply to the current request, with what it carried instead.
std::string RejectionText(ReplyRejection why, const uint8_t* data, size_t length,
                          SequenceWindow step) {
  const std::optional<ReplyView> view = SplitReply(data, length);
  switch (why) {
    case ReplyRejection::kShort:
      return "short datagram of " + std::to_string(length) + " bytes";
    case ReplyRejection::kStaleSequence:
      return "sequence number " + std::to_string(view ? view->header.sequenceNumber : 0) +
             ", not one of this step's (" +
             (step.count == 0
                  ? std::string("it sent nothing")
                  : std::to_string(step.first) + " to " +
                        std::to_string(static_cast<uint16_t>(step.first + step.count - 1))) +
             ")";
    case ReplyRejection::kForeignMac:
      return "from " + (view ? MacText(view->header.mac) : std::string()) +
             ", not the target modem";
    case ReplyRejection::kNoModemMac:
      return "from " + (view ? MacText(view->header.mac) : std::string()) +
             ", which is no single modem";
    default:
      return "unknown reason";
  }
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
  ReplyRejection why = ReplyRejection::kNone;
  const std::optional<ReplyView> reply =
      AcceptReply(data, length, stepSequences_, targetMac, discovery, &why);
  if (!reply) {
    DropReply(RejectionText(why, data, length, stepSequences_));
    return;
  }
  if (discovery && foundModemMac && reply->header.mac != *foundModemMac) {
    DropReply("from " + MacText(reply->header.mac) + ", not the modem the check found");
    return;
  }
  Log("receive payload :" + std::string(PayloadText(reply->payload, reply->payloadLength)));
  if (reply->header.code != AwaitedReplyCode(current)) {
    DropReply("message code " + std::to_string(reply->header.code) + ", not " +
              std::to_string(AwaitedReplyCode(current)));
    return;
  }
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
      Succeed();
      break;
    case STATE_QUERY_WIRELESS:
      OnWirelessReply(reply->payload, reply->payloadLength);
      break;
    case STATE_SET_WIRELESS:
      Timer.SetEnabled(false);
      Button1.SetCaption("Save/Reboot");
      Succeed();
      break;
    case STATE_CMD_SAVEREBOOT:
      Button1.SetCaption("wait 20sec");
      Timer.SetEnabled(false);
      Succeed();
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
    DropReply("malformed tokens");
    Log("STATE_DISCOVERY receive error");
    return;
  }
  ++repliesTaken_;
  // A discovery over several adapters chooses among their answers; the choice may wait.
  if (heardOn_ && !answeredOn_) {
    HearAnswer(mac, *discovery);
    return;
  }
  TakeDiscovery(mac, *discovery);
}

void TfrmModemConnect::TakeDiscovery(const MacAddress& mac, const DiscoveryReply& discovery) {
  targetMac = mac;
  discoveredModel = discovery.model;
  discoveredPassword = discovery.password;
  discoveredIpAddress = discovery.ipAddress;
  if (!queryLineRateAfterDiscovery) {
    Succeed();
    return;
  }
  state = STATE_QUERY_LINERATE;
  repliesTaken_ = repliesDropped_ = 0;  // the verdict judges the step that ends the run
  unfinishedCause_.clear();
  Send(QueryRequest(kQueryLineRate));
  attemptCounter = 0;
  ArmTimer();
}

void TfrmModemConnect::OnLineRateReply() {
  const std::optional<bool> lineUp = ReadLineRateReply(tokens);
  if (!lineUp) {
    DropReply("malformed tokens");
    Log("STATE_QUERY_LINERATE receive error");
    return;
  }
  ++repliesTaken_;
  if (!*lineUp) {
    unfinishedCause_ = "the DSL line is down";
    Log("ADSL is down");  // the resends poll the line again
    return;
  }
  if (!queryPvc1AfterLineRate) {
    Succeed();
    return;
  }
  state = STATE_QUERY_PVC1;
  repliesTaken_ = repliesDropped_ = 0;
  unfinishedCause_.clear();
  Send(QueryRequest(kQueryPvc1));
  attemptCounter = 0;
  ArmTimer();
}

void TfrmModemConnect::OnPvc1Reply(const uint8_t* payload, size_t length) {
  // A reply without the tag, or too short to hold the record, is not this step's answer.
  const std::optional<Pvc1Record> record = DecodePvc1Record(payload, length);
  if (!record) {
    DropReply("no PVC record (" + std::to_string(length) + " bytes)");
    return;
  }
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
  Succeed();
}

void TfrmModemConnect::OnWirelessReply(const uint8_t* payload, size_t length) {
  const std::optional<WirelessRecord> record = DecodeWirelessRecord(payload, length);
  if (!record) {
    DropReply("no wireless record (" + std::to_string(length) + " bytes)");
    return;
  }
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
  Succeed();
}

void TfrmModemConnect::OnWanStatusReply() {
  const std::optional<int32_t> status = ReadWanStatusReply(tokens);
  if (!status) {
    DropReply("malformed tokens");
    Log("STATE_QUERY_WANSTATUS receive error");
    return;
  }
  ++repliesTaken_;
  wanStatus = *status;
  if (*status != kWanStatusUp) {
    unfinishedCause_ = "the WAN never came up (last status " + std::to_string(*status) + ")";
    return;  // the resends poll again
  }
  Timer.SetEnabled(false);
  Log("WanStatus is Up");
  state = STATE_WAN_UP;
  if (testDnsAfterWanUp) {
    StartNameTest();
  } else {
    Succeed();
  }
}

}  // namespace quillon::modem
