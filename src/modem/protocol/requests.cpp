#include "modem/protocol/requests.h"

#include <algorithm>
#include <cstring>

#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"

namespace quillon::modem {

namespace {

// Appends text to the payload, keeping room for a terminating zero that the zero-filled
// payload already holds.
void AppendText(Request& request, std::string_view text) {
  const size_t room = kMaxPayloadSize - 1 - request.payloadLength;
  const size_t count = std::min(text.size(), room);
  std::memcpy(request.payload.data() + request.payloadLength, text.data(), count);
  request.payloadLength += count;
}

}  // namespace

Request DiscoverRequest() {
  Request request;
  request.code = MSG_DISCOVER;
  request.payloadLength = 1;
  return request;
}

Request QueryRequest(std::string_view tag) {
  Request request;
  request.code = MSG_QUERY;
  AppendText(request, tag);
  request.payloadLength += 1;
  return request;
}

Request SetPvc1Request(const ModemSettings& settings) {
  Request request;
  request.code = MSG_SET;
  EncodePvc1Record(Pvc1RecordFromSettings(settings), request.payload.data());
  request.payloadLength = kPvc1RecordSize;
  return request;
}

std::optional<Request> SetWirelessRequest(const ModemSettings& settings) {
  const std::optional<WirelessRecord> record = WirelessRecordFromSettings(settings);
  if (!record) return std::nullopt;
  Request request;
  request.code = MSG_SET;
  EncodeWirelessRecord(*record, request.payload.data());
  request.payloadLength = kWirelessRecordSize;
  return request;
}

Request CommandRequest(std::string_view name) {
  Request request;
  request.code = MSG_COMMAND;
  const size_t fitting = kMaxPayloadSize - 3;  // "<", ">" and the zero byte
  AppendText(request, "<");
  AppendText(request, name.substr(0, std::min(name.size(), fitting)));
  AppendText(request, ">");
  request.payloadLength += 1;
  return request;
}

Datagram AssembleDatagram(const MacAddress& target, const Request& request,
                          uint16_t sequenceNumber) {
  Datagram datagram;
  EncodeControlHeader({target, request.code, sequenceNumber}, datagram.bytes.data());
  const size_t payloadLength = std::min(request.payloadLength, kMaxPayloadSize);
  std::memcpy(datagram.bytes.data() + kHeaderSize, request.payload.data(), payloadLength);
  datagram.length = std::max(kHeaderSize + payloadLength, kMinDatagramSize);
  return datagram;
}

void RestampSequenceNumber(Datagram& datagram, uint16_t sequenceNumber) {
  WriteBe16(datagram.bytes.data() + 8, sequenceNumber);
}

}  // namespace quillon::modem
