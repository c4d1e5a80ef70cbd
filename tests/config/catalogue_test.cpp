#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/catalogue.h"
#include "config/dialog_texts.h"
#include "config/wireless_countries.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

TEST(Catalogue, LinesAsTheyStand) {
  testing::TempFolder folder;
  folder.write("application.err", "  padded  \r\n\r\n; not a comment\r\nLine\\nbreak\r\nlast");
  Catalogue messages;
  ASSERT_TRUE(loadApplicationMessages(messages, folder.path()));
  ASSERT_EQ(messages.lines.size(), 5u);
  EXPECT_EQ(message(messages, 0), "  padded  ");
  EXPECT_EQ(message(messages, 1), "");
  EXPECT_EQ(message(messages, 2), "; not a comment");
  EXPECT_EQ(message(messages, 3), "Line\\nbreak");
  EXPECT_EQ(message(messages, 4), "last");
  EXPECT_EQ(message(messages, 5), "");
  EXPECT_EQ(message(messages, -1), "");
}

// An older edition's catalogue lacks the newer messages: the user still reads one, in English.
TEST(Catalogue, ANewerMessageHasEnglishBuiltIn) {
  Catalogue older;
  older.lines.assign(kSeveralModemsMessage, "shipped");
  EXPECT_EQ(applicationMessage(older, 5), "shipped");
  EXPECT_NE(applicationMessage(older, kSeveralModemsMessage).find("Two routers"),
            std::string::npos);
  EXPECT_EQ(applicationMessage(older, kSeveralModemsMessage + 1), "");
  older.lines.push_back("");  // an edition that left the line empty
  EXPECT_NE(applicationMessage(older, kSeveralModemsMessage), "");
  older.lines.back() = "Zwei Router";
  EXPECT_EQ(applicationMessage(older, kSeveralModemsMessage), "Zwei Router");
}

TEST(Catalogue, MissingFileKeepsThePreviousLines) {
  testing::TempFolder first;
  testing::TempFolder second;
  first.write("common.err", "one\ntwo\nthree\n");
  second.write("common.err", "uno\n");

  Catalogue common;
  EXPECT_FALSE(loadCommonMessages(common, first.path() + "nowhere/"));
  EXPECT_TRUE(common.lines.empty());
  EXPECT_EQ(message(common, 3), "");  // a lookup in a catalogue that never loaded

  ASSERT_TRUE(loadCommonMessages(common, first.path()));
  first.remove("common.err");
  EXPECT_FALSE(loadCommonMessages(common, first.path()));
  EXPECT_EQ(common.lines.size(), 3u);
  EXPECT_EQ(message(common, 2), "three");

  ASSERT_TRUE(loadCommonMessages(common, second.path()));
  EXPECT_EQ(common.lines.size(), 1u);  // a load replaces every line
  EXPECT_EQ(message(common, 1), "");
}

TEST(Catalogue, DialogTextsLoadedFlag) {
  testing::TempFolder folder;
  folder.write("frm.str", "OK\nCancel\n");
  DialogTexts dialog;
  EXPECT_TRUE(loadDialogTexts(dialog, folder.path()));
  EXPECT_TRUE(dialog.loaded);
  EXPECT_EQ(message(dialog.texts, 1), "Cancel");

  folder.remove("frm.str");
  EXPECT_FALSE(loadDialogTexts(dialog, folder.path()));
  EXPECT_FALSE(dialog.loaded);
  EXPECT_EQ(message(dialog.texts, 0), "OK");

  folder.write("frm.str", "Okay\n");
  EXPECT_TRUE(loadDialogTexts(folder.path()));
  EXPECT_TRUE(dialogTexts().loaded);
  EXPECT_EQ(message(dialogTexts().texts, 0), "Okay");
}

TEST(Catalogue, BackslashNBecomesALineBreak) {
  const std::pair<const char*, const char*> cases[] = {
      {"a\\nb", "a\nb"}, {"\\n\\n", "\n\n"}, {"\\\\n", "\\\n"},
      {"\\", "\\"},      {"n\\", "n\\"},     {"\\N", "\\N"},
      {"", ""},          {"\\nn", "\nn"},    {"no breaks", "no breaks"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(expandLineBreaks(text), expected) << text;
}

TEST(Catalogue, DialogCharsetFollowsTheLanguage) {
  EXPECT_EQ(dialogCharset(), kAnsiCharset);
  const std::pair<const char*, uint8_t> cases[] = {
      {"Greek", 161},  {"Russian", 204}, {"Czech", 238}, {"Hungarian", 238},
      {"Polish", 238}, {"greek", 0},     {"", 0},        {"English", 0}};
  for (const auto& [language, charset] : cases) {
    setDialogCharset(language);
    EXPECT_EQ(dialogCharset(), charset) << language;
  }
}

TEST(WirelessCountries, TableAsShipped) {
  const auto rows = wirelessCountries();
  ASSERT_EQ(rows.size(), 131u);
  EXPECT_EQ(rows.front().code, "AS");
  EXPECT_EQ(rows.front().name, "AMERICAN SAMOA");
  EXPECT_EQ(rows[129].code, "Z2");
  EXPECT_EQ(rows[129].name, "BAKER ISLAND");
  EXPECT_EQ(rows[130].code, "ALL");
  EXPECT_EQ(rows[130].name, "ALL CHANNELS");

  // The list is not quite alphabetical, and its order is the combo box's.
  EXPECT_LT(wirelessCountryIndex("MW"), wirelessCountryIndex("MO"));
  EXPECT_LT(wirelessCountryIndex("GF"), wirelessCountryIndex("FR"));
  EXPECT_LT(wirelessCountryIndex("GI"), wirelessCountryIndex("DE"));
  EXPECT_EQ(wirelessCountryIndex("XX"), -1);

  const std::set<std::string_view> eleven = {"AS", "GU", "FM", "MP", "PA", "PR",
                                             "TW", "US", "UM", "VI", "Z2"};
  const std::set<std::string_view> fourteen = {"JP", "TH", "ALL"};
  std::set<std::string_view> codes;
  for (const WirelessCountry& row : rows) {
    EXPECT_TRUE(codes.insert(row.code).second) << row.code;
    EXPECT_TRUE(row.code.size() == 2 || row.code.size() == 3) << row.code;
    const int32_t expected = eleven.count(row.code) ? 11 : fourteen.count(row.code) ? 14 : 13;
    EXPECT_EQ(row.channels, expected) << row.code;
    for (char c : row.name) EXPECT_FALSE(c >= 'a' && c <= 'z') << row.name;
  }
  EXPECT_EQ(rows[static_cast<std::size_t>(wirelessCountryIndex("MK"))].name,
            "MACEDONIA, THE FORMER YUGOSLAV REPUBLIC OF");
  EXPECT_EQ(rows[static_cast<std::size_t>(wirelessCountryIndex("VI"))].name,
            "VIRGIN ISLANDS, U.S.");
}

}  // namespace
}  // namespace quillon::config
