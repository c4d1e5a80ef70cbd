#include "modem/protocol/token_text.h"

namespace quillon::modem {

std::string_view TokenTable::Token(size_t i) const {
  if (i >= StoredCount()) return {};
  return std::string_view(text[i].data(), length[i]);
}

// The table never grows: a token longer than kMaxTokenLength keeps its first characters and
// marks itself and the table cut, and tokens after the twentieth are counted but not stored.
// The reply checks reject a reply whose count is wrong or whose tokens they read were cut,
// rather than act on a cut value; a cut token they do not read does no harm.
TokenTable Tokenize(const uint8_t* payload, size_t length) {
  TokenTable table;
  if (payload == nullptr) return table;
  size_t current = 0;
  bool currentOverlong = false;
  for (size_t i = 0; i < length && payload[i] != 0; ++i) {
    const char c = static_cast<char>(payload[i]);
    if (c == '<') {
      current = 0;
      currentOverlong = false;
    } else if (c == '=' || c == '>') {
      if (table.count < TokenTable::kMaxTokens) {
        table.text[table.count][current] = '\0';
        table.length[table.count] = static_cast<uint8_t>(current);
        table.cut[table.count] = currentOverlong;
      }
      table.overlong = table.overlong || currentOverlong;
      ++table.count;
      current = 0;
      currentOverlong = false;
    } else if (current < TokenTable::kMaxTokenLength) {
      if (table.count < TokenTable::kMaxTokens) table.text[table.count][current] = c;
      ++current;
    } else {
      currentOverlong = true;
    }
  }
  return table;
}

}  // namespace quillon::modem
