#include "host/modhelpfulfunc.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>

#include "platform/system_info.h"

namespace host {
namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// Strips leading and trailing blanks and control characters, as the framework's Trim does.
std::string Stripped(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool Matches(char c, const std::string& strippedDelimiter) {
  return Stripped(std::string(1, c)) == strippedDelimiter;
}

// A decimal number with an optional sign and nothing else, within 32 bits.
std::int32_t ToInteger(const std::string& part) {
  std::size_t i = 0;
  bool negative = false;
  if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
  if (i == part.size()) throw ConversionError("'" + part + "' is not a valid integer value");
  std::int64_t value = 0;
  for (; i < part.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(part[i])))
      throw ConversionError("'" + part + "' is not a valid integer value");
    value = value * 10 + (part[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
      throw ConversionError("'" + part + "' is not a valid integer value");
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max())
    throw ConversionError("'" + part + "' is not a valid integer value");
  return static_cast<std::int32_t>(value);
}

bool HasGapOrTrailingDot(const std::string& text) {
  return text.find("..") != std::string::npos || (!text.empty() && text.back() == '.');
}

}  // namespace

int HelpfulFunc::CountChar(const std::string& text, const std::string& delimiter) const {
  const std::string d = Stripped(delimiter);
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [&](char c) { return Matches(c, d); }));
}

int HelpfulFunc::FindChar(const std::string& text, const std::string& delimiter) const {
  const std::string d = Stripped(delimiter);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (Matches(text[i], d)) return static_cast<int>(i) + 1;
  return 0;
}

std::string HelpfulFunc::FirstItem(const std::string& text, const std::string& delimiter) const {
  const int at = FindChar(text, delimiter);
  return at == 0 ? text : text.substr(0, static_cast<std::size_t>(at - 1));
}

std::string HelpfulFunc::RestAfterFirst(const std::string& text,
                                        const std::string& delimiter) const {
  const int at = FindChar(text, delimiter);
  return at == 0 ? text : text.substr(static_cast<std::size_t>(at));
}

std::string HelpfulFunc::DirectoryOf(const std::string& path) const {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? path : path.substr(0, cut + 1);
}

std::string HelpfulFunc::ReplaceAll(const std::string& text, const std::string& find,
                                    const std::string& replacement) const {
  // An empty pattern would match everywhere without ever moving on.
  if (find.empty()) return text;
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, find.size(), find) == 0) {
      out += replacement;
      i += find.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

bool HelpfulFunc::IsWrappedIn(const std::string& text, const std::string& prefix,
                              const std::string& suffix) const {
  if (Stripped(text).empty()) return true;
  const std::string p = Stripped(prefix);
  const std::string s = Stripped(suffix);
  if (p.empty() && s.empty()) return false;
  if (text.size() < prefix.size() || text.size() < suffix.size()) return false;
  return Stripped(text.substr(0, prefix.size())) == p &&
         Stripped(text.substr(text.size() - suffix.size())) == s;
}

std::string HelpfulFunc::SystemLanguageName() const {
  return platform::SystemDefaultLanguageName();
}

void HelpfulFunc::ParseDottedQuad(const std::string& text) {
  octets.fill(0);
  std::size_t start = 0;
  // A fifth part and any after it are not read: there is nowhere to keep them.
  for (std::size_t entry = 0; entry < octets.size(); ++entry) {
    const std::size_t dot = text.find('.', start);
    const std::string part =
        text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    octets[entry] = part.empty() ? 0 : ToInteger(part);
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
}

bool HelpfulFunc::IsValidHostAddress(const std::string& text) {
  if (HasGapOrTrailingDot(text)) return false;
  const std::string compact = ReplaceAll(text, " ", "");
  // Five or more parts are no address, although the parser would read only the first four.
  if (CountChar(compact, ".") > 3) return false;
  ParseDottedQuad(compact);
  const auto [a, b, c, d] = octets;
  return a >= 1 && a <= 223 && a != 127 && d >= 1 && d <= 254 &&
         static_cast<std::uint32_t>(b) <= 255 && static_cast<std::uint32_t>(c) <= 255;
}

bool HelpfulFunc::IsValidSubnetMask(const std::string& text) {
  if (HasGapOrTrailingDot(text)) return false;
  if (CountChar(text, ".") != 3) return false;
  ParseDottedQuad(text);
  if (std::all_of(octets.begin(), octets.end(), [](std::int32_t n) { return n == 0; }))
    return false;
  bool partialSeen = false;
  for (const std::int32_t n : octets) {
    if (n < 0 || n > 255) return false;
    if (CountLeadingOnes(n) < LowestSetBit(n)) return false;
    if (partialSeen && n != 0) return false;
    if (CountLeadingOnes(n) < 8) partialSeen = true;
  }
  return octets[0] != 0;
}

bool HelpfulFunc::IsNotEdgeAddress(const std::string& address, const std::string& mask, int mode) {
  ParseDottedQuad(ReplaceAll(address, " ", "0"));
  const auto a = octets;
  ParseDottedQuad(ReplaceAll(mask, " ", "0"));
  const auto m = octets;
  bool edge = true;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (mode == 0)
      edge = edge && a[i] == ((~m[i] & 0xFF) ^ (a[i] & m[i]));
    else if (mode == 1)
      edge = edge && a[i] == (a[i] & m[i]);
    else
      return false;
  }
  return !edge;
}

bool HelpfulFunc::HasLength(const std::string& text, int n) const {
  return static_cast<int>(text.size()) == n;
}

bool HelpfulFunc::IsHexKey(const std::string& text, int n) const {
  if (!HasLength(text, n)) return false;
  return std::all_of(text.begin(), text.end(), [this](char c) {
    return IsHexDigit(
        std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(c)))));
  });
}

bool HelpfulFunc::IsPassphraseLength(const std::string& text) const {
  return text.size() >= 8 && text.size() < 64;
}

bool HelpfulFunc::IsHexDigit(const std::string& c) const {
  return c.size() == 1 && std::string("1234567890ABCDEF").find(c) != std::string::npos;
}

int HelpfulFunc::CountLeadingOnes(int value) const {
  int count = 0;
  for (int bit = 7; bit >= 0 && (value >> bit & 1) != 0; --bit) ++count;
  return count;
}

int HelpfulFunc::LowestSetBit(int value) const {
  for (int bit = 0; bit <= 7; ++bit)
    if ((value >> bit & 1) != 0) return 7 - bit;
  return -1;
}

}  // namespace host
