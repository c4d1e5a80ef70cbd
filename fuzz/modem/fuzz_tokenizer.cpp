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
  // Twelve tokens whose model, password and address fitted are always a readable discovery
  // reply, whatever else was cut; no reader believes a token of its own that was cut.
  const bool discovery = ReadDiscoveryReply(table).has_value();
  const bool readable = table.count == 12 && table.Intact(5) && table.Intact(9) && table.Intact(11);
  if (discovery != readable) __builtin_trap();
  if (ReadLineRateReply(table) && !(table.Intact(0) && table.Intact(5))) __builtin_trap();
  if (ReadWanStatusReply(table) && !(table.Intact(0) && table.Intact(1))) __builtin_trap();
  return 0;
}
