// The software link check's failure paths against modemsim: each ends with its message and a
// step back, with both timers off; and a failed check can be run again.
#include <gtest/gtest.h>

#include <cstdint>

#include <ostream>
#include <string>
#include <vector>

#include "apply_e2e.h"
#include "modem/protocol/control_header.h"
#include "modem/protocol/modem_settings.h"

namespace {

using namespace app;
using namespace quillon::modem;
using test_support::CodeOf;
using test_support::PayloadTextOf;

class ApplyFailures : public ApplyE2ETest {
 protected:
  void Given(const std::string& profile = "GE") {
    SetProfile(profile, 0);
    Start();
  }
  // A PPPoE account with WPA on the radio, as the pages leave it.
  void Entries(bool wirelessModule = true, bool radioOn = true) {
    auto& f = main();
    f.wirelessModule = wirelessModule;
    f.radioEnabled = radioOn;
    f.pppSelected = true;
    f.staticIpSelected = false;
    auto& s = Engine().modemSettings;
    s.connectionType = kConnectionPppoe;
    s.vpi = 1;
    s.vci = 32;
    s.pppUserName = "alice@isp.example";
    s.pppPassword = "s3cret pass";
    s.wlSsid = "Garden Net";
    s.wlChannel = 6;
    s.wlSecurity = kSecurityPsk;
    s.wlKey = "correct horse battery";
    s.wlKeyNumber = 1;
    Engine().queryLineRateAfterDiscovery = true;
    Engine().testDnsAfterWanUp = true;
    f.values.wirelessSsid = "Garden Net";
    f.values.wirelessChannel = "6";
    f.values.wirelessSecurity = "WPA PSK";
    f.values.wirelessKey = "correct horse battery";
  }
  void ExpectSteppedBackWith(int message, int page = PAGE_WIRELESS_SETTING) {
    EXPECT_EQ(popMessages, std::vector<std::string>{Message(message)});
    EXPECT_EQ(main().currentPage, page);
    EXPECT_FALSE(main().controls().tmrCheckSWLinkThread.enabled());
    EXPECT_FALSE(main().controls().tmrCheckSWLinkTimer.enabled());
  }
  int Requests(uint16_t code, const std::string& payloadStart) {
    int n = 0;
    for (const auto& request : peer->requests())
      if (CodeOf(request) == code && PayloadTextOf(request).rfind(payloadStart, 0) == 0) ++n;
    return n;
  }
};

TEST_F(ApplyFailures, DiscoveryLostShowsMessage5) {
  Given();
  StartSim({"--drop", "1"});
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(5);
  EXPECT_EQ(Requests(MSG_DISCOVER, ""), 3);
  EXPECT_EQ(StopSim().at("counters.pvc1Sets"), "0");
}

TEST_F(ApplyFailures, LineDownShowsMessage6AndNothingIsSet) {
  Given();
  StartSim({"--line-down"});
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(6);
  EXPECT_EQ(Requests(MSG_SET, ""), 0);
  EXPECT_EQ(StopSim().at("counters.pvc1Sets"), "0");
}

TEST_F(ApplyFailures, SetWanNotAcknowledgedShowsMessage7) {
  Given();
  StartSim();
  peer->dropRequest = [](const auto& r) {
    return CodeOf(r) == MSG_SET && PayloadTextOf(r).rfind("<pvc1>", 0) == 0;
  };
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(7);
  EXPECT_EQ(Requests(MSG_SET, "<pvc1>"), 7);  // the first request and six resends
  EXPECT_EQ(Requests(MSG_SET, "<wireless>"), 0);
  const auto state = StopSim();
  EXPECT_EQ(state.at("counters.saveReboots"), "0");
  EXPECT_EQ(state.at("saved.pvc1.vpi"), "8");
}

TEST_F(ApplyFailures, SetWirelessNotAcknowledgedShowsMessage7AndNothingIsSaved) {
  Given();
  StartSim();
  peer->dropRequest = [](const auto& r) {
    return CodeOf(r) == MSG_SET && PayloadTextOf(r).rfind("<wireless>", 0) == 0;
  };
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(7);
  const auto state = StopSim();
  EXPECT_EQ(state.at("counters.pvc1Sets"), "1");
  EXPECT_EQ(state.at("counters.saveReboots"), "0");
  EXPECT_EQ(state.at("saved.pvc1.vpi"), "8");
  EXPECT_EQ(state.at("pending.pvc1.vpi"), "1");
}

TEST_F(ApplyFailures, SaveNotAcknowledgedShowsMessage5) {
  Given();
  StartSim();
  peer->dropReply = [](const auto& r) { return CodeOf(r) == MSG_COMMAND_REPLY; };
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(5);
  EXPECT_EQ(Requests(MSG_QUERY, "<wanStatus>"), 0);
}

TEST_F(ApplyFailures, AWanThatNeverComesUpIsPolledIn76RunsThenMessage7) {
  Given();
  // The ISP refuses the account, so the WAN reports 4 for good.
  StartSim({"--isp-user", "carol"});
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(7);
  EXPECT_EQ(main().wanStatusTries, 76);
  EXPECT_GE(Requests(MSG_QUERY, "<wanStatus>"), 76);
  EXPECT_TRUE(resolver->Hosts().empty());
  // The settings were saved all the same: only the WAN did not come up.
  EXPECT_EQ(StopSim().at("saved.pvc1.pppUsername"), "alice@isp.example");
}

TEST_F(ApplyFailures, AWanThatComesUpLateStillSucceeds) {
  Given();
  StartSim({"--wan-up-polls", "45"});
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  EXPECT_TRUE(popMessages.empty());
  EXPECT_EQ(main().currentPage, PAGE_INSTALL_COMPLETE_ALONE);
  EXPECT_GT(main().wanStatusTries, 1);
  EXPECT_GE(Requests(MSG_QUERY, "<wanStatus>"), 46);
}

// A WAN up only after the 60th watch tick: a name lookup slower than one tick still succeeds.
TEST_F(ApplyFailures, ALateWanGivesTheNameTestItsFullTime) {
  Given();
  StartSim({"--wan-up-polls", "150"});
  Entries();
  resolver->clock = &backend().clock();
  resolver->delayMs = 10000;
  ASSERT_TRUE(RunSoftwareLinkPage());
  EXPECT_TRUE(popMessages.empty()) << popMessages.front();
  EXPECT_EQ(main().currentPage, PAGE_INSTALL_COMPLETE_ALONE);
  EXPECT_GT(main().workerTicks, 60);
}

TEST_F(ApplyFailures, AStepStillRunningAfter60WatchTicksIsDeclaredFailed) {
  Given();
  StartSim({"--drop", "1"});
  Entries();
  // The engine alone would wait three times 100 s for the discovery.
  main().systemConfig.setup.DiscoverTimeout = 100;
  const std::int64_t start = backend().virtualClock().NowMs();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(5);
  // Tick 62 of the 2-second watch is the first that sees more than 60 earlier ones.
  EXPECT_EQ(backend().virtualClock().NowMs() - start, 62 * 2000);
  EXPECT_EQ(Requests(MSG_DISCOVER, ""), 2);
}

TEST_F(ApplyFailures, AFailedNameTestShowsMessage7AfterTryingEveryTestHost) {
  Given();
  StartSim();
  resolver->succeed = false;
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(7);
  const auto hosts = resolver->Hosts();
  ASSERT_EQ(hosts.size(), 31u);
  EXPECT_EQ(hosts[0], hosts[4]);
  EXPECT_NE(hosts[0], hosts[1]);
}

struct BackRow {
  const char* name;
  const char* profile;
  bool wirelessModule;
  bool radioOn;
  int back;
};
void PrintTo(const BackRow& r, std::ostream* os) {
  *os << r.name;
}

class StepBack : public ApplyFailures, public ::testing::WithParamInterface<BackRow> {};

TEST_P(StepBack, FollowsTheWayThere) {
  const BackRow& row = GetParam();
  Given(row.profile);
  StartSim({"--drop", "1"});
  Entries(row.wirelessModule, row.radioOn);
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(5, row.back);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StepBack,
    ::testing::Values(BackRow{"RadioOn", "GE", true, true, PAGE_WIRELESS_SETTING},
                      BackRow{"RadioOnEU", "EU", true, true, PAGE_WIRELESS_REMIND_SSID},
                      BackRow{"RadioOff", "GE", true, false, PAGE_WRADIO_SETTING},
                      BackRow{"NoRadioPpp", "GE", false, true, PAGE_PPP_SETTING}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ApplyFailures, AfterAFailureTheNextLayoutStartsAnewAndSucceeds) {
  Given();
  StartSim({"--line-down"});
  Entries();
  ASSERT_TRUE(RunSoftwareLinkPage());
  ExpectSteppedBackWith(6);
  ASSERT_TRUE(sim_->Send(quillon::modemsim::SimSignal::kLineUp));
  popMessages.clear();
  ASSERT_TRUE(RunSoftwareLinkPage());
  EXPECT_TRUE(popMessages.empty());
  EXPECT_EQ(main().currentPage, PAGE_INSTALL_COMPLETE_ALONE);
  EXPECT_EQ(StopSim().at("saved.pvc1.pppUsername"), "alice@isp.example");
}

}  // namespace
