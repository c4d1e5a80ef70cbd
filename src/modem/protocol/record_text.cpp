#include "modem/protocol/record_text.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon::modem {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ReadDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate the magnitude with a cap so a long run of digits cannot overflow.
  constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(kCap, magnitude * 10 + (text[i] - '0'));
  const int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void WriteTextField(uint8_t* field, size_t fieldSize, std::string_view text) {
  if (fieldSize == 0) return;
  std::memset(field, 0, fieldSize);
  const size_t count = std::min(text.size(), fieldSize - 1);
  std::memcpy(field, text.data(), count);
}

std::string ReadTextField(const uint8_t* field, size_t fieldSize) {
  if (fieldSize == 0) return {};
  const auto* begin = reinterpret_cast<const char*>(field);
  const auto* end = begin + (fieldSize - 1);
  return std::string(begin, std::find(begin, end, '\0'));
}

std::string_view PayloadText(const uint8_t* payload, size_t length) {
  if (payload == nullptr || length == 0) return {};
  const auto* begin = reinterpret_cast<const char*>(payload);
  const auto* end = std::find(begin, begin + length, '\0');
  return std::string_view(begin, static_cast<size_t>(end - begin));
}

}  // namespace quillon::modem
