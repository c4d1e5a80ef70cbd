// Every request datagram against bytes spelled out from the published layouts.
#include <gtest/gtest.h>

#include <string>

#include "modem/protocol/requests.h"
#include "wire_layout.h"

namespace quillon::modem::test {
namespace {

constexpr MacAddress kModem = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};

Bytes Sent(const Datagram& datagram) {
  return Bytes(datagram.bytes.begin(), datagram.bytes.begin() + datagram.length);
}

Bytes Header(const MacAddress& mac, uint8_t code, uint16_t sequence) {
  return {mac[0],
          mac[1],
          mac[2],
          mac[3],
          mac[4],
          mac[5],
          0x00,
          code,
          static_cast<uint8_t>(sequence >> 8),
          static_cast<uint8_t>(sequence & 0xff)};
}

Bytes Concat(Bytes head, const Bytes& tail, size_t padTo = 0) {
  head.insert(head.end(), tail.begin(), tail.end());
  if (head.size() < padTo) head.resize(padTo, 0);
  return head;
}

TEST(ModemRequestGolden, DiscoveryIsTwentyTwoBytesToEveryModem) {
  const Bytes expected = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x01, 0x12, 0x34, 0,
                          0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(Sent(AssembleDatagram(kDiscoveryMac, DiscoverRequest(), 0x1234)), expected);
}

struct TextRequestCase {
  const char* name;
  Request request;
  uint8_t code;
  const char* payloadText;  // written with its zero byte
  size_t expectedLength;
};

class ModemTextRequestGolden : public ::testing::TestWithParam<TextRequestCase> {};

TEST_P(ModemTextRequestGolden, MatchesLayout) {
  const TextRequestCase& c = GetParam();
  Bytes payload = TextBytes(c.payloadText);
  payload.push_back(0);
  const Bytes expected = Concat(Header(kModem, c.code, 0x0102), payload, 22);
  const Bytes sent = Sent(AssembleDatagram(kModem, c.request, 0x0102));
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(sent.size(), c.expectedLength);
}

INSTANTIATE_TEST_SUITE_P(
    AllTextRequests, ModemTextRequestGolden,
    ::testing::Values(
        TextRequestCase{"lineRate", QueryRequest(kQueryLineRate), 3, "<lineRate>", 22},
        TextRequestCase{"pvc1", QueryRequest(kQueryPvc1), 3, "<pvc1>", 22},
        TextRequestCase{"wireless", QueryRequest(kQueryWireless), 3, "<wireless>", 22},
        TextRequestCase{"wanStatus", QueryRequest(kQueryWanStatus), 3, "<wanStatus>", 22},
        TextRequestCase{"saveReboot", CommandRequest(kCommandSaveReboot), 7, "<saveReboot>", 23},
        TextRequestCase{"rebootDefault", CommandRequest(kCommandRebootDefault), 7,
                        "<rebootDefault>", 26}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemRequestGolden, PayloadSizesBeforePadding) {
  EXPECT_EQ(DiscoverRequest().payloadLength, 1u);
  EXPECT_EQ(QueryRequest(kQueryLineRate).payloadLength, 11u);
  EXPECT_EQ(QueryRequest(kQueryPvc1).payloadLength, 7u);
  EXPECT_EQ(QueryRequest(kQueryWireless).payloadLength, 11u);
  EXPECT_EQ(QueryRequest(kQueryWanStatus).payloadLength, 12u);
  EXPECT_EQ(CommandRequest(kCommandSaveReboot).payloadLength, 13u);
  EXPECT_EQ(CommandRequest(kCommandRebootDefault).payloadLength, 16u);
}

TEST(ModemRequestGolden, ResendKeepsTheDatagramWithANewSequenceNumber) {
  Datagram datagram = AssembleDatagram(kModem, QueryRequest(kQueryWanStatus), 0xfffe);
  Bytes expected = Sent(datagram);
  RestampSequenceNumber(datagram, 0xffff);
  expected[8] = 0xff;
  expected[9] = 0xff;
  EXPECT_EQ(Sent(datagram), expected);
  uint16_t next = 0xffff;
  ++next;
  RestampSequenceNumber(datagram, next);
  EXPECT_EQ(datagram.bytes[8], 0);
  EXPECT_EQ(datagram.bytes[9], 0);
}

TEST(ModemRequestGolden, OverlongCommandNameStaysInsideThePayload) {
  const std::string name(600, 'x');
  const Request request = CommandRequest(name);
  ASSERT_EQ(request.payloadLength, kMaxPayloadSize);
  EXPECT_EQ(request.payload[0], '<');
  EXPECT_EQ(request.payload[kMaxPayloadSize - 2], '>');
  EXPECT_EQ(request.payload[kMaxPayloadSize - 1], 0);
  const Datagram datagram = AssembleDatagram(kModem, request, 1);
  EXPECT_EQ(datagram.length, kSendBufferSize);
}

// --- set-PVC ---------------------------------------------------------------------------------

struct Pvc1Case {
  const char* name;
  int32_t connectionType;
  int32_t encapsulation;
  uint32_t protocol, encap, dhcpc, autoGw, autoDns;
  const char *ip, *mask, *gw, *dns, *user, *password;
};

ModemSettings FilledSettings(int32_t connectionType, int32_t encapsulation) {
  ModemSettings s;
  s.connectionType = connectionType;
  s.encapsulation = encapsulation;
  s.vpi = 8;
  s.vci = 0x12345;
  s.pppUserName = "user@isp";
  s.pppPassword = "secret";
  s.ipAddress = "203.0.113.7";
  s.subnetMask = "255.255.255.0";
  s.gateway = "203.0.113.1";
  s.dnsServer = "203.0.113.53";
  return s;
}

class ModemSetPvc1Golden : public ::testing::TestWithParam<Pvc1Case> {};

TEST_P(ModemSetPvc1Golden, RecordFollowsTheConnectionType) {
  const Pvc1Case& c = GetParam();
  Bytes record(pvc1::kSize, 0);
  PutText(record, pvc1::kTag, "<pvc1>");
  PutU32(record, pvc1::kVpi, 8);
  PutU32(record, pvc1::kVci, 0x12345);
  PutU32(record, pvc1::kProtocol, c.protocol);
  PutU32(record, pvc1::kEncap, c.encap);
  PutU32(record, pvc1::kDhcpc, c.dhcpc);
  PutText(record, pvc1::kUser, c.user);
  PutText(record, pvc1::kPassword, c.password);
  PutText(record, pvc1::kIp, c.ip);
  PutText(record, pvc1::kMask, c.mask);
  PutText(record, pvc1::kGw, c.gw);
  PutU32(record, pvc1::kAutoGw, c.autoGw);
  PutU32(record, pvc1::kAutoDns, c.autoDns);
  PutText(record, pvc1::kDns, c.dns);
  const Bytes expected = Concat(Header(kModem, 5, 9), record);
  const Request request = SetPvc1Request(FilledSettings(c.connectionType, c.encapsulation));
  const Bytes sent = Sent(AssembleDatagram(kModem, request, 9));
  EXPECT_EQ(sent.size(), 454u);
  EXPECT_EQ(sent, expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryConnectionType, ModemSetPvc1Golden,
    ::testing::Values(
        Pvc1Case{"PPPoE", 0, 1, 0, 1, 0, 1, 1, "", "", "", "0.0.0.0", "user@isp", "secret"},
        Pvc1Case{"PPPoA", 1, 0, 1, 0, 0, 1, 1, "", "", "", "0.0.0.0", "user@isp", "secret"},
        Pvc1Case{"Bridge", 3, 1, 3, 1, 0, 0, 0, "", "", "", "", "", ""},
        Pvc1Case{"StaticIp", 8, 0, 2, 0, 0, 0, 0, "203.0.113.7", "255.255.255.0", "203.0.113.1",
                 "203.0.113.53", "", ""},
        Pvc1Case{"DynamicIp", 9, 1, 2, 1, 1, 1, 1, "", "", "0.0.0.0", "0.0.0.0", "", ""},
        Pvc1Case{"Unknown", 5, 1, 0, 0, 0, 0, 0, "", "", "", "", "", ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemRequestGolden, Pvc1TextsAreCutToTheirFieldLessOne) {
  ModemSettings settings = FilledSettings(0, 0);
  settings.pppUserName = std::string(300, 'u');
  settings.pppPassword = std::string(40, 'p');
  const Request request = SetPvc1Request(settings);
  Bytes payload(request.payload.begin(), request.payload.begin() + request.payloadLength);
  for (size_t i = 0; i < 263; ++i) ASSERT_EQ(payload[pvc1::kUser.offset + i], 'u') << i;
  EXPECT_EQ(payload[pvc1::kUser.offset + 263], 0);
  for (size_t i = 0; i < 39; ++i) ASSERT_EQ(payload[pvc1::kPassword.offset + i], 'p') << i;
  EXPECT_EQ(payload[pvc1::kPassword.offset + 39], 0);
  EXPECT_EQ(payload[pvc1::kIp.offset], 0);  // nothing spilled into the next field
}

// --- set-wireless -------------------------------------------------------------------------------

struct WirelessCase {
  const char* name;
  const char* security;
  const char *keyBit, *key, *wpaPsk, *wep, *wpa, *authMode, *keyNumber;
};

class ModemSetWirelessGolden : public ::testing::TestWithParam<WirelessCase> {};

TEST_P(ModemSetWirelessGolden, RecordFollowsTheSecurityType) {
  const WirelessCase& c = GetParam();
  ModemSettings settings;
  settings.wlSecurity = c.security;
  settings.wlChannel = 11;
  settings.wlSsid = "home net";
  settings.wlKey = "0123456789";
  settings.wlCountryCode = "DE";
  settings.wlKeyNumber = 3;
  Bytes record(wireless::kSize, 0);
  PutText(record, wireless::kTag, "<wireless>");
  PutText(record, wireless::kChannel, "11");
  PutText(record, wireless::kSsid, "home net");
  PutText(record, wireless::kKeyBit, c.keyBit);
  PutText(record, wireless::kKey, c.key);
  PutText(record, wireless::kWpaPsk, c.wpaPsk);
  PutText(record, wireless::kWep, c.wep);
  PutText(record, wireless::kWpa, c.wpa);
  PutText(record, wireless::kAuthMode, c.authMode);
  PutText(record, wireless::kCountry, "DE");
  PutText(record, wireless::kKeyNumber, c.keyNumber);
  const std::optional<Request> request = SetWirelessRequest(settings);
  ASSERT_TRUE(request.has_value());
  const Bytes sent = Sent(AssembleDatagram(kModem, *request, 0x0a0b));
  EXPECT_EQ(sent.size(), 242u);
  EXPECT_EQ(sent, Concat(Header(kModem, 5, 0x0a0b), record));
}

INSTANTIATE_TEST_SUITE_P(
    EverySecurityType, ModemSetWirelessGolden,
    ::testing::Values(
        WirelessCase{"None", "NONE", "", "", "", "disabled", "", "open", "1"},
        WirelessCase{"Wep64", "WEP64", "1", "0123456789", "", "enabled", "", "open", "3"},
        WirelessCase{"Wep128", "WEP128", "0", "0123456789", "", "enabled", "", "open", "3"},
        WirelessCase{"Psk", "PSK", "0", "", "0123456789", "disabled", "tkip", "psk", "1"},
        WirelessCase{"Psk2", "PSK2", "0", "", "0123456789", "disabled", "aes", "psk2", "1"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemRequestGolden, UnknownSecurityCarriesOnlyTheTag) {
  ModemSettings settings;
  settings.wlSecurity = "psk";  // the comparison is case-sensitive
  settings.wlSsid = "ignored";
  settings.wlChannel = 6;
  const std::optional<Request> request = SetWirelessRequest(settings);
  ASSERT_TRUE(request.has_value());
  Bytes expected(wireless::kSize, 0);
  PutText(expected, wireless::kTag, "<wireless>");
  EXPECT_EQ(Bytes(request->payload.begin(), request->payload.begin() + request->payloadLength),
            expected);
}

TEST(ModemRequestGolden, EmptySecuritySendsNothing) {
  ModemSettings settings;
  settings.wlSsid = "net";
  EXPECT_FALSE(SetWirelessRequest(settings).has_value());
}

TEST(ModemRequestGolden, WirelessTextsAreCutToTheirFieldLessOne) {
  ModemSettings settings;
  settings.wlSecurity = "WEP128";
  settings.wlKey = std::string(40, 'k');
  settings.wlSsid = std::string(60, 's');
  settings.wlChannel = 12345;
  const std::optional<Request> request = SetWirelessRequest(settings);
  ASSERT_TRUE(request.has_value());
  const uint8_t* p = request->payload.data();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + wireless::kKey.offset)),
            std::string(31, 'k'));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + wireless::kSsid.offset)),
            std::string(47, 's'));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + wireless::kChannel.offset)), "123");
  EXPECT_EQ(p[wireless::kWpaPsk.offset], 0);
}

}  // namespace
}  // namespace quillon::modem::test
