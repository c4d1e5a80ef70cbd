#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon::modem {

// The tokens of a token-text reply (discovery, line rate, WAN status). The table has room for
// kMaxTokens tokens of kMaxTokenLength characters; see Tokenize for what happens beyond that.
struct TokenTable {
  static constexpr size_t kMaxTokens = 20;
  static constexpr size_t kMaxTokenLength = 127;

  std::array<std::array<char, kMaxTokenLength + 1>, kMaxTokens> text{};
  std::array<uint8_t, kMaxTokens> length{};
  // Every token the text held, stored or not; may exceed kMaxTokens.
  size_t count = 0;
  // Some token was longer than kMaxTokenLength and was stored cut.
  bool overlong = false;
  // Which stored tokens were cut.
  std::array<bool, kMaxTokens> cut{};

  size_t StoredCount() const { return count < kMaxTokens ? count : kMaxTokens; }
  // Token i as stored; empty when i is not a stored token.
  std::string_view Token(size_t i) const;
  // Every token fitted the table.
  bool Complete() const { return count <= kMaxTokens && !overlong; }
  // Token i is stored whole: the only kind of value a caller should believe.
  bool Intact(size_t i) const { return i < StoredCount() && !cut[i]; }
};

// Cuts a reply payload into tokens: "<" restarts the current token, "=" and ">" end it, any
// other character is appended. The text ends at its first zero byte or after length bytes.
TokenTable Tokenize(const uint8_t* payload, size_t length);

}  // namespace quillon::modem
