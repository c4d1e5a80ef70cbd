// Decoding record replies: the mapping rules, the tag rule and replies that do not fit.
#include <gtest/gtest.h>

#include <string>

#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "wire_layout.h"

namespace quillon::modem::test {
namespace {

Bytes Pvc1Reply(uint32_t protocol, uint32_t dhcpc, uint32_t autoGw, uint32_t autoDns) {
  Bytes record(pvc1::kSize, 0);
  PutText(record, pvc1::kTag, "<pvc1>");
  PutU32(record, pvc1::kVpi, 0x01020304);
  PutU32(record, pvc1::kVci, 35);
  PutU32(record, pvc1::kProtocol, protocol);
  PutU32(record, pvc1::kEncap, 1);
  PutU32(record, pvc1::kDhcpc, dhcpc);
  PutText(record, pvc1::kUser, "alice");
  PutText(record, pvc1::kPassword, "pw");
  PutText(record, pvc1::kIp, "10.0.0.2");
  PutText(record, pvc1::kMask, "255.0.0.0");
  PutText(record, pvc1::kGw, "10.0.0.1");
  PutU32(record, pvc1::kAutoGw, autoGw);
  PutU32(record, pvc1::kAutoDns, autoDns);
  PutText(record, pvc1::kDns, "10.0.0.53");
  return record;
}

struct ProtocolCase {
  uint32_t protocol, dhcpc, autoGw, autoDns;
  int32_t connectionType;
};

class ModemPvc1Decode : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(ModemPvc1Decode, ConnectionTypeFromProtocolAndFlags) {
  const ProtocolCase& c = GetParam();
  const Bytes reply = Pvc1Reply(c.protocol, c.dhcpc, c.autoGw, c.autoDns);
  const std::optional<Pvc1Record> record = DecodePvc1Record(reply.data(), reply.size());
  ASSERT_TRUE(record.has_value());
  ModemSettings settings;
  ApplyPvc1Record(*record, settings);
  EXPECT_EQ(settings.connectionType, c.connectionType);
}

INSTANTIATE_TEST_SUITE_P(Rules, ModemPvc1Decode,
                         ::testing::Values(ProtocolCase{0, 0, 1, 1, 0}, ProtocolCase{1, 0, 1, 1, 1},
                                           ProtocolCase{3, 0, 0, 0, 3}, ProtocolCase{2, 1, 1, 1, 9},
                                           ProtocolCase{2, 0, 0, 0, 8}, ProtocolCase{2, 0, 1, 1, 8},
                                           ProtocolCase{2, 1, 0, 1, 8}, ProtocolCase{2, 1, 1, 0, 8},
                                           ProtocolCase{2, 2, 1, 1, 8},
                                           ProtocolCase{7, 1, 1, 1, 7}));

TEST(ModemPvc1DecodeFields, EveryFieldLandsInTheSettings) {
  const Bytes reply = Pvc1Reply(0, 0, 1, 1);
  const std::optional<Pvc1Record> record = DecodePvc1Record(reply.data(), reply.size());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->autoGW, 1u);
  EXPECT_EQ(record->autoDNS, 1u);
  ModemSettings settings;
  settings.wlSsid = "untouched";
  ApplyPvc1Record(*record, settings);
  EXPECT_EQ(settings.vpi, 0x01020304);
  EXPECT_EQ(settings.vci, 35);
  EXPECT_EQ(settings.encapsulation, 1);
  EXPECT_EQ(settings.pppUserName, "alice");
  EXPECT_EQ(settings.pppPassword, "pw");
  EXPECT_EQ(settings.ipAddress, "10.0.0.2");
  EXPECT_EQ(settings.subnetMask, "255.0.0.0");
  EXPECT_EQ(settings.gateway, "10.0.0.1");
  EXPECT_EQ(settings.dnsServer, "10.0.0.53");
  EXPECT_EQ(settings.wlSsid, "untouched");
}

TEST(ModemPvc1DecodeFields, RejectsShortRecordsAndWrongTags) {
  Bytes reply = Pvc1Reply(0, 0, 1, 1);
  EXPECT_FALSE(DecodePvc1Record(reply.data(), pvc1::kSize - 1).has_value());
  EXPECT_FALSE(DecodePvc1Record(reply.data(), 7).has_value());
  EXPECT_FALSE(DecodePvc1Record(nullptr, 0).has_value());
  Bytes longer = reply;
  longer.resize(600, 0xAA);
  EXPECT_TRUE(DecodePvc1Record(longer.data(), longer.size()).has_value());
  Bytes wrongCase = reply;
  wrongCase[2] = 'P';
  EXPECT_FALSE(DecodePvc1Record(wrongCase.data(), wrongCase.size()).has_value());
  Bytes noZero = reply;
  noZero[6] = 'x';  // "<pvc1>x": the tag must be followed by its zero byte
  EXPECT_FALSE(DecodePvc1Record(noZero.data(), noZero.size()).has_value());
}

TEST(ModemPvc1DecodeFields, FieldWithoutZeroByteStaysInsideItsField) {
  Bytes reply = Pvc1Reply(0, 0, 1, 1);
  for (size_t i = 0; i < pvc1::kUser.size; ++i) reply[pvc1::kUser.offset + i] = 'u';
  for (size_t i = 0; i < pvc1::kDns.size; ++i) reply[pvc1::kDns.offset + i] = '9';
  const std::optional<Pvc1Record> record = DecodePvc1Record(reply.data(), reply.size());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->pppUsername, std::string(263, 'u'));
  EXPECT_EQ(record->pppPassword, "pw");
  EXPECT_EQ(record->dns, std::string(15, '9'));
}

// --- wireless ------------------------------------------------------------------------------------

struct WirelessFields {
  const char *keyBit, *key, *wpaPsk, *wep, *authMode;
};

Bytes WirelessReply(const WirelessFields& f) {
  Bytes record(wireless::kSize, 0);
  PutText(record, wireless::kTag, "<wireless>");
  PutText(record, wireless::kChannel, "13");
  PutText(record, wireless::kSsid, "cafe");
  PutText(record, wireless::kKeyBit, f.keyBit);
  PutText(record, wireless::kKey, f.key);
  PutText(record, wireless::kWpaPsk, f.wpaPsk);
  PutText(record, wireless::kWep, f.wep);
  PutText(record, wireless::kWpa, "tkip");
  PutText(record, wireless::kAuthMode, f.authMode);
  PutText(record, wireless::kCountry, "FR");
  PutText(record, wireless::kKeyNumber, "2");
  return record;
}

struct SecurityCase {
  const char* name;
  WirelessFields fields;
  const char* security;
  const char* key;
};

class ModemWirelessDecode : public ::testing::TestWithParam<SecurityCase> {};

TEST_P(ModemWirelessDecode, SecurityRulesInOrder) {
  const SecurityCase& c = GetParam();
  const Bytes reply = WirelessReply(c.fields);
  const std::optional<WirelessRecord> record = DecodeWirelessRecord(reply.data(), reply.size());
  ASSERT_TRUE(record.has_value());
  ModemSettings settings;
  settings.wlSecurity = "PREVIOUS";
  settings.wlKey = "stale key";
  ApplyWirelessRecord(*record, settings);
  EXPECT_EQ(settings.wlSecurity, c.security);
  EXPECT_EQ(settings.wlKey, c.key);
  EXPECT_EQ(settings.wlChannel, 13);
  EXPECT_EQ(settings.wlSsid, "cafe");
  EXPECT_EQ(settings.wlCountryCode, "FR");
  EXPECT_EQ(settings.wlKeyNumber, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ModemWirelessDecode,
    ::testing::Values(
        SecurityCase{"OpenDisabled", {"0", "wep", "wpa", "disabled", "open"}, "NONE", ""},
        SecurityCase{"FirstRuleWins", {"1", "wep", "wpa", "disabled", "open"}, "NONE", ""},
        SecurityCase{"Wep64", {"1", "wep", "wpa", "enabled", "open"}, "WEP64", "wep"},
        SecurityCase{"Wep128", {"0", "wep", "wpa", "enabled", "open"}, "WEP128", "wep"},
        SecurityCase{
            "KeyBitReadLeniently", {" 1x", "wep", "wpa", "enabled", "open"}, "WEP64", "wep"},
        SecurityCase{
            "EmptyKeyBitReadsAsZero", {"", "wep", "wpa", "enabled", "open"}, "WEP128", "wep"},
        SecurityCase{"OpenOtherKeyBit", {"2", "wep", "wpa", "enabled", "open"}, "PREVIOUS", ""},
        SecurityCase{"Psk", {"0", "wep", "wpa", "disabled", "psk"}, "PSK", "wpa"},
        SecurityCase{"Psk2", {"0", "wep", "wpa", "disabled", "psk2"}, "PSK2", "wpa"},
        SecurityCase{"CaseMatters", {"0", "wep", "wpa", "disabled", "PSK"}, "PREVIOUS", ""},
        SecurityCase{"UnknownMode", {"0", "wep", "wpa", "enabled", "shared"}, "PREVIOUS", ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemWirelessDecodeFields, RejectsShortRecordsAndWrongTags) {
  const Bytes reply = WirelessReply({"0", "", "", "disabled", "open"});
  EXPECT_TRUE(DecodeWirelessRecord(reply.data(), reply.size()).has_value());
  EXPECT_FALSE(DecodeWirelessRecord(reply.data(), wireless::kSize - 1).has_value());
  EXPECT_FALSE(DecodeWirelessRecord(reply.data(), 11).has_value());
  Bytes pvcTag = reply;
  PutText(pvcTag, {0, 12}, std::string("<pvc1>\0\0\0\0\0\0", 12));
  EXPECT_FALSE(DecodeWirelessRecord(pvcTag.data(), pvcTag.size()).has_value());
}

TEST(ModemWirelessDecodeFields, NumbersAreReadLeniently) {
  Bytes reply = WirelessReply({"0", "", "", "disabled", "open"});
  PutText(reply, wireless::kChannel, "x1");
  PutText(reply, wireless::kKeyNumber, "-4");
  const std::optional<WirelessRecord> record = DecodeWirelessRecord(reply.data(), reply.size());
  ASSERT_TRUE(record.has_value());
  ModemSettings settings;
  ApplyWirelessRecord(*record, settings);
  EXPECT_EQ(settings.wlChannel, 0);
  EXPECT_EQ(settings.wlKeyNumber, -4);
}

// What the wizard writes, the modem's echo of it decodes back to.
TEST(ModemRecordRoundTrip, SettingsSurviveEncodingAndDecoding) {
  for (const int32_t type : {0, 1, 3, 8, 9}) {
    ModemSettings sent;
    sent.connectionType = type;
    sent.encapsulation = 1;
    sent.vpi = 0;
    sent.vci = 38;
    if (type <= 1) {
      sent.pppUserName = "bob";
      sent.pppPassword = "pw";
    }
    if (type == 8) {
      sent.ipAddress = "192.0.2.5";
      sent.subnetMask = "255.255.255.0";
      sent.gateway = "192.0.2.1";
      sent.dnsServer = "192.0.2.53";
    }
    uint8_t bytes[kPvc1RecordSize];
    EncodePvc1Record(Pvc1RecordFromSettings(sent), bytes);
    const std::optional<Pvc1Record> record = DecodePvc1Record(bytes, sizeof bytes);
    ASSERT_TRUE(record.has_value());
    ModemSettings received;
    ApplyPvc1Record(*record, received);
    EXPECT_EQ(received.connectionType, type);
    EXPECT_EQ(received.encapsulation, 1);
    EXPECT_EQ(received.vci, 38);
    EXPECT_EQ(received.pppUserName, sent.pppUserName);
    EXPECT_EQ(received.ipAddress, sent.ipAddress);
    EXPECT_EQ(received.dnsServer, type == 8 ? "192.0.2.53" : (type == 3 ? "" : "0.0.0.0"));
  }
  for (const char* security : {"NONE", "WEP64", "WEP128", "PSK", "PSK2"}) {
    ModemSettings sent;
    sent.wlSecurity = security;
    sent.wlChannel = 1;
    sent.wlSsid = "s";
    sent.wlKey = std::string(security) == "NONE" ? "" : "k3y";
    sent.wlCountryCode = "ALL";
    sent.wlKeyNumber = 1;
    uint8_t bytes[kWirelessRecordSize];
    EncodeWirelessRecord(*WirelessRecordFromSettings(sent), bytes);
    const std::optional<WirelessRecord> record = DecodeWirelessRecord(bytes, sizeof bytes);
    ASSERT_TRUE(record.has_value());
    ModemSettings received;
    ApplyWirelessRecord(*record, received);
    EXPECT_EQ(received, sent) << security;
  }
}

}  // namespace
}  // namespace quillon::modem::test
