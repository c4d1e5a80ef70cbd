// The 8-bit texts of the catalogues and the UTF-8 a screen hands back: every conversion takes
// any bytes, AnsiToUtf8 always yields well-formed UTF-8, and a text that went to UTF-8 comes back
// byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/ansi_text.h"

namespace {

// Well-formed UTF-8 in its shortest form, without surrogates, up to U+10FFFF.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < n; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      if ((t >> 6) != 2) return false;
      c = (c << 6) | (t & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (int charset :
       {ui::kAnsiCharset, ui::kGreekCharset, ui::kRussianCharset, ui::kEastEuropeCharset, 77}) {
    const std::string utf8 = ui::AnsiToUtf8(text, charset);
    if (!IsUtf8(utf8)) std::abort();
    if (ui::Utf8ToAnsi(utf8, charset) != text) std::abort();
    // Whatever a user's input method produces is cut down to the code page, never grown.
    const std::string typed = ui::Utf8ToAnsi(text, charset);
    if (typed.size() > text.size()) std::abort();
  }
  if (size >= 4) {
    const char32_t c =
        static_cast<char32_t>(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    const int ansi = ui::UnicodeToAnsi(c, ui::kRussianCharset);
    if (ansi < -1 || ansi > 255) std::abort();
  }
  return 0;
}
