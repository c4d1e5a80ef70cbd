// The link check pages against modemsim processes on loopback addresses, in virtual time. The
// adapter list is injected and the broadcast stands in as 127.0.0.1: nothing leaves the host.
#include <string>
#include <vector>

#include "app_pages/link_fixture.h"

namespace {

using namespace app;

TEST_F(LinkChecksTest, EthernetCheckSucceedsOnItsFirstTick) {
  StartSim({}, "127.0.0.1");
  const auto start = Now();
  NextFrom(PAGE_ETHERNET_LINK);
  EXPECT_EQ(processState().ethernetLinkState, kLinkChecking);
  ASSERT_TRUE(RunUntilPage(PAGE_ADSL_LINK));
  EXPECT_EQ(Now() - start, 2000);
  EXPECT_EQ(processState().timerTicks, 1);
  EXPECT_EQ(processState().ethernetLinkState, kLinkUp);
  EXPECT_EQ(processState().modemAddress, "198.51.100.1");
  EXPECT_FALSE(c().tmrEthernetCheck.enabled());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Requests(0, kDiscovery, 1), 1);
}

TEST_F(LinkChecksTest, EthernetCheckGivesUpAtItsTwentyFirstTickAndLocksTheButtons) {
  StartSim({"--drop-first", "1000000"}, "127.0.0.1");
  // The run itself outlasts the page's patience.
  main().systemConfig.setup.DiscoverTimeout = 60;
  const auto start = Now();
  NextFrom(PAGE_ETHERNET_LINK);
  backend().RunFor(100);
  // While the check runs the hover offers nothing to click.
  auto& next = c().imgNextBT;
  backend().MoveMouse(main(), next.left() + 2, next.top() + 2);
  EXPECT_FALSE(next.visible());
  EXPECT_EQ(backend().cursor(), ui::Cursor::HourGlass);

  ASSERT_TRUE(
      backend().RunUntil([] { return processState().ethernetLinkState == kLinkFailed; }, 120000));
  EXPECT_EQ(Now() - start, 42000);
  EXPECT_EQ(processState().timerTicks, 21);
  EXPECT_EQ(messages, std::vector<int>{8});
  EXPECT_EQ(main().currentPage, PAGE_ETHERNET_LINK);
  EXPECT_FALSE(c().tmrEthernetCheck.enabled());
  // The abandoned run cannot succeed later.
  EXPECT_EQ(Engine().sessionResult, quillon::modem::kSessionFailed);
  backend().MoveMouse(main(), next.left() + 2, next.top() + 2);
  EXPECT_TRUE(next.visible());
}

TEST_F(LinkChecksTest, EthernetCheckEndsWithTheFailedRun) {
  StartSim({"--drop-first", "1000000"}, "127.0.0.1");
  const auto start = Now();
  NextFrom(PAGE_ETHERNET_LINK);
  ASSERT_TRUE(
      backend().RunUntil([] { return processState().ethernetLinkState == kLinkFailed; }, 120000));
  // Three discoveries 3 s apart fail at 9 s; the next tick, at 10 s, reports it.
  EXPECT_EQ(Now() - start, 10000);
  EXPECT_EQ(messages, std::vector<int>{8});
  EXPECT_EQ(Requests(0, kDiscovery, 3), 3);
}

TEST_F(LinkChecksTest, AdslCheckWithTheLineDownFailsWithMessage6) {
  StartSim({"--line-down"}, "127.0.0.1");
  NextFrom(PAGE_ADSL_LINK);
  ASSERT_TRUE(
      backend().RunUntil([] { return processState().adslLinkState == kLinkFailed; }, 120000));
  EXPECT_EQ(messages, std::vector<int>{6});
  EXPECT_EQ(main().currentPage, PAGE_ADSL_LINK);
  EXPECT_GE(Requests(0, "text=<lineRate>", 2), 2);
  EXPECT_EQ(processState().modemAddress, "");
}

TEST_F(LinkChecksTest, AdslCheckWithTheLineUpMovesOnAndBackRunsTheChecksAgain) {
  StartSim({}, "127.0.0.1");
  NextFrom(PAGE_ADSL_LINK);
  ASSERT_TRUE(RunUntilPage(PAGE_CHECK_HW_LINK, 10000));
  EXPECT_EQ(processState().adslLinkState, kLinkUp);
  EXPECT_EQ(processState().modemAddress, "");
  ASSERT_TRUE(RunUntilPage(PAGE_ISP_SELECTION));

  // Back to the Ethernet page and Next again: the Ethernet check runs once more.
  NextFrom(PAGE_ETHERNET_LINK);
  ASSERT_TRUE(RunUntilPage(PAGE_ADSL_LINK));
  const int discoveries = Requests(0, kDiscovery);
  main().imgBackBTClick();
  EXPECT_EQ(main().currentPage, PAGE_ETHERNET_LINK);
  EXPECT_EQ(processState().ethernetLinkState, kLinkNotTested);
  messages.clear();
  ClickNext();
  EXPECT_EQ(processState().ethernetLinkState, kLinkChecking);
  ASSERT_TRUE(RunUntilPage(PAGE_ADSL_LINK));
  EXPECT_EQ(Requests(0, kDiscovery, discoveries + 1), discoveries + 1);
}

TEST_F(LinkChecksTest, ModelCheckComparesTheModelPartIgnoringCase) {
  struct Row {
    const char* modules;
    const char* model;
    bool matches;
  };
  const Row rows[] = {
      {"QR-5120G:ADSL,ROUTER,WAP", "QR-5120G", true},
      {"QR-5120G:ADSL", "qr-5120g", true},
      {"qr-5120g", "QR-5120G", true},
      {"QR-5120G", "QR-5120GX", false},
      {"QR-5120G:ADSL", "QR-5120G:ADSL", false},
      {":WAP", "", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.modules);
    main().systemConfig.setup.AppliedModules = row.modules;
    Engine().discoveredModel = row.model;
    EXPECT_EQ(links().modelMatches(), row.matches);
  }
}

}  // namespace
