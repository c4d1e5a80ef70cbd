// A pvc1 record reply from the network: decoding reads nothing past the given length, and
// whatever decodes encodes back to a record that decodes the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "modem/protocol/pvc1_record.h"

using namespace quillon::modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so a read past the end is caught by the sanitizer.
  const std::vector<uint8_t> reply(data, data + size);
  const std::optional<Pvc1Record> record = DecodePvc1Record(reply.data(), reply.size());
  if (!record) return 0;
  uint8_t encoded[kPvc1RecordSize];
  EncodePvc1Record(*record, encoded);
  const std::optional<Pvc1Record> again = DecodePvc1Record(encoded, sizeof encoded);
  if (!again || !(*again == *record)) __builtin_trap();
  ModemSettings settings;
  ApplyPvc1Record(*record, settings);
  EncodePvc1Record(Pvc1RecordFromSettings(settings), encoded);
  return 0;
}
