#pragma once

// The wizard in-process on the headless backend, in virtual time, against modemsim processes
// with faults switched on. The engine's datagrams go to a fan-out relay on 127.0.0.1 whatever
// address a page sets, the PC has no network adapters (so no gateway fallback reaches outside),
// and the internet name test asks a scripted resolver.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/link_check_pages.h"
#include "apply_fixture.h"
#include "fanout_relay.h"
#include "fault_rows.h"
#include "platform/network_adapters.h"
#include "sim_config.h"
#include "sim_harness.h"

namespace faults {

using Fields = std::map<std::string, std::string>;

// Upper bounds of how long a check may take in virtual time, from its timers alone.
// The hardware check's 1-second watch declares the check failed on the tick that has seen more
// than 50 earlier ones (tick 52); leaving for the next page blocks 1 second more.
inline constexpr std::int64_t kHardwareCheckBoundMs = 52 * 1000 + 1000;
// The software check's watch ticks at most every 3 seconds, except the one reboot wait; it
// declares a step failed once more than 60 ticks were counted (tick 62), and restarts the WAN
// status step up to 75 times on ticks it does not count. Success ends after a 2-second pause.
inline constexpr std::int64_t SoftwareCheckBoundMs(std::int32_t resetWaitTime) {
  return (62 + 75 + 1) * 3000 + std::int64_t{resetWaitTime} * 1000 + 2000;
}

// One simulated modem on the relay's segment.
struct SimModem {
  std::unique_ptr<quillon::modemsim::SimProcess> process;
  std::string stateFile;
  std::string logFile;
  Fields initialSaved;  // its saved configuration at start, by field name ("pvc1.vpi")
};

// A configuration by field name, as the state file names it after "saved.".
Fields FieldsOf(const quillon::modemsim::SimConfig& config);

// How a check ended: on which page, after how much virtual time, with which messages.
struct Outcome {
  bool left = false;  // the page was left within the time allowed
  int page = 0;
  std::int64_t elapsedMs = 0;
  std::vector<std::string> messages;
};

class NoAdapters : public platform::NetworkAdapterService {
 public:
  std::vector<platform::NetworkAdapter> List() override { return {}; }
};

class FaultWizardTest : public ApplyWizardTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the plain edition's wizard, its engine aimed at the relay.
  void StartWizard();
  // Starts a modem with these extra modemsim arguments and this configuration file text, and
  // puts it on the relay's segment.
  SimModem& AddModem(const std::vector<std::string>& args, const std::string& config);
  // Ends a modem (it writes its state on the way out) and gives its state file by key.
  Fields StopModem(SimModem& modem);
  // Lines of the modem's log that contain `what`, waiting briefly for at least `atLeast`.
  int LogCount(const SimModem& modem, const std::string& what, int atLeast = 0);

  // Starts the wizard, our modem (with `ourConfig` and the row's faults) and the second modem
  // the row asks for, then runs a check row.runs times in a row against the same modems, so
  // that a random fault generator goes on between runs. `runOnce(run)` makes run `run` and says
  // whether it reached the next page. Checks how many did against the row and that the row's
  // fault really struck, and prints the tally: "CHECK, ROW: N of M runs reached REACHED".
  void RunRow(const FaultRow& row, const std::string& ourConfig, const char* check,
              const char* reached, const std::function<bool(int run)>& runOnce);

  // Lays out `page` as the page machine does on arrival and runs until the wizard leaves it,
  // for at most limitMs of virtual time. A stalled loop fails the test instead of hanging it.
  Outcome RunPage(int page, std::int64_t limitMs);

  app::LinkCheckPages& links();

  std::unique_ptr<FanOutRelay> relay;
  std::vector<std::unique_ptr<SimModem>> modems;

 private:
  NoAdapters noAdapters_;
  std::optional<platform::ScopedNetworkAdapters> adaptersScope_;
};

// The saved configuration in a state file, by field name.
Fields SavedPart(const Fields& state);

}  // namespace faults
