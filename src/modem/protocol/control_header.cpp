#include "modem/protocol/control_header.h"

#include <algorithm>

namespace quillon::modem {

void EncodeControlHeader(const ControlHeader& header, uint8_t* out) {
  std::copy(header.mac.begin(), header.mac.end(), out);
  WriteBe16(out + 6, header.code);
  WriteBe16(out + 8, header.sequenceNumber);
}

std::optional<ControlHeader> DecodeControlHeader(const uint8_t* data, size_t length) {
  if (data == nullptr || length < kHeaderSize) return std::nullopt;
  ControlHeader header;
  std::copy(data, data + 6, header.mac.begin());
  header.code = ReadBe16(data + 6);
  header.sequenceNumber = ReadBe16(data + 8);
  return header;
}

std::string MacText(const MacAddress& mac) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const uint8_t byte : mac) {
    if (!text.empty()) text += ':';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

}  // namespace quillon::modem
