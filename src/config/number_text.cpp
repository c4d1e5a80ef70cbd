#include "config/number_text.h"

#include <limits>

namespace quillon::config {
namespace {

bool isCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int32_t atolLike(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Accumulate in 64 bits and stop growing once past the 32-bit range, so that no input
  // overflows; the clamp below then gives the nearest representable value.
  constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (magnitude <= kCap) magnitude = magnitude * 10 + (text[i] - '0');
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

std::optional<int32_t> parseProfileInt(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Unsigned arithmetic wraps by definition, which is exactly the 32-bit result we want.
  uint32_t value = 0;
  std::size_t digits = 0;
  const bool hexPrefix = text.size() > i + 2 && text[i] == '0' &&
                         (text[i + 1] == 'x' || text[i + 1] == 'X') && hexDigit(text[i + 2]) >= 0;
  if (hexPrefix) {
    for (i += 2; i < text.size() && hexDigit(text[i]) >= 0; ++i, ++digits)
      value = value * 16u + static_cast<uint32_t>(hexDigit(text[i]));
  } else {
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
      value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  if (digits == 0) return std::nullopt;
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace quillon::config
