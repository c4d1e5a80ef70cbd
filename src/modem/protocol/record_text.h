#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::modem {

// Reads a decimal integer the lenient way of the modem's texts: leading blanks, an optional
// sign, digits up to the first non-digit; no digits give 0. Out-of-range values saturate.
int32_t ReadDecimal(std::string_view text);

// Writes text into a zero-filled field of fieldSize bytes, cut to fieldSize - 1 characters
// so the field always keeps its terminating zero.
void WriteTextField(uint8_t* field, size_t fieldSize, std::string_view text);

// Reads the zero-terminated text of a field; a field without a zero byte gives its first
// fieldSize - 1 characters, never anything beyond the field.
std::string ReadTextField(const uint8_t* field, size_t fieldSize);

// The text of a payload: up to its first zero byte or its end, whichever comes first.
std::string_view PayloadText(const uint8_t* payload, size_t length);

}  // namespace quillon::modem
