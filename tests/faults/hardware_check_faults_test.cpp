// The hardware link check page against a faulty modem: every run ends on the ISP selection page
// with the pages filled from what the modem holds, or back on the ADSL page with the one message
// its failed step calls for, within the time its watch timer allows; and the check never writes
// to a modem.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/link_check_pages.h"
#include "app/pages.h"
#include "fault_rows.h"
#include "fault_wizard.h"

namespace faults {
namespace {

using namespace app;

// Our modem's saved settings: a PPPoA account and a WPA2 network, none of them the defaults.
constexpr const char* kModemWithAccount =
    "saved.pvc1.vpi=0\nsaved.pvc1.vci=38\nsaved.pvc1.protocol=1\nsaved.pvc1.encap=0\n"
    "saved.pvc1.pppUsername=alice@isp.example\nsaved.pvc1.pppPassword=s3cret\n"
    "saved.wireless.wlChannel=11\nsaved.wireless.wlSsid=garden\nsaved.wireless.wlKeyBit=0\n"
    "saved.wireless.wlWpaPsk=correct horse battery\nsaved.wireless.wlWep=disabled\n"
    "saved.wireless.wlWpa=aes\nsaved.wireless.wlAuthMode=psk2\n"
    "saved.wireless.wlCountryCode=DE\nsaved.wireless.wlKeyNumber=1\n";

class HardwareCheckUnderFaults : public FaultWizardTest,
                                 public ::testing::WithParamInterface<FaultRow> {
 protected:
  // What the pages show is cleared before each run, so a success must have filled it anew.
  void ClearPrefill() {
    auto& c = main().controls();
    main().values.wanProtocol.clear();
    main().values.wanEncapsulation.clear();
    for (ui::Edit* edit : {&c.edtUsername, &c.edtPassword, &c.edtSSID, &c.edtWPAKey})
      edit->SetText("");
  }

  void ExpectFilledFromOurModem() {
    auto& c = main().controls();
    EXPECT_EQ(main().values.wanProtocol, "PPPoA");
    EXPECT_EQ(main().values.wanEncapsulation, "VC-MUX");
    EXPECT_EQ(c.edtUsername.text(), "alice@isp.example");
    EXPECT_EQ(c.edtPassword.text(), "s3cret");
    EXPECT_EQ(c.edtSSID.text(), "garden");
    EXPECT_EQ(c.cbxChannel.text(), "11");
    EXPECT_EQ(c.cbxEncryptType.text(), "WPA2 PSK");
    EXPECT_EQ(c.edtWPAKey.text(), "correct horse battery");
    EXPECT_EQ(c.cbxWLCountry.text(), "GERMANY");
  }

  // One run of the check; true when it reached the ISP selection page.
  bool RunOnce(const FaultRow& row) {
    ClearPrefill();
    const Outcome outcome = RunPage(PAGE_CHECK_HW_LINK, kHardwareCheckBoundMs + 60000);
    EXPECT_TRUE(outcome.left) << "still checking after " << outcome.elapsedMs << " ms";
    EXPECT_LE(outcome.elapsedMs, kHardwareCheckBoundMs);
    auto& c = main().controls();
    EXPECT_FALSE(c.tmrCheckHWLinkTimer.enabled());
    EXPECT_FALSE(c.tmrCheckHWLinkThread.enabled());
    EXPECT_FALSE(links().workerRunning());
    if (outcome.page == PAGE_ISP_SELECTION) {
      EXPECT_TRUE(outcome.messages.empty()) << outcome.messages.front();
      EXPECT_EQ(c.pbrCheckHWLink.position(), 200);
      ExpectFilledFromOurModem();
      return true;
    }
    EXPECT_EQ(outcome.page, PAGE_ADSL_LINK);
    const int message = row.message != 0 ? row.message : HardwareCheckMessage(Engine().state);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{Message(message)})
        << "the run ended in engine state " << Engine().state;
    return false;
  }
};

TEST_P(HardwareCheckUnderFaults, EndsOnTheNextPageOrWithItsMessageInTime) {
  const FaultRow& row = GetParam();
  ASSERT_NO_FATAL_FAILURE(RunRow(row, kModemWithAccount, "hardware check", "the next page",
                                 [&](int) { return RunOnce(row); }));
  if (row.foreign != Foreign::kNone) {
    // The second modem really was there: it heard the discovery and answered it.
    EXPECT_GE(LogCount(*modems[1], "rx code=1 ", 1), 1);
    EXPECT_GE(LogCount(*modems[1], "tx to ", 1), 1);
  }
  // A check only reads: no modem's configuration changed.
  for (auto& modem : modems) {
    const Fields state = StopModem(*modem);
    EXPECT_EQ(SavedPart(state), modem->initialSaved);
    EXPECT_EQ(state.at("counters.pvc1Sets"), "0");
    EXPECT_EQ(state.at("counters.wirelessSets"), "0");
    EXPECT_EQ(state.at("counters.saveReboots"), "0");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, HardwareCheckUnderFaults,
    ::testing::Values(
        Passes("NoFault", {}), Random("Loss10", {"--drop", "0.1", "--seed", "11"}, 3, 2, nullptr),
        Random("Loss30", {"--drop", "0.3", "--seed", "12"}, 4, 2, kLost),
        Random("Loss50", {"--drop", "0.5", "--seed", "13"}, 5, 1, kLost),
        Passes("Duplicates", {"--duplicates", "3"}, "fault: duplicate"),
        Random("Reordered", {"--reorder", "0.4", "--seed", "14"}, 3, 1, "reordered"),
        Random("StaleSequence", {"--stale-seq", "0.4", "--seed", "15"}, 3, 2, "stale-seq"),
        Random("ForeignMacOnReplies", {"--foreign-mac", "0.3", "--seed", "16"}, 5, 1,
               "foreign-mac"),
        FaultRow{.name = "ForeignModemAnswersToo",
                 .minPassed = 1,
                 .maxPassed = 1,
                 .foreign = Foreign::kAnswersLater},
        FaultRow{.name = "ForeignModelAnswersFirst",
                 .message = 5,
                 .foreign = Foreign::kAnswersFirst,
                 .foreignFaults = {"--model", "QR-7000"}},
        Random("MalformedTokens", {"--malformed-tokens", "0.5", "--seed", "17"}, 4, 1,
               "malformed-tokens"),
        Fails("MalformedTokensAlways", {"--malformed-tokens", "1"}, 5, "malformed-tokens"),
        Random("TruncatedRecords", {"--truncate-records", "0.5", "--seed", "18"}, 3, 1,
               "truncated"),
        Fails("TruncatedRecordsAlways", {"--truncate-records", "1"}, 5, "truncated"),
        Fails("LineDrops", {"--line-drop-after", "1"}, 6, kLineDown),
        Passes("LineDropsAndComesBack", {"--line-drop-after", "1", "--line-down-for", "2"},
               kLineDown),
        Fails("CablePulledForGood", {"--unplug-after", "2"}, 5, kUnplugged),
        Passes("CablePulledBriefly", {"--unplug-after", "1", "--unplug-for", "3"}, kUnplugged),
        Random("EverythingAtOnce",
               {"--drop", "0.1", "--duplicates", "1", "--reorder", "0.2", "--stale-seq", "0.2",
                "--malformed-tokens", "0.1", "--truncate-records", "0.2", "--seed", "19"},
               3, 1, "fault:")),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace faults
