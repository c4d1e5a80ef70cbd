// The WAN status polls and the internet name test that follows them, with an injected resolver.
#include <gtest/gtest.h>

#include "engine_harness.h"

namespace quillon::modem::test {
namespace {

class EngineWanStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.backend.SetSocketGraceMs(20);
    rig.engine->targetMac = kMacA;
  }

  // The peer reports status `before` for the first `polls` queries, then `after`.
  void AnswerWanStatus(size_t polls, int before, int after) {
    peer.onRequest = [this, polls, before, after](const ScriptedPeer::Received& r) {
      const int status = peer.received().size() <= polls ? before : after;
      peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), WanStatusText(status)));
    };
  }

  EngineRig rig;
  ScriptedPeer peer{*rig.app};
};

TEST_F(EngineWanStatus, PollsAtMostTwentyOneTimes) {
  AnswerWanStatus(1000, 2, 2);
  const int64_t t0 = rig.Now();
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_EQ(peer.received().size(), 21u);
  EXPECT_EQ(rig.Now() - t0, 21 * 3000);
  EXPECT_EQ(rig.engine->wanStatus, 2);
  EXPECT_EQ(rig.CountLog("STATE_QUERY_WANSTATUS timeout"), 1);
  EXPECT_TRUE(rig.resolver->Hosts().empty());
  EXPECT_EQ(rig.engine->Diagnosis.Lines().back(),
            "verdict: failed, the modem answered: the WAN never came up (last status 2)");
}

TEST_F(EngineWanStatus, WithoutTheNameTestTheRunEndsWhenTheWanIsUp) {
  rig.engine->testDnsAfterWanUp = false;
  AnswerWanStatus(3, 4, 6);
  const int64_t t0 = rig.Now();
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  EXPECT_EQ(rig.engine->state, STATE_WAN_UP);
  EXPECT_EQ(rig.engine->wanStatus, 6);
  EXPECT_EQ(peer.received().size(), 4u);
  EXPECT_EQ(rig.Now() - t0, 3 * 3000);
  EXPECT_EQ(rig.CountLog("WanStatus is Up"), 1);
  EXPECT_FALSE(rig.engine->Timer.enabled());
  EXPECT_TRUE(rig.resolver->Hosts().empty());
}

TEST_F(EngineWanStatus, ANameTestThatNeverResolvesGivesUpAfterThirtyOneLookups) {
  AnswerWanStatus(0, 6, 6);
  const size_t logStart = rig.LogSize();
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_EQ(rig.engine->state, STATE_WAN_UP);
  const std::vector<std::string> hosts = rig.resolver->Hosts();
  ASSERT_EQ(hosts.size(), 31u);
  std::vector<std::string> expectedLog = {"receive payload :<wanStatus=6>", "token:wanStatus",
                                          "token:6", "WanStatus is Up"};
  for (size_t i = 0; i < hosts.size(); ++i) {
    EXPECT_EQ(hosts[i], rig.engine->testHosts[i % 4]) << "lookup " << i;
    expectedLog.push_back("Ping " + rig.engine->testHosts[i % 4]);
    expectedLog.push_back("Unknown Host");
  }
  expectedLog.push_back("Ping Host Failed !!!");
  EXPECT_EQ(rig.LogSince(logStart), expectedLog);
  EXPECT_EQ(rig.engine->Diagnosis.Lines().back(),
            "verdict: failed, the modem answered: the WAN is up but the internet name test "
            "failed (31 lookups)");
  // The test hosts are four distinct public names.
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = i + 1; j < 4; ++j)
      EXPECT_NE(rig.engine->testHosts[i], rig.engine->testHosts[j]);
}

TEST_F(EngineWanStatus, TheFifthLookupUsesTheFirstHostAgain) {
  AnswerWanStatus(0, 6, 6);
  rig.resolver->SucceedFrom(4, 0xC6336401);
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  const std::vector<std::string> hosts = rig.resolver->Hosts();
  const auto& t = rig.engine->testHosts;
  EXPECT_EQ(hosts, (std::vector<std::string>{t[0], t[1], t[2], t[3], t[0]}));
  EXPECT_EQ(rig.CountLog("Unknown Host"), 4);
  EXPECT_EQ(rig.engine->Memo1.Lines().back(), "DNS Result: 198.51.100.1");
}

TEST_F(EngineWanStatus, ALookupOfAnAbandonedRunDoesNotEndTheNextOne) {
  AnswerWanStatus(0, 6, 6);
  rig.resolver->SucceedFrom(0, 0xC6336401);
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  // Stop as soon as the WAN is up, with the first lookup under way.
  ASSERT_TRUE(rig.backend.RunUntil([&] { return rig.engine->state == STATE_WAN_UP; }, 1000));
  ASSERT_EQ(rig.engine->sessionResult, kSessionRunning);
  rig.engine->sessionResult = kSessionFailed;
  peer.onRequest = nullptr;
  rig.Start(STATE_QUERY_WANSTATUS, peer.port());
  rig.backend.RunFor(1000);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  EXPECT_EQ(rig.CountLog("DNS Result: 198.51.100.1"), 0);
}

}  // namespace
}  // namespace quillon::modem::test
