// Address and port texts from settings and command lines: only the strict forms parse, and what
// parses prints back to the same number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/ipv4_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto address = net::ParseDottedQuad(text)) {
    // At most three digits a part, four parts, three dots.
    if (text.size() < 7 || text.size() > 15) std::abort();
    if (net::ParseDottedQuad(net::FormatDottedQuad(*address)) != address) std::abort();
  }
  if (const auto port = net::ParsePort(text)) {
    if (text.empty() || text.size() > 5) std::abort();
    unsigned value = 0;
    for (char c : text) value = value * 10 + static_cast<unsigned>(c - '0');
    if (value != *port) std::abort();
  }
  return 0;
}
