// Which replies the header checks let through, and the record tag rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modem/protocol/reply_acceptance.h"

namespace quillon::modem {
namespace {

constexpr MacAddress kTarget = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
constexpr MacAddress kOther = {0x00, 0x11, 0x22, 0x33, 0x44, 0x56};
// A step whose request went out as 0x0201 and was resent twice.
constexpr SequenceWindow kStep{0x0201, 3};

std::vector<uint8_t> ReplyBytes(const MacAddress& mac, uint16_t code, uint16_t sequence,
                                const std::string& payload) {
  std::vector<uint8_t> bytes(10 + payload.size(), 0);
  for (size_t i = 0; i < mac.size(); ++i) bytes[i] = mac[i];
  bytes[6] = static_cast<uint8_t>(code >> 8);
  bytes[7] = static_cast<uint8_t>(code);
  bytes[8] = static_cast<uint8_t>(sequence >> 8);
  bytes[9] = static_cast<uint8_t>(sequence);
  for (size_t i = 0; i < payload.size(); ++i) bytes[10 + i] = static_cast<uint8_t>(payload[i]);
  return bytes;
}

struct AcceptCase {
  const char* name;
  MacAddress mac;
  uint16_t sequence;
  bool discoveryStep;
  bool accepted;
};

class ModemReplyAcceptance : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(ModemReplyAcceptance, SequenceAndMac) {
  const AcceptCase& c = GetParam();
  const std::vector<uint8_t> reply = ReplyBytes(c.mac, 4, c.sequence, "<wanStatus=6>");
  const std::optional<ReplyView> view =
      AcceptReply(reply.data(), reply.size(), kStep, kTarget, c.discoveryStep);
  ASSERT_EQ(view.has_value(), c.accepted);
  if (!view) return;
  EXPECT_EQ(view->header.code, 4);
  EXPECT_EQ(view->header.mac, c.mac);
  EXPECT_EQ(view->payloadLength, reply.size() - 10);
  EXPECT_EQ(view->payload, reply.data() + 10);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ModemReplyAcceptance,
    ::testing::Values(AcceptCase{"Matching", kTarget, 0x0203, false, true},
                      AcceptCase{"EarlierSendOfTheStep", kTarget, 0x0201, false, true},
                      AcceptCase{"StaleSequence", kTarget, 0x0200, false, false},
                      AcceptCase{"NewerSequence", kTarget, 0x0204, false, false},
                      AcceptCase{"ByteSwappedSequence", kTarget, 0x0302, false, false},
                      AcceptCase{"OtherModem", kOther, 0x0203, false, false},
                      AcceptCase{"OtherModemInDiscovery", kOther, 0x0203, true, true},
                      AcceptCase{"StaleInDiscovery", kOther, 0x0200, true, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemReplyAcceptanceWindow, WrapsPast65535) {
  const SequenceWindow step{65534, 4};
  for (const uint16_t sequence : {65534, 65535, 0, 1}) EXPECT_TRUE(step.Contains(sequence));
  for (const uint16_t sequence : {65533, 2}) EXPECT_FALSE(step.Contains(sequence));
  EXPECT_FALSE((SequenceWindow{7, 0}.Contains(7)));
}

TEST(ModemReplyAcceptanceLength, HeaderMustBeComplete) {
  const std::vector<uint8_t> reply = ReplyBytes(kTarget, 2, 7, "");
  EXPECT_FALSE(AcceptReply(reply.data(), 9, {7, 1}, kTarget, true).has_value());
  EXPECT_FALSE(AcceptReply(nullptr, 0, {7, 1}, kTarget, true).has_value());
  const std::optional<ReplyView> empty = AcceptReply(reply.data(), 10, {7, 1}, kTarget, false);
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->payloadLength, 0u);
}

TEST(ModemRecordTag, TagAndItsZeroByte) {
  const auto has = [](const std::string& payload, std::string_view tag) {
    return HasRecordTag(reinterpret_cast<const uint8_t*>(payload.data()), payload.size(), tag);
  };
  EXPECT_TRUE(has(std::string("<pvc1>\0rest", 11), "<pvc1>"));
  EXPECT_TRUE(has(std::string("<wireless>\0", 11), "<wireless>"));
  EXPECT_FALSE(has("<pvc1>", "<pvc1>"));  // the zero byte is past the end
  EXPECT_FALSE(has(std::string("<pvc1>x\0", 8), "<pvc1>"));
  EXPECT_FALSE(has(std::string("<PVC1>\0", 7), "<pvc1>"));
  EXPECT_FALSE(has(std::string("<pvc1>\0", 7), "<wireless>"));
  EXPECT_FALSE(has(std::string(" <pvc1>\0", 8), "<pvc1>"));
  EXPECT_FALSE(HasRecordTag(nullptr, 0, "<pvc1>"));
}

}  // namespace
}  // namespace quillon::modem
