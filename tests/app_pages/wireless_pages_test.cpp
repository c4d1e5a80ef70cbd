// The radio, wireless settings and SSID reminder pages on the headless backend.
#include <algorithm>
#include <string>
#include <vector>

#include "app_pages/pages_fixture.h"
#include "config/wireless_countries.h"
#include "modem/engine/modemconnect.h"
#include "modem/protocol/modem_settings.h"

namespace {

using namespace app;

class WirelessPagesTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    Prepare("GE", 3);
  }
  // The lists as the hardware check page leaves them, for a profile and WPA support.
  void Prepare(const std::string& profile, int wpaKeySupport) {
    main().customerProfile.profileName = profile;
    main().systemConfig.setup.WPAKeySupport = wpaKeySupport;
    wireless().initRadioPage();
    wireless().initWirelessPage();
  }
  void ShowWirelessPage() { ShowPage(PAGE_WIRELESS_SETTING); }
  int Next() {
    messages.clear();
    main().imgNextBTClick();
    return main().currentPage;
  }
  void Retype(ui::Edit& edit, const std::string& text) {
    edit.SetText("");
    edit.UserType(text);
  }
};

TEST_F(WirelessPagesTest, SecurityListsFollowProfileAndWpaSupport) {
  struct Row {
    const char* profile;
    int support;
    std::vector<std::string> items;
  };
  const Row rows[] = {
      {"EU", 3, {"None", "WEP 64bit", "WPA-PSK"}},
      {"EU", 0, {"None", "WEP 64bit", "WPA-PSK"}},
      {"GE", 1, {"None", "WEP Key(64 bits)", "WEP Key(128 bits)", "WPA PSK"}},
      {"GE", 2, {"None", "WEP Key(64 bits)", "WEP Key(128 bits)", "WPA2 PSK"}},
      {"GE", 3, {"None", "WEP Key(64 bits)", "WEP Key(128 bits)", "WPA PSK", "WPA2 PSK"}},
      {"GE", 0, {"None", "WEP Key(64 bits)", "WEP Key(128 bits)"}},
      {"eu", 7, {"None", "WEP Key(64 bits)", "WEP Key(128 bits)"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.profile) + " " + std::to_string(row.support));
    Prepare(row.profile, row.support);
    EXPECT_EQ(c().cbxEncryptType.items(), row.items);
    EXPECT_EQ(c().cbxEncryptType.itemIndex(), 0);
  }
}

TEST_F(WirelessPagesTest, ChannelListsFollowTheCountry) {
  EXPECT_EQ(c().cbxWLCountry.items().size(), 131u);
  EXPECT_EQ(c().cbxChannel.items().size(), 12u);  // "auto" and the first country's 11
  ShowWirelessPage();
  auto pick = [&](const std::string& name) {
    const auto& items = c().cbxWLCountry.items();
    const auto at = std::find(items.begin(), items.end(), name);
    ASSERT_NE(at, items.end()) << name;
    c().cbxWLCountry.UserSelect(static_cast<int>(at - items.begin()));
  };
  pick("JAPAN");
  EXPECT_EQ(c().cbxChannel.items().back(), "14");
  main().values.wirelessChannel = "12";
  pick("UNITED STATES");
  EXPECT_EQ(c().cbxChannel.items().back(), "11");
  EXPECT_EQ(c().cbxChannel.text(), "auto");
  main().values.wirelessChannel = "11";
  pick("JAPAN");
  pick("UNITED STATES");
  EXPECT_EQ(c().cbxChannel.text(), "11");

  // The EU profile always offers 13 channels, with its own automatic entry and widths.
  main().customerProfile.profileName = "EU";
  wireless().fillChannelList();
  EXPECT_EQ(c().cbxChannel.items().front(), "Auto Channel (Recommended)");
  EXPECT_EQ(c().cbxChannel.items().size(), 14u);
  EXPECT_EQ(c().edtWPAKey.width(), 170);
  EXPECT_EQ(c().cbxEncryptType.width(), 170);
}

TEST_F(WirelessPagesTest, RadioChoiceDecidesTheFlow) {
  ShowPage(PAGE_WRADIO_SETTING);
  c().cbxWRadio.UserSelect(1);
  EXPECT_FALSE(main().radioEnabled);
  EXPECT_EQ(Next(), PAGE_CHECK_SW_LINK);
  ShowPage(PAGE_WRADIO_SETTING);
  c().cbxWRadio.SetItemIndex(-1);
  c().cbxWRadio.UserExit();
  EXPECT_EQ(c().cbxWRadio.itemIndex(), 0);
  EXPECT_TRUE(main().radioEnabled);
  c().cbxWRadio.UserSelect(1);
  // A new visit of the hardware check fills the list again, and the flag follows it.
  wireless().initRadioPage();
  EXPECT_TRUE(main().radioEnabled);
}

struct KeyRow {
  const char* what;
  const char* profile;
  int security;
  std::string ssid;
  std::string key;
  std::vector<int> messages;  // shown in order
  bool leaves;
  const char* marked;
};

TEST_F(WirelessPagesTest, ValidationTable) {
  const std::string hex26 = "0123456789abcdefABCDEF0123";
  const KeyRow rows[] = {
      {"blank name", "GE", 0, "   ", "", {22}, false, "edtSSID"},
      {"open network", "GE", 0, "garden", "", {}, true, ""},
      {"key missing", "GE", 1, "garden", "  ", {23}, false, "edtWPAKey"},
      {"wep64 hex", "GE", 1, "garden", "01234abcDE", {29}, true, ""},
      {"wep64 five characters", "GE", 1, "garden", "a b!c", {29}, true, ""},
      {"wep64 letter after F", "GE", 1, "garden", "01234abcDG", {25}, false, "edtWPAKey"},
      {"wep64 nine", "GE", 1, "garden", "012345678", {25}, false, "edtWPAKey"},
      {"wep128", "GE", 2, "garden", hex26, {29}, true, ""},
      {"wep128 short", "GE", 2, "garden", hex26.substr(1), {30}, false, ""},
      {"wep128 not hex", "GE", 2, "garden", hex26.substr(1) + "x", {30}, false, ""},
      {"wpa 8", "GE", 3, "garden", "12345678", {29}, true, ""},
      {"wpa 7", "GE", 3, "garden", "1234567", {24}, false, "edtWPAKey"},
      {"wpa 1 after blanks", "GE", 3, "garden", "       x", {24}, false, "edtWPAKey"},
      {"wpa 63", "GE", 3, "garden", std::string(63, 'k'), {29}, true, ""},
      {"wpa not ascii", "GE", 3, "garden", "Passw\xF6rt1", {24}, false, "edtWPAKey"},
      {"wpa 64", "GE", 3, "garden", std::string(64, 'k'), {24}, false, "edtWPAKey"},
      {"wpa2 64", "GE", 4, "garden", std::string(64, 'k'), {24}, false, "edtWPAKey"},
      {"eu wep five", "EU", 1, "garden", "a b!c", {}, true, ""},
      {"eu wep ten hex", "EU", 1, "garden", "0123456789", {}, true, ""},
      {"eu wep five not ascii",
       "EU",
       1,
       "garden",
       "\xE4"
       "bcde",
       {25},
       false,
       "edtWPAKey"},
      {"eu wep 3 in blanks", "EU", 1, "garden", " abc ", {25}, false, "edtWPAKey"},
      {"eu wpa", "EU", 2, "garden", "passphrase", {}, true, ""},
      {"eu wpa 64", "EU", 2, "garden", std::string(64, 'k'), {24}, false, "edtWPAKey"},
  };
  for (const KeyRow& row : rows) {
    SCOPED_TRACE(row.what);
    Prepare(row.profile, 3);
    main().highlightVisible = false;
    main().focusControl = nullptr;
    ShowWirelessPage();
    Retype(c().edtSSID, row.ssid);
    c().cbxEncryptType.UserSelect(row.security);
    if (row.security != 0) {
      ASSERT_TRUE(c().edtWPAKey.visible());
      Retype(c().edtWPAKey, row.key);
      ASSERT_EQ(c().edtWPAKey.text(), row.key) << "the edit refused part of the key";
    }
    const int page = Next();
    EXPECT_EQ(messages, row.messages);
    EXPECT_EQ(page != PAGE_WIRELESS_SETTING, row.leaves);
    EXPECT_EQ(MarkedControl(), row.marked);
    if (*row.marked) {
      EXPECT_TRUE(c().hPanel.visible());
    }
  }
}

TEST_F(WirelessPagesTest, KeyHelpShowsThePictureAndLimitOfTheChoice) {
  struct Row {
    const char* profile;
    int support;
    int security;
    const char* picture;
    int maxLength;
  };
  const Row rows[] = {
      {"GE", 3, 0, "", 0},
      {"GE", 3, 1, "imgWEPKey64", 10},
      {"GE", 3, 2, "imgWEPKey128", 26},
      {"GE", 1, 3, "imgWPAHex", 64},
      {"GE", 3, 3, "imgWPAHex", 64},
      {"GE", 2, 3, "imgWPAACSII", 64},
      {"GE", 3, 4, "imgWPAACSII", 64},
      {"EU", 3, 1, "imgWEPKey64", 10},
      {"EU", 3, 2, "imgWPAHex", 64},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.profile) + " " + std::to_string(row.security));
    Prepare(row.profile, row.support);
    ShowWirelessPage();
    c().cbxEncryptType.UserSelect(row.security);
    std::string shown;
    for (ui::Image* help : {&c().imgWEPKey64, &c().imgWEPKey128, &c().imgWPAHex, &c().imgWPAACSII})
      if (help->visible()) shown += help->name();
    EXPECT_EQ(shown, row.picture);
    EXPECT_EQ(c().edtWPAKey.visible(), row.security != 0);
    if (row.security != 0) {
      EXPECT_EQ(c().edtWPAKey.maxLength(), row.maxLength);
    }
    const bool optionField = std::string(row.profile) == "EU" && row.security != 0;
    EXPECT_EQ(c().imgEncryptOptField.visible(), optionField);
  }
}

struct PrefillRow {
  const char* profile;
  int support;
  const char* code;
  int selected;
  const char* key;
};

// The EU rows are this wizard's choice: a code selects the EU item of its kind, so that a
// modem with security is never shown as open. Without an item of the modem's type the nearest
// stronger one is offered ("PSK" with WPA2 only), or else the modem's WPA type joins the list;
// a type no list knows selects nothing, and the page waits for the user's choice.
TEST_F(WirelessPagesTest, PrefillFromTheModemSelectsTheSecurityItem) {
  const PrefillRow rows[] = {
      {"GE", 3, "NONE", 0, ""},    {"GE", 3, "WEP64", 1, "K"}, {"GE", 3, "WEP128", 2, "K"},
      {"GE", 3, "PSK", 3, "K"},    {"GE", 1, "PSK", 3, "K"},   {"GE", 2, "PSK", 3, "K"},
      {"GE", 0, "PSK", 3, "K"},    {"GE", 2, "PSK2", 3, "K"},  {"GE", 3, "PSK2", 4, "K"},
      {"GE", 1, "PSK2", 4, "K"},   {"GE", 3, "WPA3", -1, ""},  {"GE", 3, "", -1, ""},
      {"EU", 3, "", -1, ""},       {"EU", 3, "NONE", 0, ""},   {"EU", 3, "WEP64", 1, "K"},
      {"EU", 3, "WEP128", 1, "K"}, {"EU", 3, "PSK", 2, "K"},   {"EU", 3, "PSK2", 2, "K"},
  };
  for (const PrefillRow& row : rows) {
    SCOPED_TRACE(std::string(row.profile) + " " + std::to_string(row.support) + " " + row.code);
    Prepare(row.profile, row.support);
    c().edtWPAKey.SetText("old");
    auto& v = main().values;
    v.wirelessSsid = "garden";
    v.wirelessCountry = "DE";
    v.wirelessChannel = "6";
    v.wirelessSecurity = row.code;
    v.wirelessKey = "K";
    wireless().loadWirelessPageFromModem();
    EXPECT_EQ(c().edtSSID.text(), "garden");
    EXPECT_EQ(c().cbxWLCountry.text(), "GERMANY");
    EXPECT_EQ(c().cbxChannel.text(), "6");
    EXPECT_EQ(c().cbxEncryptType.itemIndex(), row.selected);
    EXPECT_EQ(c().edtWPAKey.text(), row.key);
    if (row.selected < 0) {
      // Nothing is opened by default: Next asks for a choice.
      ShowWirelessPage();
      EXPECT_EQ(Next(), PAGE_WIRELESS_SETTING);
      EXPECT_EQ(messages, std::vector<int>{31});
      EXPECT_EQ(MarkedControl(), "cbxEncryptType");
    }
  }
}

TEST_F(WirelessPagesTest, CollectionAndHandOverMapTheSecurityText) {
  struct Row {
    int security;
    const char* key;
    const char* wlSecurity;
    const char* wlKey;
  };
  const Row rows[] = {
      {0, "", "NONE", "before"},
      {1, "0123456789", "WEP64", "0123456789"},
      {2, "0123456789abcdef0123456789", "WEP128", "0123456789abcdef0123456789"},
      {3, " passphrase ", "PSK", "passphrase"},
      {4, "passphrase2", "PSK2", "passphrase2"},
  };
  main().wirelessModule = true;
  main().radioEnabled = true;
  auto& s = Engine().modemSettings;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.security);
    Prepare("GE", 3);
    ShowWirelessPage();
    c().edtSSID.SetText("  garden ");
    c().cbxWLCountry.UserSelect(quillon::config::wirelessCountryIndex("DE"));
    c().cbxChannel.UserSelect(13);
    c().cbxEncryptType.UserSelect(row.security);
    c().edtWPAKey.SetText(row.key);
    s.wlKey = "before";
    wireless().collectWirelessValues();
    connection().collectSettings();
    EXPECT_EQ(s.wlSsid, "garden");
    EXPECT_EQ(s.wlCountryCode, "DE");
    EXPECT_EQ(s.wlChannel, 13);
    EXPECT_EQ(s.wlKeyNumber, 1);
    EXPECT_EQ(s.wlSecurity, row.wlSecurity);
    EXPECT_EQ(s.wlKey, row.wlKey);
  }
  c().cbxChannel.UserSelect(0);
  wireless().collectWirelessValues();
  connection().collectSettings();
  EXPECT_EQ(s.wlChannel, 0);
}

// Radio off, or a security type or country the lists cannot show and the user left alone: the
// modem gets its own settings back.
TEST_F(WirelessPagesTest, ModemsOwnSettingsGoBackUnlessTheUserChangedThem) {
  struct Row {
    const char* what;
    const char* profile;
    int support;
    bool radio;
    const char* security;
    const char* key;
    const char* country;
  };
  const Row rows[] = {
      {"radio off", "GE", 3, false, "PSK2", "modem key", "FR"},
      {"eu wep128", "EU", 3, true, "WEP128", "0123456789abcdef0123456789", "FR"},
      {"eu wpa2", "EU", 3, true, "PSK2", "modem key", "FR"},
      {"no wpa offered", "GE", 0, true, "PSK", "modem key", "FR"},
      {"unknown country", "EU", 3, true, "PSK", "modem key", "XX"},
      {"unknown country, list shown", "GE", 3, true, "PSK", "modem key", "XX"},
  };
  auto& s = Engine().modemSettings;
  main().wirelessModule = true;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Prepare(row.profile, row.support);
    s.wlSsid = "modemnet";
    s.wlChannel = 4;
    s.wlSecurity = row.security;
    s.wlKey = row.key;
    s.wlCountryCode = row.country;
    s.wlKeyNumber = 1;
    const auto before = s;
    connection().takeModemWirelessSettings();
    wireless().loadWirelessPageFromModem();
    main().radioEnabled = row.radio;
    if (!row.radio) c().edtSSID.SetText("changed on the page");
    connection().collectSettings();
    EXPECT_EQ(s.wlSsid, before.wlSsid);
    EXPECT_EQ(s.wlChannel, before.wlChannel);
    EXPECT_EQ(s.wlSecurity, before.wlSecurity);
    EXPECT_EQ(s.wlKey, before.wlKey);
    EXPECT_EQ(s.wlCountryCode, before.wlCountryCode);
    EXPECT_EQ(s.wlKeyNumber, before.wlKeyNumber);
  }
}

TEST_F(WirelessPagesTest, ReminderShowsTheKeyOrTheOpenNetworkWarning) {
  struct Row {
    const char* security;
    bool keyShown;
    const char* picture;  // the skin key of the key field picture, or none
  };
  const Row rows[] = {
      {"None", false, nullptr},
      {"NONE", false, nullptr},
      {"WEP Key(64 bits)", true, "IMG_WirelessRemindWEPKeyField"},
      {"WPA2 PSK", true, "IMG_WirelessRemindWPAKeyField"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.security);
    c().imgRemindKey.SetPicture(nullptr);
    main().values.wirelessSsid = "garden";
    main().values.wirelessSecurity = row.security;
    main().values.wirelessKey = "the key";
    ShowPage(PAGE_WIRELESS_REMIND_SSID);
    EXPECT_EQ(c().lblSSID.caption(), "garden");
    EXPECT_TRUE(c().lblSSID.visible());
    EXPECT_EQ(c().lblWlKey.visible(), row.keyShown);
    EXPECT_EQ(c().imgRemindKey.visible(), row.keyShown);
    EXPECT_EQ(c().imgWirelessRemindSsidWarnMsg.visible(), !row.keyShown);
    if (row.keyShown) {
      EXPECT_EQ(c().lblWlKey.caption(), "the key");
    }
    if (row.picture) {
      EXPECT_EQ(c().imgRemindKey.picturePath(),
                main().langDir + quillon::config::pictureFile(main().systemConfig, row.picture));
    }
  }
}

}  // namespace
