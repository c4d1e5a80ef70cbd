#include <gtest/gtest.h>

#include <string>

#include "config/ini_file.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

constexpr std::string_view kSample =
    "top=before any section\r\n"
    "; a comment\r\n"
    "  [ Profile ]  \r\n"
    "  name  =  spaced value  \r\n"
    "Name=second occurrence\r\n"
    "quoted=\"  kept inside  \"\r\n"
    "single='x'\r\n"
    "mismatched=\"x'\r\n"
    "lonequote=\"\r\n"
    "inline=abc ; not a comment\r\n"
    "novalue\r\n"
    "empty=\r\n"
    "=orphan\r\n"
    ";hidden=1\r\n"
    "[Other]\r\n"
    "name=other section\r\n"
    "[PROFILE]\r\n"
    "late=from the repeated header\r\n"
    "name=too late\r\n";

struct StringCase {
  const char* section;
  const char* key;
  const char* expected;
};

TEST(IniFile, ReadsStringsWithThePlatformRules) {
  const IniFile ini = IniFile::parse(kSample);
  const StringCase cases[] = {
      {"Profile", "name", "spaced value"},
      {"profile", "NAME", "spaced value"},
      {"Profile", "quoted", "  kept inside  "},
      {"Profile", "single", "x"},
      {"Profile", "mismatched", "\"x'"},
      {"Profile", "lonequote", "\""},
      {"Profile", "inline", "abc ; not a comment"},
      {"Profile", "novalue", ""},
      {"Profile", "empty", ""},
      {"Profile", "late", "from the repeated header"},
      {"Other", "name", "other section"},
      {"Profile", "hidden", "<default>"},
      {"Profile", "top", "<default>"},
      {"Profile", "", "<default>"},
      {"Missing", "name", "<default>"},
  };
  for (const StringCase& c : cases)
    EXPECT_EQ(ini.readString(c.section, c.key, "<default>"), c.expected)
        << "[" << c.section << "] " << c.key;
}

TEST(IniFile, IntegersFallBackToTheDefaultWhenNotANumber) {
  const IniFile ini = IniFile::parse(
      "[N]\n"
      "dec=42\n hex = 0x2A \nneg=-3\nsuffix=12abc\nword=abc\nempty=\nquoted=\"7\"\n");
  EXPECT_EQ(ini.readInt("n", "DEC", -1), 42);
  EXPECT_EQ(ini.readInt("N", "hex", -1), 42);
  EXPECT_EQ(ini.readInt("N", "neg", -1), -3);
  EXPECT_EQ(ini.readInt("N", "suffix", -1), 12);
  EXPECT_EQ(ini.readInt("N", "word", -1), -1);
  EXPECT_EQ(ini.readInt("N", "empty", -1), -1);
  EXPECT_EQ(ini.readInt("N", "quoted", -1), 7);
  EXPECT_EQ(ini.readInt("N", "absent", -1), -1);
}

TEST(IniFile, MissingFileGivesDefaultsAndBinaryInputIsHarmless) {
  testing::TempFolder folder;
  const IniFile missing = IniFile::load(folder.path() + "setup.ini");
  EXPECT_FALSE(missing.exists());
  EXPECT_EQ(missing.readString("Profile", "profileName", "GE"), "GE");

  std::string junk(1 << 20, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 131 % 251);
  folder.write("junk.ini", junk + "\n[S]\nk=v\n");
  const IniFile ini = IniFile::load(folder.path() + "junk.ini");
  EXPECT_TRUE(ini.exists());
  EXPECT_EQ(ini.readString("S", "k", ""), "v");
}

}  // namespace
}  // namespace quillon::config
