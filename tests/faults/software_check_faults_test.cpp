// The software link check (applying the user's settings) against a faulty modem: every run ends
// on the completion page or one step back with the one message its failed step calls for, within
// the time its watch timer allows. After every success the modem that answered keeps exactly
// what the user entered, and a failure before the save leaves every modem as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/pages.h"
#include "fault_rows.h"
#include "fault_wizard.h"
#include "firmware.h"
#include "modem/engine/engine_states.h"
#include "modem/protocol/modem_settings.h"
#include "sim_state.h"

namespace faults {
namespace {

using namespace app;
using namespace quillon::modem;

// The modem's own settings before the wizard: a WPA2 network and the factory WAN settings.
constexpr const char* kModemBeforeApply =
    "saved.wireless.wlChannel=11\nsaved.wireless.wlSsid=Attic\nsaved.wireless.wlKeyBit=0\n"
    "saved.wireless.wlWpaPsk=modem-passphrase\nsaved.wireless.wlWep=disabled\n"
    "saved.wireless.wlWpa=aes\nsaved.wireless.wlAuthMode=psk2\n"
    "saved.wireless.wlCountryCode=DE\nsaved.wireless.wlKeyNumber=1\n";

std::string User(int run) {
  return "walker" + std::to_string(run) + "@isp.example";
}
std::string Password(int run) {
  return "long walk " + std::to_string(run);
}
std::string Ssid(int run) {
  return "Garden " + std::to_string(run);
}
std::string Key(int run) {
  return "staple battery horse " + std::to_string(run);
}

// What the modem must keep after run `run`: a PPPoE account on 1/32 with VC multiplexing and a
// WPA2 network, written out from the record layouts.
Fields Expected(int run) {
  return {{"pvc1.vpi", "1"},
          {"pvc1.vci", "32"},
          {"pvc1.protocol", "0"},
          {"pvc1.encap", "1"},
          {"pvc1.dhcpc", "0"},
          {"pvc1.pppUsername", User(run)},
          {"pvc1.pppPassword", Password(run)},
          {"pvc1.ip", ""},
          {"pvc1.mask", ""},
          {"pvc1.gw", ""},
          {"pvc1.autoGW", "1"},
          {"pvc1.autoDNS", "1"},
          {"pvc1.dns", "0.0.0.0"},
          {"wireless.wlChannel", "6"},
          {"wireless.wlSsid", Ssid(run)},
          {"wireless.wlKeyBit", "0"},
          {"wireless.wlKey", ""},
          {"wireless.wlWpaPsk", Key(run)},
          {"wireless.wlWep", "disabled"},
          {"wireless.wlWpa", "aes"},
          {"wireless.wlAuthMode", "psk2"},
          {"wireless.wlCountryCode", "GB"},
          {"wireless.wlKeyNumber", "1"}};
}

// What a modem holds between runs: its saved configuration and how often it saved.
struct ModemView {
  Fields saved;
  std::string saves;
};

class SoftwareCheckUnderFaults : public FaultWizardTest,
                                 public ::testing::WithParamInterface<FaultRow> {
 protected:
  // The state the hardware check and the connection and wireless pages leave behind: the
  // plain edition, our radio modem found with the radio on, a PPPoE account and a WPA2 network.
  void GivenTheUsersEntries(int run) {
    auto& f = main();
    Engine().foundModemMac = quillon::modemsim::FirmwareSettings{}.mac;
    f.wirelessModule = true;
    f.radioEnabled = true;
    f.pppSelected = true;
    f.staticIpSelected = false;
    f.routines.collectSettings = nullptr;
    auto& engine = Engine();
    engine.queryLineRateAfterDiscovery = true;
    engine.testDnsAfterWanUp = true;
    ModemSettings s;
    s.connectionType = kConnectionPppoe;
    s.vpi = 1;
    s.vci = 32;
    s.encapsulation = 1;
    s.pppUserName = User(run);
    s.pppPassword = Password(run);
    s.wlSsid = Ssid(run);
    s.wlChannel = 6;
    s.wlCountryCode = "GB";
    s.wlSecurity = kSecurityPsk2;
    s.wlKey = Key(run);
    s.wlKeyNumber = 1;
    engine.modemSettings = s;
    f.values.wirelessSsid = Ssid(run);
    f.values.wirelessChannel = "6";
    f.values.wirelessSecurity = "WPA2 PSK";
    f.values.wirelessKey = Key(run);
  }

  // The simulator writes its state file whenever its saved configuration changes, before it
  // acknowledges the save; until then it holds what it started with.
  ModemView View(const SimModem& modem) {
    const Fields state = test_support::ReadSimState(modem.stateFile);
    if (state.empty()) return {modem.initialSaved, "0"};
    return {SavedPart(state), state.at("counters.saveReboots")};
  }
  std::vector<ModemView> Views() {
    std::vector<ModemView> views;
    for (const auto& modem : modems) views.push_back(View(*modem));
    return views;
  }

  // One run of the check; true when it reached the completion page.
  bool RunOnce(const FaultRow& row, int run) {
    GivenTheUsersEntries(run);
    const std::vector<ModemView> before = Views();
    const std::int64_t bound = SoftwareCheckBoundMs(main().systemConfig.setup.ResetWaitTime);
    const Outcome outcome = RunPage(PAGE_CHECK_SW_LINK, bound + 60000);
    EXPECT_TRUE(outcome.left) << "still applying after " << outcome.elapsedMs << " ms";
    EXPECT_LE(outcome.elapsedMs, bound);
    auto& c = main().controls();
    EXPECT_FALSE(c.tmrCheckSWLinkTimer.enabled());
    EXPECT_FALSE(c.tmrCheckSWLinkThread.enabled());
    const std::vector<ModemView> after = Views();
    // Our modem is the first; whatever else answers must never change.
    constexpr size_t configured = 0;

    if (outcome.page == PAGE_INSTALL_COMPLETE_ALONE) {
      EXPECT_TRUE(outcome.messages.empty()) << outcome.messages.front();
      EXPECT_EQ(c.lblPercent.caption(), "100%");
      for (size_t i = 0; i < modems.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "modem " << i);
        if (i == configured) {
          EXPECT_EQ(after[i].saved, Expected(run));
          EXPECT_NE(after[i].saves, before[i].saves);
        } else {
          EXPECT_EQ(after[i].saved, before[i].saved);
          EXPECT_EQ(after[i].saves, before[i].saves);
        }
      }
      return true;
    }

    EXPECT_EQ(outcome.page, PAGE_WIRELESS_SETTING);
    const std::int32_t state = Engine().state;
    const int message = row.message != 0 ? row.message : SoftwareCheckMessage(state);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{Message(message)})
        << "the run ended in engine state " << state;
    if (state == STATE_QUERY_WANSTATUS) {
      EXPECT_EQ(main().wanStatusTries, 76);
    }
    if (state == STATE_DISCOVERY || state == STATE_QUERY_LINERATE || state == STATE_SET_PVC1 ||
        state == STATE_SET_WIRELESS) {
      // Nothing was saved, so no modem changed.
      for (size_t i = 0; i < modems.size(); ++i) {
        EXPECT_EQ(after[i].saved, before[i].saved) << "modem " << i;
        EXPECT_EQ(after[i].saves, before[i].saves) << "modem " << i;
      }
    } else if (state == STATE_CMD_SAVEREBOOT) {
      // The save may have happened with its acknowledgement lost, but never by halves.
      if (after[configured].saved != before[configured].saved) {
        EXPECT_EQ(after[configured].saved, Expected(run));
      }
    } else {
      // The save was acknowledged before the WAN failed to come up.
      EXPECT_EQ(after[configured].saved, Expected(run));
    }
    return false;
  }
};

TEST_P(SoftwareCheckUnderFaults, EndsOnTheCompletionPageOrWithItsMessageInTime) {
  const FaultRow& row = GetParam();
  RunRow(row, kModemBeforeApply, "software check", "the completion page",
         [&](int run) { return RunOnce(row, run); });
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, SoftwareCheckUnderFaults,
    ::testing::Values(
        Passes("NoFault", {}), Random("Loss10", {"--drop", "0.1", "--seed", "21"}, 3, 2, nullptr),
        Random("Loss30", {"--drop", "0.3", "--seed", "22"}, 3, 1, kLost),
        Random("Loss50", {"--drop", "0.5", "--seed", "23"}, 6, 1, kLost),
        Passes("Duplicates", {"--duplicates", "3"}, "fault: duplicate"),
        Random("Reordered", {"--reorder", "0.3", "--seed", "24"}, 3, 1, "reordered"),
        Random("StaleSequence", {"--stale-seq", "0.4", "--seed", "25"}, 3, 1, "stale-seq"),
        Random("ForeignMacOnReplies", {"--foreign-mac", "0.2", "--seed", "26"}, 4, 1,
               "foreign-mac"),
        FaultRow{.name = "ForeignModemAnswersToo",
                 .minPassed = 1,
                 .maxPassed = 1,
                 .foreign = Foreign::kAnswersLater},
        // The check finds the modem anew but takes only the one the hardware check found.
        // Ours answers too late for the virtual clock, so the other modem is the only one
        // heard: it is refused, and the check fails with both modems as they were.
        FaultRow{.name = "ForeignModelAnswersFirst",
                 .message = 5,
                 .foreign = Foreign::kAnswersFirst,
                 .foreignFaults = {"--model", "QR-7000"}},
        Random("MalformedTokens", {"--malformed-tokens", "0.4", "--seed", "29"}, 4, 1,
               "malformed-tokens"),
        Fails("MalformedTokensAlways", {"--malformed-tokens", "1"}, 5, "malformed-tokens"),
        // The check reads no record, so cut records cannot touch it.
        Passes("TruncatedRecordsAlways", {"--truncate-records", "1"}),
        Fails("LineDropsBeforeTheCheck", {"--line-drop-after", "1"}, 6, kLineDown),
        Passes("LineDropsAndComesBack", {"--line-drop-after", "1", "--line-down-for", "2"},
               kLineDown),
        // Requests 1 to 5: discovery, line rate, set WAN, set wireless, save; then WAN status.
        Fails("LineDropsAfterTheSave", {"--line-drop-after", "5"}, 7, kLineDown),
        Passes("LineDropsAfterTheSaveAndComesBack",
               {"--line-drop-after", "5", "--line-down-for", "30"}, kLineDown),
        Fails("CablePulledBeforeSetWireless", {"--unplug-after", "3"}, 7, kUnplugged),
        Passes("CablePulledBriefly", {"--unplug-after", "3", "--unplug-for", "4"}, kUnplugged),
        Fails("CablePulledBeforeTheSave", {"--unplug-after", "4"}, 5, kUnplugged),
        Fails("RebootNeverEnds", {"--no-return-after-reboot"}, 7, "never to answer again"),
        Passes("WanComesUpLate", {"--wan-up-polls", "45"}),
        Passes("WanComesUpVeryLate", {"--wan-up-polls", "120"}),
        Fails("WanNeverComesUp", {"--wan-up-polls", "1000000"}, 7),
        Random("EverythingAtOnce",
               {"--drop", "0.1", "--duplicates", "1", "--reorder", "0.2", "--stale-seq", "0.2",
                "--malformed-tokens", "0.1", "--truncate-records", "0.2", "--seed", "28"},
               4, 1, "fault:")),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace faults
