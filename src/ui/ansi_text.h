#pragma once

#include <string>

namespace ui {

// Font character sets as the forms know them, and the 8-bit code pages behind them.
constexpr int kAnsiCharset = 0;          // Windows-1252
constexpr int kGreekCharset = 161;       // Windows-1253
constexpr int kRussianCharset = 204;     // Windows-1251
constexpr int kEastEuropeCharset = 238;  // Windows-1250

// Captions are 8-bit texts; a screen shows Unicode. Unknown charsets read as Windows-1252.
std::string AnsiToUtf8(const std::string& text, int charset);
// The reverse, for what a user types: a character the code page lacks becomes
// kNotInCodePage, which an edit's key handler sees but the edit never inserts, so that a field
// whose text must be sent exactly can tell the user instead of losing the character silently.
std::string Utf8ToAnsi(const std::string& text, int charset);
constexpr char kNotInCodePage = '\x7F';
// One character: the code page byte (0..255), or -1 when the code page lacks it.
int UnicodeToAnsi(char32_t c, int charset);

}  // namespace ui
