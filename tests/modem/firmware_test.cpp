// The simulator's request handling with a virtual clock: what it answers, what it keeps, and
// each fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "sim_test_support.h"

namespace quillon::modemsim::test {
namespace {

using modem::ModemSettings;

class Firmware {
 public:
  explicit Firmware(FirmwareSettings settings = {}, FaultSettings faults = {})
      : firmware_(settings, faults, FactoryConfig(), FactoryConfig(), 0,
                  [this](const std::string& line) { log_.push_back(line); }) {}

  std::vector<OutgoingReply> Send(const Bytes& request) {
    return firmware_.Handle(request.data(), request.size(), now_);
  }
  // The one reply a request gets, or an empty datagram when it got none.
  Bytes Ask(const Bytes& request) {
    std::vector<OutgoingReply> replies = Send(request);
    EXPECT_LE(replies.size(), 1u);
    return replies.empty() ? Bytes() : replies.front().bytes;
  }
  std::optional<int32_t> Wan() {
    return WanStatusOf(Ask(RequestBytes(modem::QueryRequest(modem::kQueryWanStatus), ++sequence_)));
  }
  modem::Pvc1Record QueryPvc1() {
    const Bytes reply = Ask(RequestBytes(modem::QueryRequest(modem::kQueryPvc1), ++sequence_));
    const auto record = modem::DecodePvc1Record(reply.data() + 10, reply.size() - 10);
    EXPECT_TRUE(record.has_value());
    return record.value_or(modem::Pvc1Record{});
  }

  ModemFirmware firmware_;
  std::vector<std::string> log_;
  int64_t now_ = 1000;
  uint16_t sequence_ = 0;
};

ModemSettings PppoeSettings(const std::string& user, const std::string& password) {
  ModemSettings settings;
  settings.connectionType = modem::kConnectionPppoe;
  settings.vpi = 1;
  settings.vci = 32;
  settings.pppUserName = user;
  settings.pppPassword = password;
  return settings;
}

TEST(ModemSimFirmware, DiscoveryTellsModelPasswordAndAddress) {
  FirmwareSettings settings;
  settings.model = "QR-9";
  settings.password = "pw1";
  settings.ipAddress = "198.51.100.9";
  settings.mac = {0x02, 1, 2, 3, 4, 5};
  Firmware sim(settings);
  const Bytes reply = sim.Ask(DiscoverBytes(77));
  ASSERT_FALSE(reply.empty());
  EXPECT_EQ(ReplyCode(reply), modem::MSG_DISCOVER_REPLY);
  EXPECT_EQ(ReplySequence(reply), 77);
  EXPECT_EQ(ReplyMac(reply), settings.mac);
  const auto discovered = modem::ReadDiscoveryReply(ReplyTokens(reply));
  ASSERT_TRUE(discovered.has_value());
  EXPECT_EQ(discovered->model, "QR-9");
  EXPECT_EQ(discovered->password, "pw1");
  EXPECT_EQ(discovered->ipAddress, "198.51.100.9");
}

TEST(ModemSimFirmware, IgnoresRequestsForOtherModemsAndJunk) {
  Firmware sim;
  const modem::MacAddress other = {0x02, 0, 0, 0, 0, 9};
  EXPECT_TRUE(sim.Send(RequestBytes(modem::QueryRequest(modem::kQueryLineRate), 1, other)).empty());
  EXPECT_TRUE(
      sim.Send(RequestBytes(modem::QueryRequest(modem::kQueryLineRate), 1, modem::kDiscoveryMac))
          .empty());
  EXPECT_TRUE(sim.Send(Bytes(9, 0xff)).empty());
  EXPECT_TRUE(sim.Send(RequestBytes(modem::QueryRequest("<bogus>"), 2)).empty());
  EXPECT_TRUE(sim.Send(RequestBytes(modem::CommandRequest("format"), 3)).empty());
  // Every datagram is logged, answered or not.
  EXPECT_GE(sim.log_.size(), 5u);
}

TEST(ModemSimFirmware, LineRateFollowsTheLine) {
  Firmware sim;
  const auto lineUp = [&] {
    return modem::ReadLineRateReply(
        ReplyTokens(sim.Ask(RequestBytes(modem::QueryRequest(modem::kQueryLineRate), 5))));
  };
  EXPECT_EQ(lineUp(), true);
  sim.firmware_.SetLineUp(false);
  EXPECT_EQ(lineUp(), false);
  EXPECT_EQ(sim.Wan(), kWanNoLine);
  sim.firmware_.SetLineUp(true);
  EXPECT_EQ(lineUp(), true);
}

TEST(ModemSimFirmware, SetIsPendingUntilSaveThenSilentThenBack) {
  FirmwareSettings settings;
  settings.rebootMs = 2000;
  Firmware sim(settings);
  const Bytes setReply = sim.Ask(RequestBytes(modem::SetPvc1Request(PppoeSettings("u", "p")), 10));
  EXPECT_EQ(ReplyCode(setReply), modem::MSG_SET_REPLY);
  EXPECT_EQ(sim.firmware_.pending().pvc1.pppUsername, "u");
  EXPECT_EQ(sim.firmware_.saved().pvc1.pppUsername, "");
  EXPECT_EQ(sim.QueryPvc1().pppUsername, "");  // queries answer from the saved configuration

  const Bytes saveReply =
      sim.Ask(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 11));
  EXPECT_EQ(ReplyCode(saveReply), modem::MSG_COMMAND_REPLY);
  EXPECT_EQ(ReplySequence(saveReply), 11);
  EXPECT_EQ(sim.firmware_.saved().pvc1.pppUsername, "u");
  EXPECT_EQ(sim.firmware_.counters().saveReboots, 1u);
  EXPECT_EQ(sim.firmware_.savedGeneration(), 1u);

  sim.now_ += 1999;
  EXPECT_TRUE(sim.Send(DiscoverBytes(12)).empty());
  EXPECT_TRUE(sim.Send(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 13)).empty());
  EXPECT_EQ(sim.firmware_.counters().saveReboots, 1u);
  sim.now_ += 1;
  EXPECT_FALSE(sim.Send(DiscoverBytes(14)).empty());
  const modem::Pvc1Record saved = sim.QueryPvc1();
  EXPECT_EQ(saved.pppUsername, "u");
  EXPECT_EQ(saved.pppPassword, "p");
  EXPECT_EQ(saved.vci, 32u);
}

TEST(ModemSimFirmware, WirelessSetAndShortRecords) {
  Firmware sim;
  ModemSettings settings;
  settings.wlSecurity = "PSK2";
  settings.wlSsid = "net";
  settings.wlKey = "passphrase";
  settings.wlChannel = 3;
  EXPECT_FALSE(sim.Send(RequestBytes(*modem::SetWirelessRequest(settings), 1)).empty());
  EXPECT_EQ(sim.firmware_.pending().wireless.wlWpaPsk, "passphrase");
  EXPECT_EQ(sim.firmware_.pending().wireless.wlAuthMode, "psk2");
  EXPECT_EQ(sim.firmware_.counters().wirelessSets, 1u);

  Bytes shortSet = RequestBytes(modem::SetPvc1Request(PppoeSettings("x", "y")), 2);
  shortSet.resize(10 + 300);
  EXPECT_TRUE(sim.Send(shortSet).empty());
  EXPECT_EQ(sim.firmware_.pending().pvc1.pppUsername, "");
  EXPECT_EQ(sim.firmware_.counters().pvc1Sets, 0u);
}

TEST(ModemSimFirmware, FactoryResetRestoresFactoryConfiguration) {
  FirmwareSettings settings;
  settings.rebootMs = 10;
  Firmware sim(settings);
  sim.Send(RequestBytes(modem::SetPvc1Request(PppoeSettings("u", "p")), 1));
  sim.Send(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 2));
  sim.now_ += 10;
  sim.Send(RequestBytes(modem::SetPvc1Request(PppoeSettings("v", "q")), 3));
  const Bytes reply = sim.Ask(RequestBytes(modem::CommandRequest(modem::kCommandRebootDefault), 4));
  EXPECT_EQ(ReplyCode(reply), modem::MSG_COMMAND_REPLY);
  EXPECT_EQ(sim.firmware_.saved(), FactoryConfig());
  EXPECT_EQ(sim.firmware_.pending(), FactoryConfig());
  EXPECT_EQ(sim.firmware_.counters().factoryResets, 1u);
  EXPECT_TRUE(sim.firmware_.Silent(sim.now_));
  sim.now_ += 10;
  EXPECT_EQ(sim.QueryPvc1(), FactoryConfig().pvc1);
}

TEST(ModemSimFirmware, WanComesUpAfterPollsAndTime) {
  FirmwareSettings settings;
  settings.wanUpAfterPolls = 2;
  settings.wanUpAfterMs = 500;
  Firmware sim(settings);
  sim.now_ = 0;
  EXPECT_EQ(sim.Wan(), kWanConnecting);
  EXPECT_EQ(sim.Wan(), kWanConnecting);
  EXPECT_EQ(sim.Wan(), kWanConnecting);  // polls done, time not yet
  sim.now_ = 500;
  EXPECT_EQ(sim.Wan(), kWanUp);
}

TEST(ModemSimFirmware, WanNeedsTheIspAccountAfterSaving) {
  FirmwareSettings settings;
  settings.ispUser = "alice";
  settings.ispPassword = "secret";
  settings.rebootMs = 0;
  settings.wanUpAfterPolls = 1;
  Firmware sim(settings);
  EXPECT_EQ(sim.Wan(), kWanConnecting);
  EXPECT_EQ(sim.Wan(), kWanAuthenticationFailed);
  sim.Send(RequestBytes(modem::SetPvc1Request(PppoeSettings("alice", "wrong")), 50));
  sim.Send(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 51));
  EXPECT_EQ(sim.Wan(), kWanConnecting);  // the poll count starts again after a reboot
  EXPECT_EQ(sim.Wan(), kWanAuthenticationFailed);
  sim.Send(RequestBytes(modem::SetPvc1Request(PppoeSettings("alice", "secret")), 52));
  EXPECT_EQ(sim.Wan(), kWanAuthenticationFailed);  // pending is not enough
  sim.Send(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 53));
  EXPECT_EQ(sim.Wan(), kWanConnecting);
  EXPECT_EQ(sim.Wan(), kWanUp);
}

// --- faults
// -----------------------------------------------------------------------------------------

TEST(ModemSimFaults, EachFaultAtCertainty) {
  const Bytes wan = RequestBytes(modem::QueryRequest(modem::kQueryWanStatus), 40);
  const Bytes pvc = RequestBytes(modem::QueryRequest(modem::kQueryPvc1), 41);
  {
    FaultSettings faults;
    faults.drop = 1;
    Firmware sim({}, faults);
    EXPECT_TRUE(sim.Send(wan).empty());
  }
  {
    FaultSettings faults;
    faults.duplicates = 2;
    faults.delayMs = 250;
    Firmware sim({}, faults);
    const std::vector<OutgoingReply> replies = sim.Send(wan);
    ASSERT_EQ(replies.size(), 3u);
    for (const OutgoingReply& reply : replies) {
      EXPECT_EQ(reply.dueMs, sim.now_ + 250);
      EXPECT_EQ(WanStatusOf(reply.bytes), kWanUp);
    }
  }
  {
    FaultSettings faults;
    faults.staleSequence = 1;
    Firmware sim({}, faults);
    EXPECT_EQ(ReplySequence(sim.Ask(wan)), 39);
    EXPECT_EQ(ReplySequence(sim.Ask(RequestBytes(modem::QueryRequest(modem::kQueryWanStatus), 0))),
              65535);
  }
  {
    FaultSettings faults;
    faults.foreignMac = 1;
    Firmware sim({}, faults);
    EXPECT_EQ(ReplyMac(sim.Ask(wan)), faults.foreignMacAddress);
  }
  {
    FaultSettings faults;
    faults.malformedTokens = 1;
    Firmware sim({}, faults);
    EXPECT_EQ(ReplyTokens(sim.Ask(DiscoverBytes(1))).count, 11u);
    EXPECT_EQ(ReplyTokens(sim.Ask(wan)).count, 1u);
    EXPECT_EQ(
        ReplyTokens(sim.Ask(RequestBytes(modem::QueryRequest(modem::kQueryLineRate), 2))).count,
        5u);
    EXPECT_EQ(sim.Ask(pvc).size(), 10 + modem::kPvc1RecordSize);  // records are untouched
  }
  {
    FaultSettings faults;
    faults.truncateRecords = 1;
    Firmware sim({}, faults);
    const Bytes reply = sim.Ask(pvc);
    EXPECT_EQ(reply.size(), 10 + modem::kPvc1RecordSize / 2);
    EXPECT_FALSE(modem::DecodePvc1Record(reply.data() + 10, reply.size() - 10).has_value());
    EXPECT_EQ(sim.Ask(RequestBytes(modem::QueryRequest(modem::kQueryWireless), 3)).size(),
              10 + modem::kWirelessRecordSize / 2);
    EXPECT_EQ(WanStatusOf(sim.Ask(wan)), kWanUp);  // token replies are untouched
  }
}

TEST(ModemSimFaults, DropFirstLosesRequestsBeforeTheyAct) {
  FaultSettings faults;
  faults.dropFirst = 2;
  Firmware sim({}, faults);
  EXPECT_TRUE(sim.Send(RequestBytes(modem::SetPvc1Request(PppoeSettings("a", "b")), 1)).empty());
  EXPECT_TRUE(sim.Send(DiscoverBytes(2)).empty());
  EXPECT_EQ(sim.firmware_.counters().pvc1Sets, 0u);
  EXPECT_FALSE(sim.Send(DiscoverBytes(3)).empty());
}

TEST(ModemSimFaults, NeverBackAfterReboot) {
  FirmwareSettings settings;
  settings.rebootMs = 5;
  FaultSettings faults;
  faults.noReturnAfterReboot = true;
  Firmware sim(settings, faults);
  EXPECT_FALSE(sim.Send(RequestBytes(modem::CommandRequest(modem::kCommandSaveReboot), 1)).empty());
  sim.now_ += 1000000;
  EXPECT_TRUE(sim.Send(DiscoverBytes(2)).empty());
}

TEST(ModemSimFaults, DuplicatesDrawTheirOwnDamage) {
  FaultSettings faults;
  faults.duplicates = 3;
  faults.staleSequence = 0.5;
  Firmware sim({}, faults);
  size_t stale = 0, fresh = 0;
  for (uint16_t i = 100; i < 110; ++i) {
    const std::vector<OutgoingReply> copies = sim.Send(DiscoverBytes(i));
    ASSERT_EQ(copies.size(), 4u);
    for (const OutgoingReply& copy : copies) ++(ReplySequence(copy.bytes) == i ? fresh : stale);
  }
  EXPECT_GT(stale, 0u);
  EXPECT_GT(fresh, 0u);
}

std::vector<bool> DropPattern(uint64_t seed) {
  FaultSettings faults;
  faults.drop = 0.5;
  faults.seed = seed;
  Firmware sim({}, faults);
  std::vector<bool> answered;
  for (uint16_t i = 1; i <= 200; ++i) answered.push_back(!sim.Send(DiscoverBytes(i)).empty());
  return answered;
}

TEST(ModemSimFaults, DropIsRandomButRepeatable) {
  const std::vector<bool> first = DropPattern(7);
  EXPECT_EQ(DropPattern(7), first);
  EXPECT_NE(DropPattern(8), first);
  const auto answered = std::count(first.begin(), first.end(), true);
  EXPECT_GT(answered, 60);
  EXPECT_LT(answered, 140);
}

}  // namespace
}  // namespace quillon::modemsim::test
