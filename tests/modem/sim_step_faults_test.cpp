// The simulator's faults that act on the order of replies and at a given step of a run:
// reordering, the LAN cable pulled and the DSL line dropping after a number of requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "firmware.h"
#include "sim_options.h"
#include "sim_test_support.h"

namespace quillon::modemsim::test {
namespace {

class StepSim {
 public:
  explicit StepSim(FaultSettings faults)
      : firmware_({}, faults, FactoryConfig(), FactoryConfig(), 0, [](const std::string&) {}) {}

  std::vector<OutgoingReply> Send(const Bytes& request) {
    return firmware_.Handle(request.data(), request.size(), now_);
  }
  // The sequence numbers of what leaves for one request, in sending order.
  std::vector<uint16_t> SequencesFor(const Bytes& request) {
    std::vector<uint16_t> out;
    for (const OutgoingReply& reply : Send(request)) out.push_back(ReplySequence(reply.bytes));
    return out;
  }
  std::optional<bool> LineUp(uint16_t sequence) {
    const std::vector<OutgoingReply> replies =
        Send(RequestBytes(modem::QueryRequest(modem::kQueryLineRate), sequence));
    if (replies.empty()) return std::nullopt;
    return modem::ReadLineRateReply(ReplyTokens(replies.front().bytes));
  }

  ModemFirmware firmware_;
  int64_t now_ = 1000;
};

Bytes WanQuery(uint16_t sequence) {
  return RequestBytes(modem::QueryRequest(modem::kQueryWanStatus), sequence);
}

TEST(ModemSimReorder, AtCertaintyEveryReplyLeavesOneRequestLate) {
  FaultSettings faults;
  faults.reorder = 1;
  StepSim sim(faults);
  EXPECT_TRUE(sim.SequencesFor(WanQuery(1)).empty());
  EXPECT_EQ(sim.SequencesFor(WanQuery(2)), std::vector<uint16_t>{1});
  EXPECT_EQ(sim.SequencesFor(WanQuery(3)), std::vector<uint16_t>{2});
}

// Each reply leaves exactly once, some after a newer one, and the held one always right behind
// the reply that overtook it, due no earlier.
std::vector<uint16_t> ReorderedStream(uint64_t seed) {
  FaultSettings faults;
  faults.reorder = 0.3;
  faults.seed = seed;
  faults.delayMs = 40;
  StepSim sim(faults);
  std::vector<uint16_t> order;
  for (uint16_t i = 1; i <= 300; ++i) {
    sim.now_ += 10;
    const std::vector<OutgoingReply> out = sim.Send(WanQuery(i));
    for (const OutgoingReply& reply : out) {
      EXPECT_EQ(reply.dueMs, sim.now_ + 40);
      order.push_back(ReplySequence(reply.bytes));
    }
    if (out.size() == 2) {
      EXPECT_LT(ReplySequence(out[1].bytes), ReplySequence(out[0].bytes));
    }
  }
  return order;
}

TEST(ModemSimReorder, NothingLostNothingTwiceSomeOutOfOrderRepeatably) {
  const std::vector<uint16_t> order = ReorderedStream(5);
  std::vector<uint16_t> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a reply twice";
  // Only the last one may still be held back.
  EXPECT_GE(sorted.size(), 299u);
  EXPECT_EQ(sorted.front(), 1);
  int late = 0;
  for (size_t i = 1; i < order.size(); ++i) late += order[i] < order[i - 1];
  EXPECT_GT(late, 30);
  EXPECT_LT(late, 150);
  EXPECT_EQ(ReorderedStream(5), order);
  EXPECT_NE(ReorderedStream(6), order);
}

TEST(ModemSimFaultLog, EveryDamagedOrLateCopyNamesItsFaults) {
  FaultSettings faults;
  faults.staleSequence = 1;
  faults.duplicates = 1;
  faults.truncateRecords = 1;
  StepSim sim(faults);
  const std::vector<OutgoingReply> copies =
      sim.Send(RequestBytes(modem::QueryRequest(modem::kQueryPvc1), 9));
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[0].faults, " stale-seq truncated");
  EXPECT_EQ(copies[1].faults, " stale-seq truncated duplicate");

  FaultSettings late;
  late.reorder = 1;
  StepSim held(late);
  EXPECT_TRUE(held.Send(WanQuery(1)).empty());
  const std::vector<OutgoingReply> released = held.Send(WanQuery(2));
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released[0].faults, " reordered");
  EXPECT_TRUE(StepSim({}).Send(WanQuery(3)).front().faults.empty());
}

TEST(ModemSimReorder, DuplicatesTravelTogether) {
  FaultSettings faults;
  faults.reorder = 1;
  faults.duplicates = 2;
  StepSim sim(faults);
  EXPECT_TRUE(sim.SequencesFor(WanQuery(7)).empty());
  EXPECT_EQ(sim.SequencesFor(WanQuery(8)), (std::vector<uint16_t>{7, 7, 7}));
}

struct UnplugRow {
  uint32_t after;
  uint32_t lostFor;
  std::vector<bool> answered;  // requests 1, 2, ...
};

TEST(ModemSimUnplug, RequestsInsideTheWindowAreLostBeforeTheyAct) {
  const UnplugRow rows[] = {
      {2, 3, {true, true, false, false, false, true, true}},
      {1, 0, {true, false, false, false, false, false}},
      {0, 5, {true, true, true}},
  };
  for (const UnplugRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "after " << row.after << " for " << row.lostFor);
    FaultSettings faults;
    faults.unplugAfter = row.after;
    faults.unplugFor = row.lostFor;
    StepSim sim(faults);
    for (size_t i = 0; i < row.answered.size(); ++i) {
      const auto sequence = static_cast<uint16_t>(i + 1);
      modem::ModemSettings settings;
      settings.connectionType = modem::kConnectionPppoe;
      settings.pppUserName = "user" + std::to_string(i);
      const uint32_t setsBefore = sim.firmware_.counters().pvc1Sets;
      const bool answered =
          !sim.Send(RequestBytes(modem::SetPvc1Request(settings), sequence)).empty();
      EXPECT_EQ(answered, row.answered[i]) << "request " << sequence;
      EXPECT_EQ(sim.firmware_.counters().pvc1Sets - setsBefore, answered ? 1u : 0u);
    }
  }
}

TEST(ModemSimUnplug, WorksAfterDropFirstOnTheSameCount) {
  FaultSettings faults;
  faults.dropFirst = 1;
  faults.unplugAfter = 2;
  faults.unplugFor = 1;
  StepSim sim(faults);
  std::vector<bool> answered;
  for (uint16_t i = 1; i <= 4; ++i) answered.push_back(!sim.Send(DiscoverBytes(i)).empty());
  EXPECT_EQ(answered, (std::vector<bool>{false, true, false, true}));
}

TEST(ModemSimLineDrop, TheLineFollowsTheRequestCount) {
  FaultSettings faults;
  faults.lineDropAfter = 1;
  faults.lineDownFor = 2;
  StepSim sim(faults);
  EXPECT_FALSE(sim.Send(DiscoverBytes(1)).empty());
  EXPECT_EQ(sim.LineUp(2), false);
  EXPECT_EQ(WanStatusOf(sim.Send(WanQuery(3)).front().bytes), kWanNoLine);
  EXPECT_EQ(sim.LineUp(4), true);
  EXPECT_EQ(WanStatusOf(sim.Send(WanQuery(5)).front().bytes), kWanUp);
  EXPECT_TRUE(sim.firmware_.lineUp());
}

TEST(ModemSimLineDrop, ADroppedLineWithoutReturnStaysDown) {
  FaultSettings faults;
  faults.lineDropAfter = 3;
  StepSim sim(faults);
  for (uint16_t i = 1; i <= 3; ++i) EXPECT_EQ(sim.LineUp(i), true) << i;
  for (uint16_t i = 4; i <= 40; ++i) EXPECT_EQ(sim.LineUp(i), false) << i;
}

TEST(ModemSimStepFaultOptions, ParseAndShowInTheHelp) {
  const ParsedOptions parsed =
      ParseSimOptions({"--reorder", "0.25", "--unplug-after", "3", "--unplug-for=4",
                       "--line-drop-after", "5", "--line-down-for", "6"});
  ASSERT_EQ(parsed.error, "");
  const FaultSettings& f = parsed.options.faults;
  EXPECT_EQ(f.reorder, 0.25);
  EXPECT_EQ(f.unplugAfter, 3u);
  EXPECT_EQ(f.unplugFor, 4u);
  EXPECT_EQ(f.lineDropAfter, 5u);
  EXPECT_EQ(f.lineDownFor, 6u);
  const FaultSettings defaults = ParseSimOptions({}).options.faults;
  EXPECT_EQ(defaults.reorder, 0);
  EXPECT_EQ(defaults.unplugAfter, 0u);
  EXPECT_EQ(defaults.lineDropAfter, 0u);
  for (const char* option :
       {"--reorder", "--unplug-after", "--unplug-for", "--line-drop-after", "--line-down-for"})
    EXPECT_NE(HelpText().find(option), std::string::npos) << option;
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--reorder", "1.5"},
                                             {"--unplug-after", "-1"},
                                             {"--line-down-for", "x"},
                                             {"--line-drop-after"}})
    EXPECT_NE(ParseSimOptions(bad).error, "") << bad[0];
}

}  // namespace
}  // namespace quillon::modemsim::test
