// The tokenizer and the token-reply readers, including replies that do not fit the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modem/protocol/record_text.h"
#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/token_text.h"

namespace quillon::modem {
namespace {

TokenTable TokenizeText(const std::string& text) {
  return Tokenize(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::vector<std::string> Stored(const TokenTable& table) {
  std::vector<std::string> tokens;
  for (size_t i = 0; i < table.StoredCount(); ++i) tokens.emplace_back(table.Token(i));
  return tokens;
}

struct TokenCase {
  const char* name;
  std::string text;
  std::vector<std::string> tokens;
};

class ModemTokenizer : public ::testing::TestWithParam<TokenCase> {};

TEST_P(ModemTokenizer, CutsTheText) {
  const TokenCase& c = GetParam();
  const TokenTable table = TokenizeText(c.text);
  EXPECT_EQ(Stored(table), c.tokens);
  EXPECT_EQ(table.count, c.tokens.size());
  EXPECT_TRUE(table.Complete());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ModemTokenizer,
    ::testing::Values(
        TokenCase{"Pair", "<wanStatus=6>", {"wanStatus", "6"}},
        TokenCase{"TextAfterLastCloseIsNoToken", "<wanStatus=6>trailing", {"wanStatus", "6"}},
        TokenCase{"OpenDiscardsWhatCameBefore", "<wan<Status=6>", {"Status", "6"}},
        TokenCase{"OpenInsideValue", "<a=12<34>", {"a", "34"}},
        TokenCase{"ZeroByteEndsTheText", std::string("<a=1>\0<b=2>", 11), {"a", "1"}},
        TokenCase{"EmptyTokens", "==>", {"", "", ""}}, TokenCase{"NoBrackets", "a=b", {"a"}},
        TokenCase{"Empty", "", {}},
        TokenCase{"ThreePairs",
                  "<lineRateUp=800><lineRateDown=8000><lineDown=0>",
                  {"lineRateUp", "800", "lineRateDown", "8000", "lineDown", "0"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ModemTokenizerLimits, TextWithoutZeroByteEndsAtTheLength) {
  const std::string text = "<a=1><b=2>";
  const TokenTable table = Tokenize(reinterpret_cast<const uint8_t*>(text.data()), 5);
  EXPECT_EQ(Stored(table), (std::vector<std::string>{"a", "1"}));
  EXPECT_EQ(Tokenize(nullptr, 10).count, 0u);
}

TEST(ModemTokenizerLimits, OverlongTokenIsCutAndFlagged) {
  const std::string longValue(200, 'v');
  const TokenTable table = TokenizeText("<name=" + longValue + "><next=ok>");
  EXPECT_EQ(table.count, 4u);
  EXPECT_TRUE(table.overlong);
  EXPECT_FALSE(table.Complete());
  EXPECT_EQ(table.Token(1), std::string(TokenTable::kMaxTokenLength, 'v'));
  EXPECT_EQ(table.Token(2), "next");
  EXPECT_EQ(table.Token(3), "ok");
  EXPECT_EQ(table.text[1][TokenTable::kMaxTokenLength], '\0');
}

TEST(ModemTokenizerLimits, TokenOfExactlyTheLimitFits) {
  const std::string value(TokenTable::kMaxTokenLength, 'x');
  const TokenTable table = TokenizeText("<k=" + value + ">");
  EXPECT_TRUE(table.Complete());
  EXPECT_EQ(table.Token(1), value);
}

TEST(ModemTokenizerLimits, DiscardedOverlongTextDoesNotFlag) {
  const TokenTable table = TokenizeText(std::string(300, 'z') + "<a=1>");
  EXPECT_TRUE(table.Complete());
  EXPECT_EQ(Stored(table), (std::vector<std::string>{"a", "1"}));
}

TEST(ModemTokenizerLimits, TokensPastTheTableAreCountedNotStored) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "<k" + std::to_string(i) + "=v" + std::to_string(i) + ">";
  const TokenTable table = TokenizeText(text);
  EXPECT_EQ(table.count, 60u);
  EXPECT_EQ(table.StoredCount(), TokenTable::kMaxTokens);
  EXPECT_FALSE(table.Complete());
  EXPECT_EQ(table.Token(19), "v9");
  EXPECT_EQ(table.Token(20), "");
}

TEST(ModemTokenizerLimits, TwentyFirstTokenMakesTheTableIncomplete) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "<k=v>";
  EXPECT_TRUE(TokenizeText(text).Complete());
  EXPECT_FALSE(TokenizeText(text + "x>").Complete());
}

// --- lenient numbers
// -------------------------------------------------------------------------------

TEST(ModemDecimalText, ReadsLikeTheCLibrary) {
  const std::vector<std::pair<std::string, int32_t>> cases = {{"6", 6},
                                                              {"  42", 42},
                                                              {"\t\n 9", 9},
                                                              {"-7", -7},
                                                              {"+3", 3},
                                                              {"12abc", 12},
                                                              {"abc", 0},
                                                              {"", 0},
                                                              {"- 5", 0},
                                                              {"007", 7},
                                                              {"99999999999", 2147483647},
                                                              {"-99999999999", -2147483647 - 1},
                                                              {"2147483647", 2147483647}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadDecimal(text), value) << '"' << text << '"';
}

// --- token replies
// -----------------------------------------------------------------------------------

TEST(ModemTokenReplies, DiscoveryNeedsExactlyTwelveTokens) {
  const std::string good =
      "<macAddress=m><fwVersion=f><modelName=QR-5120G><hwVersion=h><routerPassword=tulip>"
      "<ipAddress=198.51.100.1>";
  const std::optional<DiscoveryReply> reply = ReadDiscoveryReply(TokenizeText(good));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->model, "QR-5120G");
  EXPECT_EQ(reply->password, "tulip");
  EXPECT_EQ(reply->ipAddress, "198.51.100.1");
  EXPECT_FALSE(ReadDiscoveryReply(TokenizeText(good.substr(0, good.size() - 1))).has_value());
  EXPECT_FALSE(ReadDiscoveryReply(TokenizeText(good + "<x=")).has_value());
  const std::string overlong = "<a=b><c=d><modelName=" + std::string(130, 'm') + "><e=f><g=h><i=j>";
  EXPECT_FALSE(ReadDiscoveryReply(TokenizeText(overlong)).has_value());
}

TEST(ModemTokenReplies, LineRate) {
  const auto read = [](const std::string& text) { return ReadLineRateReply(TokenizeText(text)); };
  EXPECT_EQ(read("<lineRateUp=800><lineRateDown=8000><lineDown=0>"), true);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=1>"), false);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown= 1kb>"), false);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=01>"), false);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=2>"), true);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=>"), true);
  EXPECT_EQ(read("<linerateup=0><lineRateDown=0><lineDown=1>"), std::nullopt);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=1"), std::nullopt);
  EXPECT_EQ(read("<lineRateUp=0><lineRateDown=0><lineDown=1><x=y>"), std::nullopt);
}

TEST(ModemTokenReplies, WanStatus) {
  const auto read = [](const std::string& text) { return ReadWanStatusReply(TokenizeText(text)); };
  EXPECT_EQ(read("<wanStatus=6>"), 6);
  EXPECT_EQ(read("<wanStatus=2>"), 2);
  EXPECT_EQ(read("<wanStatus= 6 >"), 6);
  EXPECT_EQ(read("<wanStatus=>"), 0);
  EXPECT_EQ(read("<WanStatus=6>"), std::nullopt);
  EXPECT_EQ(read("<wanStatus=6><x=1>"), std::nullopt);
  EXPECT_EQ(read("<wanStatus=6"), std::nullopt);
  EXPECT_EQ(read("<wanStatus=" + std::string(128, '6') + ">"), std::nullopt);
}

}  // namespace
}  // namespace quillon::modem
