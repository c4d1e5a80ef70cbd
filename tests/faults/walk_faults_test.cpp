// The whole quick installation, clicked and typed from the main menu, against a modem whose
// replies come damaged or late or whose line and cable come and go, in ways that a check's
// resends are meant to ride out: every check must pass on its own, and the modem must keep
// what the user chose and typed, field for field.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fault_rows.h"
#include "fault_wizard.h"
#include "walk.h"

namespace faults {
namespace {

using namespace app;
using namespace test_support;

struct WalkRow {
  const char* name;
  std::vector<std::string> faults;
  const char* trace;
};
void PrintTo(const WalkRow& row, std::ostream* os) {
  *os << row.name;
}

class WalkUnderFaults : public QuickInstallWalk, public ::testing::WithParamInterface<WalkRow> {
 protected:
  int LogCount(const std::string& what) {
    std::ifstream in(cd_.root() / "sim" / "sim.log");
    int count = 0;
    for (std::string line; std::getline(in, line);) count += line.find(what) != std::string::npos;
    return count;
  }

  NoAdapters noAdapters_;
  std::optional<platform::ScopedNetworkAdapters> adaptersScope_;
};

TEST_P(WalkUnderFaults, TheModemKeepsWhatTheUserChoseAndTyped) {
  const WalkRow& row = GetParam();
  adaptersScope_.emplace(noAdapters_);
  SetProfile("GE", 0);
  Start();
  StartSim(row.faults);
  ASSERT_FALSE(HasFailure());
  const Isp& isp = kIsps[0];
  const std::int64_t start = backend().virtualClock().NowMs();
  WalkTo(isp, true, Edition::kPlain);
  if (HasFatalFailure()) return;
  // The Ethernet and ADSL checks give up after 21 ticks of 2 seconds each.
  const std::int64_t bound = 2 * 21 * 2000 + kHardwareCheckBoundMs +
                             SoftwareCheckBoundMs(main().systemConfig.setup.ResetWaitTime);
  EXPECT_LE(backend().virtualClock().NowMs() - start, bound);
  // The wireless page's reminder is the only message a user sees on the way; no check failed.
  for (const int failure : {5, 6, 7, 8})
    for (const std::string& shown : popMessages) EXPECT_NE(shown, Message(failure));

  const auto state = StopSim();
  const Fields pvc1 = WithPrefix(state, "saved.pvc1.");
  for (const auto& [field, value] : isp.savedPvc1)
    EXPECT_EQ(pvc1.count(field) ? pvc1.at(field) : "<missing>", value) << "pvc1." << field;
  const Fields wireless = WithPrefix(state, "saved.wireless.");
  const Fields expected = SavedWireless(ChoiceFor(isp.security, Edition::kPlain), "GB");
  for (const auto& [field, value] : expected)
    EXPECT_EQ(wireless.count(field) ? wireless.at(field) : "<missing>", value)
        << "wireless." << field;
  EXPECT_GE(LogCount(row.trace), 1) << row.trace;
}

// Requests along the walk: the Ethernet check's discovery (1); the ADSL check's discovery and
// line rate (2, 3); the hardware check's discovery, line rate, WAN and wireless queries (4 to
// 7); the software check's discovery, line rate, set WAN, set wireless and save (8 to 12); then
// the WAN status polls.
INSTANTIATE_TEST_SUITE_P(
    Matrix, WalkUnderFaults,
    ::testing::Values(
        WalkRow{"Duplicates", {"--duplicates", "2"}, "duplicate"},
        // Three copies of every reply, each damaged on its own draw: one good copy suffices.
        WalkRow{"DamagedCopies",
                {"--duplicates", "2", "--stale-seq", "0.3", "--malformed-tokens", "0.3",
                 "--truncate-records", "0.3", "--seed", "31"},
                "fault:"},
        WalkRow{"CablePulledDuringTheHardwareCheck",
                {"--unplug-after", "4", "--unplug-for", "2"},
                kUnplugged},
        WalkRow{"LineDropsWhileTheWanComesUp",
                {"--line-drop-after", "12", "--line-down-for", "10"},
                kLineDown}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace faults
