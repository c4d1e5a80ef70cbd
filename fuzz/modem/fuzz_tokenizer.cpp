// Token text from the network: the table must never grow past its size, and what it stores
// must be exactly what the readers see.
#include <cstddef>
#include <cstdint>

#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/token_text.h"

using namespace quillon::modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TokenTable table = Tokenize(data, size);
  if (table.StoredCount() > TokenTable::kMaxTokens) __builtin_trap();
  for (size_t i = 0; i < table.StoredCount(); ++i) {
    const auto token = table.Token(i);
    if (token.size() > TokenTable::kMaxTokenLength || token.data()[token.size()] != '\0')
      __builtin_trap();
  }
  // A complete table of twelve tokens is always a readable discovery reply, and no reader
  // accepts an incomplete one.
  const bool discovery = ReadDiscoveryReply(table).has_value();
  if (discovery != (table.Complete() && table.count == 12)) __builtin_trap();
  if (!table.Complete() && (ReadLineRateReply(table) || ReadWanStatusReply(table)))
    __builtin_trap();
  return 0;
}
