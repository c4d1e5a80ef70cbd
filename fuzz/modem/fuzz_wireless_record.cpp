// A wireless record reply from the network: decoding reads nothing past the given length, and
// whatever decodes encodes back to a record that decodes the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "modem/protocol/wireless_record.h"

using namespace quillon::modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> reply(data, data + size);
  const std::optional<WirelessRecord> record = DecodeWirelessRecord(reply.data(), reply.size());
  if (!record) return 0;
  uint8_t encoded[kWirelessRecordSize];
  EncodeWirelessRecord(*record, encoded);
  const std::optional<WirelessRecord> again = DecodeWirelessRecord(encoded, sizeof encoded);
  if (!again || !(*again == *record)) __builtin_trap();
  ModemSettings settings;
  ApplyWirelessRecord(*record, settings);
  if (const std::optional<WirelessRecord> sent = WirelessRecordFromSettings(settings))
    EncodeWirelessRecord(*sent, encoded);
  return 0;
}
