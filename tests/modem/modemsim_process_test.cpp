// modemsim as a real separate process over real UDP on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "persistence.h"
#include "sim_harness.h"
#include "sim_test_support.h"

namespace quillon::modemsim::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Generous deadlines for things that normally take a few milliseconds; the checks poll.
constexpr int kReplyMs = 2000;
constexpr int kSilenceMs = 150;

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kReplyMs) {
  const auto deadline = Clock::now() + milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return condition();
}

class ModemSimProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unique = std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                               "_" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ =
        std::filesystem::temp_directory_path() /
        ("modemsim_test_" + unique + "_" + std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder_);
    statePath_ = (folder_ / "state.txt").string();
    logPath_ = (folder_ / "sim.log").string();
  }
  void TearDown() override {
    probe_.reset();
    sim_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  void Start(std::vector<std::string> args) {
    args.insert(args.begin(), {"--bind", "127.0.0.1", "--port", "0", "--state-file", statePath_,
                               "--log", logPath_});
    std::string error;
    sim_ = SimProcess::Start(MODEMSIM_EXE, args, error);
    ASSERT_TRUE(sim_) << error;
    probe_ = std::make_unique<LoopbackProbe>(sim_->port());
    ASSERT_TRUE(probe_->ok());
  }

  // Sends a request and gives the first reply, or an empty datagram when none came in time.
  Bytes Ask(const Bytes& request, int timeoutMs = kReplyMs) {
    EXPECT_TRUE(probe_->Send(request.data(), request.size()));
    return probe_->Receive(timeoutMs).value_or(Bytes());
  }
  Bytes Query(std::string_view tag) {
    return Ask(RequestBytes(modem::QueryRequest(tag), ++sequence_));
  }

  std::optional<modem::Pvc1Record> QueryPvc1() {
    const Bytes reply = Query(modem::kQueryPvc1);
    if (reply.size() < 10) return std::nullopt;
    return modem::DecodePvc1Record(reply.data() + 10, reply.size() - 10);
  }
  std::optional<modem::WirelessRecord> QueryWireless() {
    const Bytes reply = Query(modem::kQueryWireless);
    if (reply.size() < 10) return std::nullopt;
    return modem::DecodeWirelessRecord(reply.data() + 10, reply.size() - 10);
  }

  // The value of one key of the state file, or nothing when the file or key is missing.
  std::optional<std::string> StateValue(const std::string& key) {
    std::istringstream lines(ReadWholeFile(statePath_).value_or(""));
    for (std::string line; std::getline(lines, line);)
      if (line.starts_with(key + "=")) return UnescapeValue(line.substr(key.size() + 1));
    return std::nullopt;
  }

  std::filesystem::path folder_;
  std::string statePath_;
  std::string logPath_;
  std::unique_ptr<SimProcess> sim_;
  std::unique_ptr<LoopbackProbe> probe_;
  uint16_t sequence_ = 0;
};

TEST_F(ModemSimProcess, AnswersDiscoveryWithItsConfiguredIdentity) {
  Start({"--model", "QR-7", "--password", "pw", "--ip", "198.51.100.77", "--mac",
         "02:aa:bb:cc:dd:ee"});
  const Bytes reply = Ask(DiscoverBytes(0x4242));
  ASSERT_GE(reply.size(), 10u);
  EXPECT_EQ(ReplyCode(reply), modem::MSG_DISCOVER_REPLY);
  EXPECT_EQ(ReplySequence(reply), 0x4242);
  EXPECT_EQ(ReplyMac(reply), (modem::MacAddress{0x02, 0xaa, 0xbb, 0xcc, 0xdd, 0xee}));
  const auto discovered = modem::ReadDiscoveryReply(ReplyTokens(reply));
  ASSERT_TRUE(discovered.has_value());
  EXPECT_EQ(discovered->model, "QR-7");
  EXPECT_EQ(discovered->password, "pw");
  EXPECT_EQ(discovered->ipAddress, "198.51.100.77");
}

TEST_F(ModemSimProcess, EveryQueryAndTheLineSwitch) {
  Start({"--line-down"});
  const auto lineUp = [&] {
    return modem::ReadLineRateReply(ReplyTokens(Query(modem::kQueryLineRate)));
  };
  EXPECT_EQ(lineUp(), false);
  EXPECT_EQ(WanStatusOf(Query(modem::kQueryWanStatus)), 0);
  ASSERT_TRUE(sim_->Send(SimSignal::kLineUp));
  EXPECT_TRUE(WaitUntil([&] { return lineUp() == true; }));
  EXPECT_EQ(WanStatusOf(Query(modem::kQueryWanStatus)), 6);
  ASSERT_TRUE(sim_->Send(SimSignal::kLineDown));
  EXPECT_TRUE(WaitUntil([&] { return lineUp() == false; }));

  const std::optional<modem::Pvc1Record> pvc1 = QueryPvc1();
  ASSERT_TRUE(pvc1.has_value());
  EXPECT_EQ(*pvc1, FactoryConfig().pvc1);
  const std::optional<modem::WirelessRecord> wireless = QueryWireless();
  ASSERT_TRUE(wireless.has_value());
  EXPECT_EQ(*wireless, FactoryConfig().wireless);
}

TEST_F(ModemSimProcess, SaveAndRebootRoundTrip) {
  Start({"--reboot-ms", "400"});
  modem::ModemSettings settings;
  settings.connectionType = modem::kConnectionStaticIp;
  settings.encapsulation = 1;
  settings.vpi = 0;
  settings.vci = 38;
  settings.ipAddress = "203.0.113.9";
  settings.subnetMask = "255.255.255.248";
  settings.gateway = "203.0.113.14";
  settings.dnsServer = "203.0.113.53";
  settings.wlSecurity = "WEP64";
  settings.wlChannel = 11;
  settings.wlSsid = "attic";
  settings.wlKey = "abcdefabcd";
  settings.wlCountryCode = "DE";
  settings.wlKeyNumber = 1;

  EXPECT_EQ(ReplyCode(Ask(RequestBytes(modem::SetPvc1Request(settings), ++sequence_))),
            modem::MSG_SET_REPLY);
  EXPECT_EQ(ReplyCode(Ask(RequestBytes(*modem::SetWirelessRequest(settings), ++sequence_))),
            modem::MSG_SET_REPLY);
  // Pending only: the modem still answers with what it had.
  EXPECT_EQ(QueryPvc1()->vci, 35u);
  ASSERT_TRUE(sim_->Send(SimSignal::kWriteState));
  EXPECT_TRUE(WaitUntil([&] { return StateValue("pending.pvc1.vci") == "38"; }));
  EXPECT_EQ(StateValue("saved.pvc1.vci"), "35");

  const auto saveSent = Clock::now();
  const Bytes ack =
      Ask(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), ++sequence_));
  EXPECT_EQ(ReplyCode(ack), modem::MSG_COMMAND_REPLY);
  EXPECT_EQ(ReplySequence(ack), sequence_);
  EXPECT_TRUE(WaitUntil([&] { return StateValue("saved.pvc1.vci") == "38"; }));

  // Silent while rebooting, then back; count the discoveries that went unanswered.
  EXPECT_TRUE(Ask(DiscoverBytes(++sequence_), kSilenceMs).empty());
  int unanswered = 1;
  while (Ask(DiscoverBytes(++sequence_), 100).empty()) ASSERT_LT(++unanswered, 40);
  EXPECT_GE(Clock::now() - saveSent, milliseconds(400));

  modem::ModemSettings readBack;
  modem::ApplyPvc1Record(*QueryPvc1(), readBack);
  modem::ApplyWirelessRecord(*QueryWireless(), readBack);
  EXPECT_EQ(readBack, settings);

  // The state file holds, field for field, what the wizard wrote.
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"saved.pvc1.vpi", "0"},
      {"saved.pvc1.vci", "38"},
      {"saved.pvc1.protocol", "2"},
      {"saved.pvc1.encap", "1"},
      {"saved.pvc1.dhcpc", "0"},
      {"saved.pvc1.pppUsername", ""},
      {"saved.pvc1.ip", "203.0.113.9"},
      {"saved.pvc1.mask", "255.255.255.248"},
      {"saved.pvc1.gw", "203.0.113.14"},
      {"saved.pvc1.autoGW", "0"},
      {"saved.pvc1.autoDNS", "0"},
      {"saved.pvc1.dns", "203.0.113.53"},
      {"saved.wireless.wlChannel", "11"},
      {"saved.wireless.wlSsid", "attic"},
      {"saved.wireless.wlKeyBit", "1"},
      {"saved.wireless.wlKey", "abcdefabcd"},
      {"saved.wireless.wlWpaPsk", ""},
      {"saved.wireless.wlWep", "enabled"},
      {"saved.wireless.wlWpa", ""},
      {"saved.wireless.wlAuthMode", "open"},
      {"saved.wireless.wlCountryCode", "DE"},
      {"saved.wireless.wlKeyNumber", "1"},
      {"counters.saveReboots", "1"},
      {"counters.pvc1Sets", "1"},
      {"counters.wirelessSets", "1"}};
  for (const auto& [key, value] : expected) EXPECT_EQ(StateValue(key), value) << key;
}

TEST_F(ModemSimProcess, FactoryResetAndExitWritesTheState) {
  Start({"--reboot-ms", "50"});
  modem::ModemSettings settings;
  settings.connectionType = modem::kConnectionPppoe;
  settings.vci = 99;
  settings.pppUserName = "someone";
  Ask(RequestBytes(modem::SetPvc1Request(settings), ++sequence_));
  Ask(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), ++sequence_));
  ASSERT_TRUE(WaitUntil([&] { return !Ask(DiscoverBytes(++sequence_), 50).empty(); }));
  EXPECT_EQ(QueryPvc1()->pppUsername, "someone");

  const Bytes ack =
      Ask(RequestBytes(modem::CommandRequest(modem::kCommandRebootDefault), ++sequence_));
  EXPECT_EQ(ReplyCode(ack), modem::MSG_COMMAND_REPLY);
  ASSERT_TRUE(WaitUntil([&] { return !Ask(DiscoverBytes(++sequence_), 50).empty(); }));
  EXPECT_EQ(*QueryPvc1(), FactoryConfig().pvc1);

  EXPECT_EQ(sim_->Stop(), 0);
  EXPECT_EQ(StateValue("saved.pvc1.vci"), "35");
  EXPECT_EQ(StateValue("saved.pvc1.pppUsername"), "");
  EXPECT_EQ(StateValue("counters.factoryResets"), "1");
  EXPECT_EQ(StateValue("counters.saveReboots"), "1");
}

TEST_F(ModemSimProcess, WanStatusWaitsForPollsAndTheIspAccount) {
  Start({"--wan-up-polls", "2", "--isp-user", "alice", "--reboot-ms", "0"});
  EXPECT_EQ(WanStatusOf(Query(modem::kQueryWanStatus)), 2);
  EXPECT_EQ(WanStatusOf(Query(modem::kQueryWanStatus)), 2);
  EXPECT_EQ(WanStatusOf(Query(modem::kQueryWanStatus)), 4);
  modem::ModemSettings settings;
  settings.pppUserName = "alice";
  Ask(RequestBytes(modem::SetPvc1Request(settings), ++sequence_));
  Ask(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), ++sequence_));
  std::vector<std::optional<int32_t>> statuses;
  for (int i = 0; i < 3; ++i) statuses.push_back(WanStatusOf(Query(modem::kQueryWanStatus)));
  EXPECT_EQ(statuses, (std::vector<std::optional<int32_t>>{2, 2, 6}));
}

TEST_F(ModemSimProcess, LogsEveryDatagram) {
  Start({});
  for (int i = 0; i < 3; ++i) Ask(DiscoverBytes(++sequence_));
  const Bytes junk = {1, 2, 3};
  probe_->Send(junk.data(), junk.size());
  const auto countLines = [&](const std::string& needle) {
    const std::string log = ReadWholeFile(logPath_).value_or("");
    size_t count = 0;
    for (size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1))
      ++count;
    return count;
  };
  EXPECT_TRUE(WaitUntil([&] { return countLines("shorter than a header") == 1; }));
  EXPECT_EQ(countLines("rx code=1 "), 3u);
  EXPECT_EQ(countLines("tx to 127.0.0.1:"), 3u);
}

// --- faults: count what arrives
// ---------------------------------------------------------------------

TEST_F(ModemSimProcess, DropAllSendsNothing) {
  Start({"--drop", "1"});
  for (int i = 0; i < 5; ++i) {
    const Bytes request = DiscoverBytes(++sequence_);
    probe_->Send(request.data(), request.size());
  }
  EXPECT_EQ(probe_->ReceiveFor(kSilenceMs).size(), 0u);
}

TEST_F(ModemSimProcess, DropFirstIgnoresTheFirstRequests) {
  Start({"--drop-first", "2"});
  EXPECT_TRUE(Ask(DiscoverBytes(1), kSilenceMs).empty());
  EXPECT_TRUE(Ask(DiscoverBytes(2), kSilenceMs).empty());
  EXPECT_FALSE(Ask(DiscoverBytes(3)).empty());
}

TEST_F(ModemSimProcess, SeededDropIsRepeatable) {
  std::vector<std::vector<bool>> patterns;
  for (int run = 0; run < 2; ++run) {
    Start({"--drop", "0.5", "--seed", "11"});
    for (uint16_t i = 1; i <= 16; ++i) {
      const Bytes request = DiscoverBytes(i);
      probe_->Send(request.data(), request.size());
    }
    std::vector<bool> seen(17, false);
    for (const Bytes& reply : probe_->ReceiveFor(kSilenceMs)) seen[ReplySequence(reply)] = true;
    patterns.emplace_back(seen.begin() + 1, seen.end());
    probe_.reset();
    sim_.reset();
  }
  EXPECT_EQ(patterns[0], patterns[1]);
  const auto answered = std::count(patterns[0].begin(), patterns[0].end(), true);
  EXPECT_GT(answered, 0);
  EXPECT_LT(answered, 16);
}

TEST_F(ModemSimProcess, DuplicatesArriveAsCopies) {
  Start({"--duplicates", "2"});
  const Bytes request = DiscoverBytes(5);
  probe_->Send(request.data(), request.size());
  const std::vector<Bytes> replies = probe_->ReceiveFor(kSilenceMs);
  ASSERT_EQ(replies.size(), 3u);
  EXPECT_EQ(replies[0], replies[1]);
  EXPECT_EQ(replies[1], replies[2]);
}

TEST_F(ModemSimProcess, DelayHoldsRepliesBack) {
  Start({"--delay-ms", "200"});
  const auto sent = Clock::now();
  const Bytes request = DiscoverBytes(6);
  probe_->Send(request.data(), request.size());
  EXPECT_FALSE(probe_->Receive(120).has_value());
  EXPECT_TRUE(probe_->Receive(kReplyMs).has_value());
  EXPECT_GE(Clock::now() - sent, milliseconds(200));
}

TEST_F(ModemSimProcess, StaleSequenceAndForeignMac) {
  Start({"--stale-seq", "1", "--foreign-mac", "1", "--foreign-mac-address", "02:99:99:99:99:99"});
  const Bytes reply = Ask(DiscoverBytes(300));
  ASSERT_GE(reply.size(), 10u);
  EXPECT_EQ(ReplySequence(reply), 299);
  EXPECT_EQ(ReplyMac(reply), (modem::MacAddress{0x02, 0x99, 0x99, 0x99, 0x99, 0x99}));
}

TEST_F(ModemSimProcess, MalformedTokensAndTruncatedRecords) {
  Start({"--malformed-tokens", "1", "--truncate-records", "1"});
  EXPECT_FALSE(modem::ReadDiscoveryReply(ReplyTokens(Ask(DiscoverBytes(1)))).has_value());
  EXPECT_FALSE(WanStatusOf(Query(modem::kQueryWanStatus)).has_value());
  EXPECT_FALSE(modem::ReadLineRateReply(ReplyTokens(Query(modem::kQueryLineRate))).has_value());
  const Bytes pvc = Query(modem::kQueryPvc1);
  EXPECT_EQ(pvc.size(), 10 + modem::kPvc1RecordSize / 2);
  EXPECT_FALSE(modem::DecodePvc1Record(pvc.data() + 10, pvc.size() - 10).has_value());
  EXPECT_EQ(Query(modem::kQueryWireless).size(), 10 + modem::kWirelessRecordSize / 2);
}

TEST_F(ModemSimProcess, NeverBackAfterReboot) {
  Start({"--reboot-ms", "50", "--no-return-after-reboot"});
  EXPECT_FALSE(Ask(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 1)).empty());
  std::this_thread::sleep_for(milliseconds(100));
  for (uint16_t i = 2; i < 5; ++i) {
    const Bytes request = DiscoverBytes(i);
    probe_->Send(request.data(), request.size());
  }
  EXPECT_EQ(probe_->ReceiveFor(kSilenceMs).size(), 0u);
}

TEST(ModemSimCommandLine, BadOptionsEndTheProcess) {
  std::string error;
  EXPECT_FALSE(SimProcess::Start(MODEMSIM_EXE, {"--drop", "2"}, error));
  EXPECT_NE(error.find("exit code 2"), std::string::npos) << error;
}

}  // namespace
}  // namespace quillon::modemsim::test
