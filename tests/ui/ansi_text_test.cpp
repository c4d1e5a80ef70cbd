#include <gtest/gtest.h>

#include "ui/ansi_text.h"

namespace {

struct CharsetCase {
  int charset;
  const char* ansi;
  const char* utf8;
};

TEST(AnsiText, ConvertsBothWays) {
  const CharsetCase cases[] = {
      {0, "Caf\xE9 \x80 \x93ok\x94", "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D"},
      {204, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
      {161, "\xC1\xE8\xDE\xED\xE1", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"},
      {238, "\x8A\xB9", "\xC5\xA0\xC4\x85"},
      {77, "\xE9", "\xC3\xA9"},  // an unknown charset reads as Western
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset);
    EXPECT_EQ(ui::AnsiToUtf8(c.ansi, c.charset), c.utf8);
    EXPECT_EQ(ui::Utf8ToAnsi(c.utf8, c.charset), c.ansi);
  }
}

TEST(AnsiText, TypedCharactersOutsideTheCodePageAreMarked) {
  // A Cyrillic letter typed into a Western field is marked; a cut-off sequence and a stray
  // byte are dropped.
  EXPECT_EQ(ui::Utf8ToAnsi("a\xD0\x9F"
                           "b\xC3",
                           0),
            std::string("a") + ui::kNotInCodePage + "b");
  EXPECT_EQ(ui::Utf8ToAnsi("\x80x", 0), "x");
  EXPECT_EQ(ui::UnicodeToAnsi(U'\u20AC', 0), 0x80);
  EXPECT_EQ(ui::UnicodeToAnsi(U'\u0416', 0), -1);
  EXPECT_EQ(ui::UnicodeToAnsi(U'\u0416', 204), 0xC6);
}

}  // namespace
