// The hardware link check page against modemsim: discovery with the gateway fallback, the
// model and line checks, and the pages prefilled from what the modem reports.
#include <string>
#include <vector>

#include "app_pages/link_fixture.h"

namespace {

using namespace app;
using quillon::modem::STATE_DISCOVERY;

constexpr std::uint32_t kLoopback2 = 0x7F000002;

class HardwareCheckTest : public LinkChecksTest {
 protected:
  // A configuration file the simulator starts from.
  std::string Config(const std::string& lines) {
    const auto path = cd_.root() / ("config" + std::to_string(configs_++) + ".txt");
    std::ofstream(path) << lines;
    return path.string();
  }
  void StartCheck() {
    messages.clear();
    ShowPage(PAGE_CHECK_HW_LINK);
  }
  // Both timers off and no worker left: the page is done with the check.
  void ExpectCheckOver() {
    EXPECT_FALSE(c().tmrCheckHWLinkTimer.enabled());
    EXPECT_FALSE(c().tmrCheckHWLinkThread.enabled());
    EXPECT_FALSE(links().workerRunning());
  }
  int configs_ = 0;
};

constexpr const char* kPppoaWithWpa2 =
    "saved.pvc1.vpi=0\nsaved.pvc1.vci=38\nsaved.pvc1.protocol=1\nsaved.pvc1.encap=0\n"
    "saved.pvc1.pppUsername=alice@isp.example\nsaved.pvc1.pppPassword=s3cret\n"
    "saved.wireless.wlChannel=11\nsaved.wireless.wlSsid=garden\nsaved.wireless.wlKeyBit=0\n"
    "saved.wireless.wlWpaPsk=correct horse battery\nsaved.wireless.wlWep=disabled\n"
    "saved.wireless.wlWpa=aes\nsaved.wireless.wlAuthMode=psk2\n"
    "saved.wireless.wlCountryCode=DE\nsaved.wireless.wlKeyNumber=1\n";

TEST_F(HardwareCheckTest, SuccessPrefillsTheConnectionAndWirelessPages) {
  StartSim({"--config", Config(kPppoaWithWpa2)}, "127.0.0.1");
  const auto start = Now();
  StartCheck();
  EXPECT_TRUE(c().tmrCheckHWLinkTimer.enabled());
  ASSERT_TRUE(RunUntilPage(PAGE_ISP_SELECTION));
  EXPECT_LE(Now() - start, 6000);
  EXPECT_TRUE(messages.empty());
  ExpectCheckOver();
  EXPECT_EQ(c().pbrCheckHWLink.position(), 200);
  EXPECT_EQ(Engine().state, STATE_DISCOVERY);
  EXPECT_EQ(main().linkCheckStep, STATE_DISCOVERY);
  // The broadcast answered: one discovery, and no adapter was asked for.
  EXPECT_EQ(Requests(0, kDiscovery, 1), 1);
  EXPECT_EQ(Requests(0, "text=<wireless>", 1), 1);
  EXPECT_EQ(adapters_.calls, 0);
  // Later discoveries take this modem alone.
  EXPECT_EQ(Engine().foundModemMac, Engine().targetMac);
  EXPECT_NE(Engine().targetMac, quillon::modem::kDiscoveryMac);

  const auto& v = main().values;
  EXPECT_EQ(v.wanProtocol, "PPPoA");
  EXPECT_EQ(v.wanEncapsulation, "VC-MUX");
  EXPECT_EQ(c().edtUsername.text(), "alice@isp.example");
  EXPECT_EQ(c().edtPassword.text(), "s3cret");
  EXPECT_EQ(c().edtConfirmPass.text(), "s3cret");
  // The modem's protocol is not preselected: the default ISP of the language is.
  EXPECT_EQ(c().cbxDSLISP.text(), "Thamesline Broadband");

  EXPECT_EQ(c().edtSSID.text(), "garden");
  EXPECT_EQ(c().cbxWLCountry.text(), "GERMANY");
  EXPECT_EQ(c().cbxChannel.text(), "11");
  EXPECT_EQ(c().cbxEncryptType.text(), "WPA2 PSK");
  EXPECT_EQ(c().edtWPAKey.text(), "correct horse battery");
  EXPECT_TRUE(main().radioEnabled);
}

TEST_F(HardwareCheckTest, ModemWithoutRadioSkipsTheWirelessQuery) {
  StartSim(
      {"--config", Config("saved.pvc1.protocol=2\nsaved.pvc1.dhcpc=0\nsaved.pvc1.ip=203.0.113.25\n"
                          "saved.pvc1.mask=255.255.255.0\nsaved.pvc1.gw=203.0.113.1\n"
                          "saved.pvc1.autoGW=0\nsaved.pvc1.autoDNS=0\nsaved.pvc1.dns=0.0.0.0\n")},
      "127.0.0.1");
  main().wirelessModule = false;
  StartCheck();
  ASSERT_TRUE(RunUntilPage(PAGE_ISP_SELECTION));
  ExpectCheckOver();
  EXPECT_EQ(Requests(0, "text=<pvc1>", 1), 1);
  EXPECT_EQ(Requests(0, "text=<wireless>"), 0);
  EXPECT_EQ(main().values.wanProtocol, "Static IP");
  EXPECT_EQ(c().medWANIP.TextWithoutBlanks(), "203.0.113.25");
  EXPECT_EQ(c().medSubnet.TextWithoutBlanks(), "255.255.255.0");
  EXPECT_EQ(c().medGateway.TextWithoutBlanks(), "203.0.113.1");
  EXPECT_EQ(main().values.wanDnsServer, "");
}

struct FailureRow {
  const char* what;
  std::vector<std::string> simArgs;
  int message;
};

TEST_F(HardwareCheckTest, FailuresSendTheUserBackWithTheirMessage) {
  const FailureRow rows[] = {
      {"another model", {"--model", "QR-9999"}, 5},
      {"line down", {"--line-down"}, 6},
  };
  for (const FailureRow& row : rows) {
    SCOPED_TRACE(row.what);
    StartSim(row.simArgs, "127.0.0.1");
    StartCheck();
    ASSERT_TRUE(RunUntilPage(PAGE_ADSL_LINK));
    EXPECT_EQ(messages, std::vector<int>{row.message});
    ExpectCheckOver();
    sims_.clear();
  }
}

TEST_F(HardwareCheckTest, NoAnswerTriesEveryAdapterThenGivesUp) {
  StartSim({"--drop-first", "1000000"}, "127.0.0.1");
  AddAdapter(0);
  AddAdapter(0);
  StartCheck();
  ASSERT_TRUE(RunUntilPage(PAGE_ADSL_LINK));
  EXPECT_EQ(messages, std::vector<int>{5});
  ExpectCheckOver();
  // The broadcast and one more discovery per adapter without a gateway, all to the broadcast.
  EXPECT_EQ(Requests(0, kDiscovery, 9), 9);
  EXPECT_EQ(adapters_.calls, 1);
  EXPECT_EQ(Engine().destinationAddress, "127.0.0.1");
  // The progress bar went on where it was through the fallbacks.
  EXPECT_GT(c().pbrCheckHWLink.position(), 0);
}

TEST_F(HardwareCheckTest, AnAdaptersGatewayAnswersAndStaysTheDestination) {
  auto& atGateway = StartSim({"--config", Config(kPppoaWithWpa2)}, "127.0.0.2");
  StartSim({"--drop-first", "1000000"}, "127.0.0.1", atGateway.port());
  AddAdapter(0);
  AddAdapter(kLoopback2);
  StartCheck();
  ASSERT_TRUE(RunUntilPage(PAGE_ISP_SELECTION));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Engine().destinationAddress, "127.0.0.2");
  EXPECT_EQ(Requests(1, kDiscovery, 6), 6);
  EXPECT_EQ(Requests(0, kDiscovery, 1), 1);
  EXPECT_EQ(c().edtSSID.text(), "garden");
}

}  // namespace
