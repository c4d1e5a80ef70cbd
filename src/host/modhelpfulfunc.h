#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/exception.h"

namespace host {

// Raised when a part of a dotted quad is not a decimal number, as the framework's text-to-number
// conversion does; the page checks catch it and report the field.
class ConversionError : public ui::Exception {
 public:
  using ui::Exception::Exception;
};

// Text, list, address and key helpers shared by the pages and the worker threads. Positions are
// 1-based; comparisons are exact. Every user holds its own instance: the only state is the last
// dotted quad parsed.
class HelpfulFunc {
 public:
  // The numbers of the last dotted quad given to ParseDottedQuad.
  std::array<std::int32_t, 4> octets{};

  // One-character delimiter lists.
  int CountChar(const std::string& text, const std::string& delimiter) const;
  int FindChar(const std::string& text, const std::string& delimiter) const;
  std::string FirstItem(const std::string& text, const std::string& delimiter) const;
  std::string RestAfterFirst(const std::string& text, const std::string& delimiter) const;

  // Paths, search and replace, comment lines.
  std::string DirectoryOf(const std::string& path) const;
  std::string ReplaceAll(const std::string& text, const std::string& find,
                         const std::string& replacement) const;
  bool IsWrappedIn(const std::string& text, const std::string& prefix,
                   const std::string& suffix) const;
  std::string SystemLanguageName() const;

  // Addresses of the static IP page.
  void ParseDottedQuad(const std::string& text);
  bool IsValidHostAddress(const std::string& text);
  bool IsValidSubnetMask(const std::string& text);
  // Mode 0: the address is not its subnet's broadcast address; mode 1: not its network address.
  bool IsNotEdgeAddress(const std::string& address, const std::string& mask, int mode);

  // Wireless keys.
  bool HasLength(const std::string& text, int n) const;
  bool IsHexKey(const std::string& text, int n) const;
  bool IsPassphraseLength(const std::string& text) const;
  bool IsHexDigit(const std::string& c) const;

  // Bits of one octet.
  int CountLeadingOnes(int value) const;
  int LowestSetBit(int value) const;
};

}  // namespace host
