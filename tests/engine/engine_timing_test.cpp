// Resends, intervals and time-outs of every state, against a silent peer, in virtual time.
#include <gtest/gtest.h>

#include "engine_harness.h"

namespace quillon::modem::test {
namespace {

struct TimingCase {
  int32_t state;
  int64_t intervalMs;
  int resends;
  std::vector<std::string> timeoutLines;
};

class EngineTiming : public ::testing::TestWithParam<TimingCase> {};

TEST_P(EngineTiming, ResendsWithFreshSequenceNumbersThenFails) {
  const TimingCase& c = GetParam();
  EngineRig rig;
  rig.backend.SetSocketGraceMs(20);
  ScriptedPeer peer(*rig.app);
  rig.engine->modemSettings.wlSecurity = kSecurityPsk;
  const size_t logStart = rig.LogSize();
  const int64_t t0 = rig.Now();
  rig.Start(c.state, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());

  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_EQ(rig.engine->state, c.state);
  EXPECT_EQ(rig.Now() - t0, (c.resends + 1) * c.intervalMs);
  EXPECT_EQ(rig.LogSince(logStart), c.timeoutLines);
  ASSERT_EQ(peer.received().size(), static_cast<size_t>(c.resends + 1));
  const Bytes& first = peer.received().front().bytes;
  for (size_t k = 0; k < peer.received().size(); ++k) {
    const ScriptedPeer::Received& r = peer.received()[k];
    EXPECT_EQ(r.atMs - t0, static_cast<int64_t>(k) * c.intervalMs) << "datagram " << k;
    EXPECT_EQ(SequenceOf(r.bytes), 1 + k) << "datagram " << k;
    Bytes restamped = r.bytes;
    restamped[8] = first[8];
    restamped[9] = first[9];
    EXPECT_EQ(restamped, first) << "a resend carries the same request";
  }
  // The timer stays stopped after the failure.
  rig.backend.RunFor(10 * c.intervalMs);
  EXPECT_EQ(peer.received().size(), static_cast<size_t>(c.resends + 1));
}

INSTANTIATE_TEST_SUITE_P(
    AllStates, EngineTiming,
    ::testing::Values(
        TimingCase{STATE_DISCOVERY, 3000, 2, {"STATE_DISCOVERY timeout"}},
        TimingCase{STATE_QUERY_LINERATE, 5000, 4, {"STATE_QUERY_LINERATE timeout"}},
        TimingCase{STATE_QUERY_PVC1, 3000, 3, {"STATE_QUERY_PVC1 timeout"}},
        TimingCase{STATE_SET_PVC1, 6000, 6, {"STATE_SET_PVC1 timeout"}},
        TimingCase{STATE_QUERY_WIRELESS, 3000, 3, {"STATE_QUERY_WIRELESS timeout"}},
        TimingCase{STATE_SET_WIRELESS, 6000, 6, {"STATE_SET_WIRELESS timeout"}},
        TimingCase{
            STATE_CMD_SAVEREBOOT, 5000, 1, {"STATE_CMD_SAVEREBOOT timeout", "Query WAN Status"}},
        TimingCase{STATE_QUERY_WANSTATUS, 3000, 20, {"STATE_QUERY_WANSTATUS timeout"}}),
    [](const ::testing::TestParamInfo<TimingCase>& param) {
      return "State" + std::to_string(param.param.state);
    });

TEST(EngineTimingRules, DiscoveryRequestIsTheBareDiscoverDatagram) {
  EngineRig rig;
  ScriptedPeer peer(*rig.app);
  rig.Start(STATE_DISCOVERY, peer.port());
  rig.backend.RunFor(1);
  ASSERT_EQ(peer.received().size(), 1u);
  const Bytes expected = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 1, 0,
                          0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0};
  EXPECT_EQ(peer.received()[0].bytes, expected);
}

TEST(EngineTimingRules, TimeoutsOfZeroOrLessCountAsOneSecond) {
  EngineRig rig;
  rig.setup = config::Setup_Param{};
  rig.setup.PPPSetTimeout = -4;
  ScriptedPeer peer(*rig.app);
  int64_t t0 = rig.Now();
  rig.Start(STATE_DISCOVERY, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.Now() - t0, 3 * 1000);
  t0 = rig.Now();
  rig.Start(STATE_SET_PVC1, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.Now() - t0, 7 * 1500);
}

TEST(EngineTimingRules, ConfiguredTimeoutsAreReadAtEachStart) {
  EngineRig rig;
  ScriptedPeer peer(*rig.app);
  rig.setup.DiscoverTimeout = 7;  // a language switch refills the settings in place
  const int64_t t0 = rig.Now();
  rig.Start(STATE_DISCOVERY, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.Now() - t0, 3 * 7000);
}

TEST(EngineTimingRules, SequenceNumbersRunOnAcrossRunsAndWrap) {
  EngineRig rig;
  ScriptedPeer peer(*rig.app);
  rig.engine->sequenceNumber = 65534;
  rig.Start(STATE_DISCOVERY, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  rig.Start(STATE_QUERY_PVC1, peer.port());
  rig.backend.RunFor(1);
  ASSERT_EQ(peer.received().size(), 4u);
  EXPECT_EQ(SequenceOf(peer.received()[0].bytes), 65535);
  EXPECT_EQ(SequenceOf(peer.received()[1].bytes), 0);
  EXPECT_EQ(SequenceOf(peer.received()[2].bytes), 1);
  EXPECT_EQ(SequenceOf(peer.received()[3].bytes), 2);
}

TEST(EngineTimingRules, StatesWithoutARequestSendNothingAndArmNoTimer) {
  for (const int32_t state : {STATE_WAN_UP, 0, 10, -1}) {
    EngineRig rig;
    ScriptedPeer peer(*rig.app);
    rig.engine->sessionResult = kSessionFailed;
    rig.Start(state, peer.port());
    EXPECT_EQ(rig.engine->sessionResult, kSessionRunning) << state;
    rig.backend.RunFor(120000);
    EXPECT_TRUE(peer.received().empty()) << state;
    EXPECT_FALSE(rig.engine->Timer.enabled()) << state;
    EXPECT_EQ(rig.engine->sessionResult, kSessionRunning) << state;
  }
}

TEST(EngineTimingRules, WirelessSetWithoutSecuritySendsAndResendsNothing) {
  EngineRig rig;
  rig.backend.SetSocketGraceMs(20);
  ScriptedPeer peer(*rig.app);
  // A set-PVC step first, whose kept request must not be resent by the wireless step.
  rig.engine->modemSettings.connectionType = kConnectionPppoe;
  rig.Start(STATE_SET_PVC1, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  const size_t before = peer.received().size();
  rig.engine->modemSettings.wlSecurity.clear();
  const int64_t t0 = rig.Now();
  rig.Start(STATE_SET_WIRELESS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(peer.received().size(), before);
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_EQ(rig.Now() - t0, 7 * 6000);
  EXPECT_EQ(rig.CountLog("STATE_SET_WIRELESS timeout"), 1);
}

}  // namespace
}  // namespace quillon::modem::test
