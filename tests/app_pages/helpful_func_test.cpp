#include <gtest/gtest.h>

#include <string>

#include "host/modhelpfulfunc.h"

namespace {

using host::HelpfulFunc;

TEST(HelpfulFunc, SplitsListsOnOneCharacter) {
  HelpfulFunc h;
  struct Row {
    std::string text, delimiter, first, rest;
    int count, position;
  };
  const Row rows[] = {
      {"a;b;c", ";", "a", "b;c", 2, 2},
      {"abc", ";", "abc", "abc", 0, 0},
      {";abc", ";", "", "abc", 1, 1},
      {"198.51.100.1;", ";", "198.51.100.1", "", 1, 13},
      {"", ";", "", "", 0, 0},
      // With a blank as the delimiter every blank or control character matches it.
      {"a\tb c", " ", "a", "b c", 2, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(h.FirstItem(row.text, row.delimiter), row.first);
    EXPECT_EQ(h.RestAfterFirst(row.text, row.delimiter), row.rest);
    EXPECT_EQ(h.CountChar(row.text, row.delimiter), row.count);
    EXPECT_EQ(h.FindChar(row.text, row.delimiter), row.position);
  }
}

TEST(HelpfulFunc, TextHelpers) {
  HelpfulFunc h;
  EXPECT_EQ(h.DirectoryOf("C:\\CD\\quillon.exe"), "C:\\CD\\");
  EXPECT_EQ(h.DirectoryOf("quillon.exe"), "quillon.exe");
  EXPECT_EQ(h.ReplaceAll("192.168.  1.  1", " ", ""), "192.168.1.1");
  EXPECT_EQ(h.ReplaceAll("  0.   .   .   ", " ", "0"), "000.000.000.000");
  EXPECT_EQ(h.ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(h.ReplaceAll("abc", "", "x"), "abc");

  struct Wrapped {
    std::string text, prefix, suffix;
    bool wrapped;
  };
  const Wrapped rows[] = {
      {"", "[", "]", true},
      {"   \t", "*", "*", true},
      {"key=value", " ", " ", false},
      {"[Layout]", "[", "]", true},
      {"*** Main ***", "***", "***", true},
      {"IMG_X.Left=1", "[", "]", false},
      {"*", "***", "", false},
  };
  for (const Wrapped& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(h.IsWrappedIn(row.text, row.prefix, row.suffix), row.wrapped);
  }
}

TEST(HelpfulFunc, ParsesDottedQuadsIntoFourEntries) {
  HelpfulFunc h;
  h.ParseDottedQuad("10.20.30.40");
  EXPECT_EQ(h.octets, (std::array<std::int32_t, 4>{10, 20, 30, 40}));
  h.ParseDottedQuad("7..9");
  EXPECT_EQ(h.octets, (std::array<std::int32_t, 4>{7, 0, 9, 0}));
  // A fifth part is not kept anywhere.
  h.ParseDottedQuad("1.2.3.4.5.6");
  EXPECT_EQ(h.octets, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
  EXPECT_THROW(h.ParseDottedQuad("1.x.3.4"), host::ConversionError);
  EXPECT_THROW(h.ParseDottedQuad("1.99999999999.3.4"), host::ConversionError);
}

TEST(HelpfulFunc, HostAddressRules) {
  HelpfulFunc h;
  struct Row {
    std::string text;
    bool valid;
  };
  const Row rows[] = {
      {"192.168.1.10", true},    {"192.168. 1.10", true}, {"1.0.0.1", true},
      {"223.255.255.254", true}, {"127.0.0.1", false},    {"224.0.0.1", false},
      {"0.1.2.3", false},        {"10.0.0.0", false},     {"10.0.0.255", false},
      {"10.0.256.1", false},     {"10.-1.0.1", false},    {"10.0.0.", false},
      {"10..0.1", false},        {"...", false},          {"", false},
      {"1.2.3.4.5", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(h.IsValidHostAddress(row.text), row.valid);
  }
}

TEST(HelpfulFunc, SubnetMaskRules) {
  HelpfulFunc h;
  struct Row {
    std::string text;
    bool valid;
  };
  const Row rows[] = {
      {"255.255.255.0", true},  {"255.255.255.255", true}, {"128.0.0.0", true},
      {"255.255.254.0", true},  {"255.255.255.252", true}, {"0.0.0.0", false},
      {"255.0.255.0", false},   {"255.255.253.0", false},  {"0.255.255.0", false},
      {"255.255.255", false},   {"255.255.255.0.", false}, {"255..255.0", false},
      {"255.255.256.0", false}, {"255.128.128.0", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(h.IsValidSubnetMask(row.text), row.valid);
  }
}

TEST(HelpfulFunc, EdgeAddressesOfTheSubnet) {
  HelpfulFunc h;
  struct Row {
    std::string address, mask;
    int mode;
    bool notEdge;
  };
  const Row rows[] = {
      {"192.168.1.255", "255.255.255.0", 0, false},
      {"192.168.1.0", "255.255.255.0", 1, false},
      {"192.168.1.7", "255.255.255.0", 0, true},
      {"192.168.1.7", "255.255.255.0", 1, true},
      {"10.0.0.3", "255.255.255.252", 0, false},
      {"10.0.0.4", "255.255.255.252", 1, false},
      {"10.0.0.5", "255.255.255.252", 0, true},
      {"192.168.1.7", "255.255.255.0", 2, false},
      // Blanks of the masked fields read as zeros.
      {"192.168.  1.   ", "255.255.255.  ", 1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.address + " " + std::to_string(row.mode));
    EXPECT_EQ(h.IsNotEdgeAddress(row.address, row.mask, row.mode), row.notEdge);
  }
}

TEST(HelpfulFunc, KeyFormats) {
  HelpfulFunc h;
  EXPECT_TRUE(h.IsHexKey("0123456789", 10));
  EXPECT_TRUE(h.IsHexKey("abcdefABCD", 10));
  EXPECT_FALSE(h.IsHexKey("012345678G", 10));
  EXPECT_FALSE(h.IsHexKey("012345678", 10));
  EXPECT_TRUE(h.HasLength("a b c", 5));
  EXPECT_FALSE(h.IsPassphraseLength(std::string(7, 'x')));
  EXPECT_TRUE(h.IsPassphraseLength(std::string(8, 'x')));
  EXPECT_TRUE(h.IsPassphraseLength(std::string(63, 'x')));
  EXPECT_FALSE(h.IsPassphraseLength(std::string(64, 'x')));
  EXPECT_TRUE(h.IsHexDigit("F"));
  EXPECT_FALSE(h.IsHexDigit("f"));
  EXPECT_FALSE(h.IsHexDigit(""));
}

TEST(HelpfulFunc, BitsOfAnOctet) {
  HelpfulFunc h;
  const int values[] = {0, 128, 192, 254, 255, 253, 1, 64};
  const int leading[] = {0, 1, 2, 7, 8, 6, 0, 0};
  const int lowest[] = {-1, 0, 1, 6, 7, 7, 7, 1};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(values[i]);
    EXPECT_EQ(h.CountLeadingOnes(values[i]), leading[i]);
    EXPECT_EQ(h.LowestSetBit(values[i]), lowest[i]);
  }
}

}  // namespace
