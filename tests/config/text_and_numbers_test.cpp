#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/number_text.h"
#include "config/text_lines.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

std::vector<std::string> linesOf(std::string_view bytes) {
  std::vector<std::string> lines;
  forEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(TextLines, SplitsOnLfAndDropsTheCrBeforeIt) {
  using V = std::vector<std::string>;
  EXPECT_EQ(linesOf(""), V{});
  EXPECT_EQ(linesOf("\n"), V{""});
  EXPECT_EQ(linesOf("a"), (V{"a"}));
  EXPECT_EQ(linesOf("a\n"), (V{"a"}));
  EXPECT_EQ(linesOf("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(linesOf("a\n\nb"), (V{"a", "", "b"}));
  // Only a CR right before the line end goes; one inside a line stays.
  EXPECT_EQ(linesOf("a\rb\r\r\n"), (V{"a\rb\r"}));
  EXPECT_EQ(linesOf(std::string_view("x\0y\n", 4)), (V{std::string("x\0y", 3)}));
}

TEST(TextLines, ReadsRegularFilesOnly) {
  testing::TempFolder folder;
  folder.write("f.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(readFileBytes(folder.path() + "f.txt"), std::string("ab\0cd", 5));
  EXPECT_EQ(readFileBytes(folder.path() + "f.txt", 3), std::string("ab\0", 3));
  EXPECT_EQ(readFileBytes(folder.path() + "missing.txt"), std::nullopt);
  // A folder, the empty name, and the folder path itself as a "file name" are all missing.
  EXPECT_EQ(readFileBytes(folder.path()), std::nullopt);
  EXPECT_EQ(readFileBytes(""), std::nullopt);
}

struct AtolCase {
  const char* text;
  int32_t expected;
};

TEST(Numbers, AtolLike) {
  const AtolCase cases[] = {
      {"9", 9},
      {"9s", 9},
      {"abc", 0},
      {"", 0},
      {"  -12x", -12},
      {"+3", 3},
      {"\t\n\v\f\r 5", 5},
      {"- 5", 0},
      {"0x10", 0},
      {"007", 7},
      {"1 2", 1},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"-2147483648", kMin},
      {"-99999999999999999999", kMin},
      {"99999999999999999999999999", kMax},
  };
  for (const AtolCase& c : cases) EXPECT_EQ(atolLike(c.text), c.expected) << '"' << c.text << '"';
}

struct ProfileIntCase {
  const char* text;
  std::optional<int32_t> expected;
};

TEST(Numbers, ProfileIntegersAreDecimalOrHexWithTrailingTextIgnored) {
  const ProfileIntCase cases[] = {
      {"12", 12},
      {"-5", -5},
      {"+5", 5},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-0x10", -16},
      {"12abc", 12},
      {"1e3", 1},
      {"0x", 0},
      {"0xZ", 0},
      {"0xFFFFFFFF", -1},
      {"4294967296", 0},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"x12", std::nullopt},
      {" 7", std::nullopt},
  };
  for (const ProfileIntCase& c : cases)
    EXPECT_EQ(parseProfileInt(c.text), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace quillon::config
