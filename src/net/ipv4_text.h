#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// "a.b.c.d" with four decimal parts of 0 to 255 and nothing else (no blanks, no signs, at most
// three digits a part); the address in host byte order.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);
std::string FormatDottedQuad(std::uint32_t address);

// A port text: decimal 0 to 65535, nothing else.
std::optional<std::uint16_t> ParsePort(std::string_view text);

}  // namespace net
