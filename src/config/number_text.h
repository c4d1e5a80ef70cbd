#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::config {

// The C library's atol, made total: leading white space, an optional sign, then decimal digits up
// to the first other character; no digits gives 0. Values outside 32 bits are clamped.
int32_t atolLike(std::string_view text);

// An integer of a private-profile file: decimal with an optional sign, or hexadecimal after
// "0x"/"0X". The number is the longest leading run of digits; text after it is ignored, so
// "12abc" reads 12. A value with no leading digit ("abc", "", "-") is not a number: nullopt.
// Values wrap to 32 bits, as the platform's unsigned result does ("0xFFFFFFFF" is -1).
std::optional<int32_t> parseProfileInt(std::string_view text);

}  // namespace quillon::config
