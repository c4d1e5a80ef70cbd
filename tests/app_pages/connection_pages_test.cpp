// The ISP selection, static IP and PPP pages on the headless backend: lists, grey-out rule,
// filters and every validation, driven through the controls as a user would.
#include <algorithm>
#include <cstddef>
#include <string>

#include "app_pages/pages_fixture.h"
#include "config/wireless_countries.h"
#include "modem/engine/modemconnect.h"
#include "modem/protocol/modem_settings.h"
#include "ui/ansi_text.h"

namespace {

using namespace app;

class ConnectionPagesTest : public PagesTest {
 protected:
  // A country of providers made for the rules: a protocol in the wrong letter case, a VCI
  // below 32, a VCI of exactly 32, a bridge; and a country without providers.
  void PrepareCd() override {
    const auto file = std::filesystem::path("Language") / "English" / "isplist.txt";
    cd_.Write(file, cd_.Read(file) +
                        "@Testland\r\n"
                        "Casewise, pppoe, LLC, 8, 35\r\n"
                        "Lowvci, PPPoE, LLC, 8, 20\r\n"
                        "Exact32, PPPoE, VC Mux, 8, 32\r\n"
                        "Bridgey, Bridge, LLC, 0, 35\r\n"
                        "Fixed, Static IP, LLC, 1, 32\r\n"
                        "@Emptyland\r\n");
  }

  void SetUp() override {
    PagesTest::SetUp();
    connection().resetConnectionPage();
    main().ispPageNeedsFill = true;
    ShowPage(PAGE_ISP_SELECTION);
  }

  int IndexOf(const ui::ComboBox& list, const std::string& text) {
    for (std::size_t i = 0; i < list.items().size(); ++i)
      if (list.items()[i] == text) return static_cast<int>(i);
    ADD_FAILURE() << "no item " << text << " in " << list.name();
    return -1;
  }
  void Pick(ui::ComboBox& list, const std::string& text) { list.UserSelect(IndexOf(list, text)); }
  // The user empties the field (select all, delete) and types, in UTF-8 as a window gets it.
  void Retype(ui::Edit& edit, const std::string& text) {
    edit.SetText("");
    edit.UserType(ui::Utf8ToAnsi(text, edit.fontCharset()));
  }
  // The drawing position: higher is drawn later, on top.
  std::ptrdiff_t ZOrder(const ui::Control& control) {
    const auto& order = main().zOrder();
    return std::find(order.begin(), order.end(), &control) - order.begin();
  }
  // Next on the current page, as the page machine runs it; the page it ends on.
  int Next() {
    messages.clear();
    main().imgNextBTClick();
    return main().currentPage;
  }
};

TEST_F(ConnectionPagesTest, ListsComeFromTheDatabaseWithTheDefaultsPreselected) {
  auto& country = c().cbxDSLCountry;
  ASSERT_GE(country.items().size(), 3u);
  EXPECT_EQ(country.items().front(), "(Click to select)");
  EXPECT_EQ(country.items().back(), "Others");
  EXPECT_EQ(country.text(), "United Kingdom");
  EXPECT_EQ(c().cbxDSLISP.text(), "Thamesline Broadband");
  EXPECT_EQ(c().cbxDSLProtocol.text(), "PPPoA");
  EXPECT_EQ(c().cbxDSLEncaps.text(), "VC-MUX");
  EXPECT_EQ(c().edtVPI.text(), "0");
  EXPECT_EQ(c().edtVCI.text(), "38");
  EXPECT_TRUE(main().pppSelected);
  EXPECT_FALSE(main().dslFieldsLocked);
  EXPECT_FALSE(main().ispPageNeedsFill);

  // A later visit keeps the user's choices: the defaults are not applied again.
  Pick(country, "Testland");
  ShowPage(PAGE_PPP_SETTING);
  main().imgBackBTClick();
  EXPECT_EQ(main().currentPage, PAGE_ISP_SELECTION);
  EXPECT_EQ(country.text(), "Testland");
}

TEST_F(ConnectionPagesTest, GreyOutRuleFollowsTheIspChoice) {
  Pick(c().cbxDSLCountry, "Emptyland");
  ASSERT_EQ(c().cbxDSLISP.items(), (std::vector<std::string>{"(Click to select)", "Others"}));
  EXPECT_TRUE(main().dslFieldsLocked);
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &c().cbxDSLProtocol, &c().cbxDSLEncaps, &c().edtVPI, &c().edtVCI})
    EXPECT_FALSE(control->enabled()) << control->name();
  const std::string grey =
      main().langDir + quillon::config::pictureFile(main().systemConfig, "IMG_DSLVPI_grey");
  EXPECT_EQ(c().imgDSLVPI.picturePath(), grey);

  Pick(c().cbxDSLISP, "Others");
  EXPECT_FALSE(main().dslFieldsLocked);
  EXPECT_TRUE(c().edtVPI.enabled());
  EXPECT_EQ(c().cbxDSLProtocol.text(), "(Click to select)");
  EXPECT_EQ(c().edtVPI.text(), "(Enter a number)");
  EXPECT_EQ(c().edtVCI.text(), "(Enter a number)");
  EXPECT_NE(c().imgDSLVPI.picturePath(), grey);

  // The values an ISP entry fills in stay editable; a VCI below 32 shows 35.
  Pick(c().cbxDSLCountry, "Testland");
  Pick(c().cbxDSLISP, "Lowvci");
  EXPECT_EQ(c().edtVCI.text(), "35");
  Pick(c().cbxDSLISP, "Exact32");
  EXPECT_EQ(c().edtVCI.text(), "32");
  EXPECT_EQ(c().cbxDSLEncaps.text(), "VC-MUX");
  Pick(c().cbxDSLISP, "Fixed");
  EXPECT_TRUE(main().staticIpSelected);
  EXPECT_FALSE(main().pppSelected);
  Pick(c().cbxDSLProtocol, "Dynamic IP");
  EXPECT_FALSE(main().staticIpSelected);
  Pick(c().cbxDSLProtocol, "(Click to select)");
  EXPECT_EQ(c().cbxDSLEncaps.itemIndex(), 0);
}

TEST_F(ConnectionPagesTest, KeyboardChangesRefreshTheListsExceptForNavigationKeys) {
  auto& country = c().cbxDSLCountry;
  // The list moved without a change event (as the arrow keys do before the key is released).
  country.SetItemIndex(IndexOf(country, "Emptyland"));
  country.UserKeyUp(9);  // Tab
  EXPECT_EQ(c().cbxDSLISP.text(), "Thamesline Broadband");
  country.UserKeyUp(40);  // Down
  EXPECT_EQ(c().cbxDSLISP.items().size(), 2u);
}

// Escape closes a dropped-down list without a new choice: what depends on it stays as edited.
TEST_F(ConnectionPagesTest, ClosingAListWithoutAChoiceKeepsTheEditedFields) {
  Pick(c().cbxDSLCountry, "United Kingdom");
  Pick(c().cbxDSLISP, "Thamesline Broadband");
  Retype(c().edtVCI, "40");
  c().cbxDSLISP.UserKeyUp(27);
  c().cbxDSLISP.UserExit();
  EXPECT_EQ(c().edtVCI.text(), "40");
  c().cbxDSLCountry.UserKeyUp(27);
  EXPECT_EQ(c().cbxDSLISP.text(), "Thamesline Broadband");
  Pick(c().cbxDSLProtocol, "PPPoE");
  c().cbxDSLProtocol.UserKeyUp(27);
  EXPECT_EQ(c().cbxDSLProtocol.text(), "PPPoE");
  EXPECT_EQ(c().edtVCI.text(), "40");
  wireless().initWirelessPage();
  ShowPage(PAGE_WIRELESS_SETTING);
  c().cbxWLCountry.UserSelect(quillon::config::wirelessCountryIndex("DE"));
  c().cbxChannel.UserSelect(9);
  c().cbxWLCountry.UserKeyUp(27);
  EXPECT_EQ(c().cbxChannel.text(), "9");
}

TEST_F(ConnectionPagesTest, NumberFieldsTakeDigitsOnlyAndClearTheirPrompt) {
  Pick(c().cbxDSLISP, "Others");
  auto& vpi = c().edtVPI;
  vpi.Click();
  EXPECT_EQ(vpi.text(), "");
  vpi.UserType(
      "1a\x16"
      "2-3x");
  EXPECT_EQ(vpi.text(), "123");
  vpi.UserKey('\b');
  EXPECT_EQ(vpi.text(), "12");
  vpi.Click();
  EXPECT_EQ(vpi.text(), "12");
  c().edtVCI.Click();
  c().edtVCI.UserType("1234567");
  EXPECT_EQ(c().edtVCI.text(), "123456");
}

struct IspRow {
  const char* what;
  const char* country;
  const char* isp;
  const char* protocol;  // nullptr: as the ISP entry sets it
  const char* vpi;       // nullptr: as filled in
  const char* vci;
  int message;  // -1: the page is left
  const char* marked;
};

TEST_F(ConnectionPagesTest, IspPageValidationTable) {
  const IspRow rows[] = {
      {"no country", "(Click to select)", nullptr, nullptr, nullptr, nullptr, 9, "cbxDSLCountry"},
      {"no ISP", "Testland", "(Click to select)", nullptr, nullptr, nullptr, 10, "cbxDSLISP"},
      {"protocol in another case", "Testland", "Casewise", nullptr, nullptr, nullptr, 11,
       "cbxDSLProtocol"},
      {"others needs an encapsulation", "Others", "Others", "PPPoE", "8", "35", 12, "cbxDSLEncaps"},
      {"bridge with its encapsulation", "Denmark", "Fyn Fiberlink", nullptr, nullptr, nullptr, -1,
       ""},
      {"VPI prompt", "Testland", "Lowvci", nullptr, "(Enter a number)", nullptr, 13, "edtVPI"},
      {"VPI 255", "Testland", "Lowvci", nullptr, "255", nullptr, -1, ""},
      {"VPI 256", "Testland", "Lowvci", nullptr, "256", nullptr, 13, "edtVPI"},
      {"VCI prompt", "Testland", "Lowvci", nullptr, nullptr, "(Enter a number)", 14, "edtVCI"},
      {"VCI 31", "Testland", "Lowvci", nullptr, nullptr, "31", 14, "edtVCI"},
      {"VCI 32", "Testland", "Lowvci", nullptr, nullptr, "32", -1, ""},
      {"VCI 65535", "Testland", "Lowvci", nullptr, nullptr, "65535", -1, ""},
      {"VCI 65536", "Testland", "Lowvci", nullptr, nullptr, "65536", 14, "edtVCI"},
      {"VPI empty", "Testland", "Lowvci", nullptr, "", nullptr, 13, "edtVPI"},
  };
  for (const IspRow& row : rows) {
    SCOPED_TRACE(row.what);
    main().highlightVisible = false;
    ShowPage(PAGE_ISP_SELECTION);
    // Each row chooses afresh, so that the ISP entry fills its values in again.
    Pick(c().cbxDSLCountry, "(Click to select)");
    Pick(c().cbxDSLCountry, row.country);
    if (row.isp) Pick(c().cbxDSLISP, row.isp);
    if (row.protocol) Pick(c().cbxDSLProtocol, row.protocol);
    if (row.vpi) Retype(c().edtVPI, row.vpi);
    if (row.vci) Retype(c().edtVCI, row.vci);
    if (std::string(row.what) == "VPI prompt") c().edtVPI.SetText(row.vpi);
    if (std::string(row.what) == "VCI prompt") c().edtVCI.SetText(row.vci);
    const int page = Next();
    if (row.message < 0) {
      EXPECT_NE(page, PAGE_ISP_SELECTION);
      EXPECT_TRUE(messages.empty());
      EXPECT_FALSE(c().hPanel.visible());
    } else {
      EXPECT_EQ(page, PAGE_ISP_SELECTION);
      EXPECT_EQ(messages, std::vector<int>{row.message});
      EXPECT_EQ(MarkedControl(), row.marked);
      // The red frame surrounds the marked control by two pixels, above the page picture and
      // below the control.
      ASSERT_TRUE(c().hPanel.visible());
      EXPECT_EQ(c().hPanel.left(), main().focusControl->left() - 2);
      EXPECT_EQ(c().hPanel.width(), main().focusControl->width() + 4);
      EXPECT_LT(ZOrder(c().imgISPSelectionBG), ZOrder(c().hPanel));
      EXPECT_LT(ZOrder(c().hPanel), ZOrder(*main().focusControl));
    }
  }
}

TEST_F(ConnectionPagesTest, MissingDefaultCountryLeavesTheFieldsLocked) {
  main().systemConfig.defaultCountry = "Atlantis";
  main().ispPageNeedsFill = true;
  connection().fillCountries();
  EXPECT_EQ(c().cbxDSLCountry.itemIndex(), 0);
  EXPECT_TRUE(main().dslFieldsLocked);
  EXPECT_FALSE(c().edtVPI.enabled());
}

struct StaticRow {
  const char* what;
  const char* address;
  const char* mask;
  const char* gateway;
  const char* dns;
  int message;
  const char* marked;
};

TEST_F(ConnectionPagesTest, StaticIpValidationTable) {
  Pick(c().cbxDSLCountry, "Testland");
  Pick(c().cbxDSLISP, "Fixed");
  ASSERT_EQ(Next(), PAGE_STATIC_IP);
  const StaticRow rows[] = {
      {"valid", "203.0.113.25", "255.255.255.0", "203.0.113.1", "198.51.100.53", -1, ""},
      {"short groups", "10.1.2.3", "255.0.0.0", "10.1.2.1", "10.1.2.1", -1, ""},
      {"gateway elsewhere", "10.1.2.3", "255.255.255.0", "192.168.7.1", "10.1.2.1", 32,
       "medGateway"},
      {"broadcast", "192.168.1.255", "255.255.255.0", "192.168.1.1", "192.168.1.1", 15, "medWANIP"},
      // A last number of 0 is no host address before it is a network address.
      {"network /24", "192.168.1.0", "255.255.255.0", "192.168.1.1", "192.168.1.1", 15, "medWANIP"},
      {"broadcast /30", "192.168.1.7", "255.255.255.252", "192.168.1.1", "192.168.1.1", 15,
       "medWANIP"},
      {"network /30", "192.168.1.4", "255.255.255.252", "192.168.1.1", "192.168.1.1", 15,
       "medSubnet"},
      {"loopback", "127.0.0.1", "255.0.0.0", "192.168.1.1", "192.168.1.1", 15, "medWANIP"},
      {"empty address", "", "255.255.255.0", "192.168.1.1", "192.168.1.1", 15, "medWANIP"},
      {"holey mask", "192.168.1.7", "255.0.255.0", "192.168.1.1", "192.168.1.1", 16, "medSubnet"},
      {"no mask", "192.168.1.7", "", "192.168.1.1", "192.168.1.1", 16, "medSubnet"},
      {"no gateway", "192.168.1.7", "255.255.255.0", "", "192.168.1.1", 17, "medGateway"},
      {"multicast DNS", "192.168.1.7", "255.255.255.0", "192.168.1.1", "224.0.0.1", 18, "medDNSIP"},
  };
  for (const StaticRow& row : rows) {
    SCOPED_TRACE(row.what);
    main().highlightVisible = false;
    ShowPage(PAGE_STATIC_IP);
    Retype(c().medWANIP, row.address);
    Retype(c().medSubnet, row.mask);
    Retype(c().medGateway, row.gateway);
    Retype(c().medDNSIP, row.dns);
    const int page = Next();
    if (row.message < 0) {
      EXPECT_EQ(page, PAGE_WRADIO_SETTING);
      EXPECT_TRUE(messages.empty());
    } else {
      EXPECT_EQ(page, PAGE_STATIC_IP);
      EXPECT_EQ(messages, std::vector<int>{row.message});
      EXPECT_EQ(MarkedControl(), row.marked);
      EXPECT_TRUE(c().hPanel.visible());
    }
  }
}

TEST_F(ConnectionPagesTest, AddressFieldClickEmptiesAFieldOfBlanksAndZeros) {
  ShowPage(PAGE_STATIC_IP);
  auto& field = c().medGateway;
  field.SetText("  0.0  .   .   ");
  field.Click();
  EXPECT_EQ(field.text(), "   .   .   .   ");
  EXPECT_EQ(field.caret(), 0u);
  field.UserType("192.0.2.1");
  field.Click();
  EXPECT_EQ(field.TextWithoutBlanks(), "192.0.2.1");
}

struct PppRow {
  const char* what;
  const char* user;
  const char* password;
  const char* confirm;
  int message;
  const char* marked;
};

TEST_F(ConnectionPagesTest, PppValidationTable) {
  ASSERT_EQ(Next(), PAGE_PPP_SETTING);
  const PppRow rows[] = {
      {"blank user", "   ", "secret", "secret", 19, "edtUsername"},
      {"no password", "alice", "", "", 20, "edtPassword"},
      {"blank password", "alice", "  ", "  ", 20, "edtPassword"},
      {"case differs", "alice", "Secret", "secret", 21, "edtConfirmPass"},
      {"blank differs", "alice", "sec ret", "secret", 21, "edtConfirmPass"},
      // Typed in a window, a letter the code page lacks would vanish from what is sent.
      {"letter outside the code page", "alice", "sekr\xD0\x96t99", "sekr\xD0\x96t99", 33,
       "edtPassword"},
      {"outer blanks are not sent", "alice", "secret ", " secret", -1, ""},
      {"valid", "alice@isp.example", "secret", "secret", -1, ""},
  };
  for (const PppRow& row : rows) {
    SCOPED_TRACE(row.what);
    main().highlightVisible = false;
    ShowPage(PAGE_PPP_SETTING);
    Retype(c().edtUsername, row.user);
    Retype(c().edtPassword, row.password);
    Retype(c().edtConfirmPass, row.confirm);
    const int page = Next();
    if (row.message < 0) {
      EXPECT_EQ(page, PAGE_WRADIO_SETTING);
      EXPECT_TRUE(messages.empty());
    } else {
      EXPECT_EQ(page, PAGE_PPP_SETTING);
      EXPECT_EQ(messages, std::vector<int>{row.message});
      EXPECT_EQ(MarkedControl(), row.marked);
    }
  }
  EXPECT_EQ(c().edtPassword.passwordChar(), '*');
  EXPECT_EQ(c().edtPassword.maxLength(), 32);
}

struct CollectRow {
  const char* protocol;
  const char* encapsulation;
  int connectionType;
  int encapsulationCode;
  bool internetTests;
};

TEST_F(ConnectionPagesTest, CollectionMapsProtocolAndEncapsulationForTheEngine) {
  main().wirelessModule = false;
  Pick(c().cbxDSLCountry, "Others");
  Pick(c().cbxDSLISP, "Others");
  Retype(c().edtVPI, "8");
  Retype(c().edtVCI, "35x");
  const CollectRow rows[] = {
      {"PPPoE", "LLC", 0, 0, true},     {"PPPoE", "VC-MUX", 0, 1, true},
      {"PPPoA", "LLC", 1, 1, true},     {"PPPoA", "VC-MUX", 1, 0, true},
      {"Static IP", "LLC", 8, 0, true}, {"Dynamic IP", "VC-MUX", 9, 1, true},
      {"Bridge", "LLC", 3, 0, false},   {"Bridge", "VC-MUX", 3, 1, false},
  };
  auto& engine = Engine();
  for (const CollectRow& row : rows) {
    SCOPED_TRACE(std::string(row.protocol) + " " + row.encapsulation);
    Pick(c().cbxDSLProtocol, row.protocol);
    Pick(c().cbxDSLEncaps, row.encapsulation);
    engine.testDnsAfterWanUp = !row.internetTests;
    connection().collectSettings();
    EXPECT_EQ(engine.modemSettings.connectionType, row.connectionType);
    EXPECT_EQ(engine.modemSettings.encapsulation, row.encapsulationCode);
    EXPECT_EQ(engine.testDnsAfterWanUp, row.internetTests);
    EXPECT_EQ(main().openInternetPage, row.internetTests);
    EXPECT_EQ(engine.modemSettings.vpi, 8);
    EXPECT_EQ(engine.modemSettings.vci, 35);
  }
  // A protocol outside the table leaves the codes as they were.
  Pick(c().cbxDSLProtocol, "(Click to select)");
  connection().collectSettings();
  EXPECT_EQ(engine.modemSettings.connectionType, 3);
  EXPECT_TRUE(engine.testDnsAfterWanUp);
}

TEST_F(ConnectionPagesTest, CollectionTrimsTheAccountAndStripsTheAddressBlanks) {
  main().wirelessModule = false;
  Pick(c().cbxDSLCountry, "Testland");
  Pick(c().cbxDSLISP, "Fixed");
  ShowPage(PAGE_STATIC_IP);
  Retype(c().medWANIP, "10.1.2.3");
  ShowPage(PAGE_PPP_SETTING);
  Retype(c().edtUsername, "  alice ");
  connection().collectSettings();
  const auto& s = Engine().modemSettings;
  EXPECT_EQ(s.ipAddress, "10.1.2.3");
  EXPECT_EQ(s.gateway, "...");  // an untouched field gives its dots alone
  EXPECT_EQ(s.pppUserName, "alice");
  EXPECT_EQ(s.connectionType, quillon::modem::kConnectionStaticIp);
  EXPECT_EQ(s.vpi, 1);
  EXPECT_EQ(s.vci, 32);
}

// Zero-padded groups, as the mask invites: the modem gets the address the check judged.
TEST_F(ConnectionPagesTest, StaticAddressesAreSentInTheirPlainForm) {
  main().wirelessModule = false;
  Pick(c().cbxDSLCountry, "Testland");
  Pick(c().cbxDSLISP, "Fixed");
  ASSERT_EQ(Next(), PAGE_STATIC_IP);
  Retype(c().medWANIP, "010.000.000.010");
  Retype(c().medSubnet, "255.000.000.000");
  Retype(c().medGateway, "010.000.000.001");
  Retype(c().medDNSIP, "008.008.008.008");
  ASSERT_EQ(Next(), PAGE_CHECK_SW_LINK) << messages.size();
  const auto& s = Engine().modemSettings;
  EXPECT_EQ(s.ipAddress, "10.0.0.10");
  EXPECT_EQ(s.subnetMask, "255.0.0.0");
  EXPECT_EQ(s.gateway, "10.0.0.1");
  EXPECT_EQ(s.dnsServer, "8.8.8.8");
}

struct TakeRow {
  int connectionType;
  int encapsulation;
  const char* protocol;
  const char* encapsulationText;
};

TEST_F(ConnectionPagesTest, ModemConnectionValuesBecomePageValues) {
  const TakeRow rows[] = {
      {0, 0, "PPPoE", "LLC"},      {0, 1, "PPPoE", "VC-MUX"}, {1, 0, "PPPoA", "VC-MUX"},
      {1, 1, "PPPoA", "LLC"},      {3, 0, "Bridge", "LLC"},   {8, 1, "Static IP", "VC-MUX"},
      {9, 0, "Dynamic IP", "LLC"}, {5, 7, "PPPoE", "LLC"},
  };
  auto& s = Engine().modemSettings;
  for (const TakeRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.connectionType) + "/" + std::to_string(row.encapsulation));
    s.connectionType = row.connectionType;
    s.encapsulation = row.encapsulation;
    connection().takeModemConnectionSettings();
    EXPECT_EQ(main().values.wanProtocol, row.protocol);
    EXPECT_EQ(main().values.wanEncapsulation, row.encapsulationText);
  }
  s.pppPassword = "pw";
  s.ipAddress = "0.0.0.0";
  s.gateway = "203.0.113.1";
  connection().takeModemConnectionSettings();
  EXPECT_EQ(main().values.wanPppConfirm, "pw");
  EXPECT_EQ(main().values.wanIpAddress, "");
  EXPECT_EQ(main().values.wanGateway, "203.0.113.1");
}

}  // namespace
