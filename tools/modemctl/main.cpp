// modemctl: one engine run per start state from the command line, printing the engine's log.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "config/settings_file_reader.h"
#include "ctl_options.h"
#include "modem/engine/modemconnect.h"
#include "ui/application.h"
#include "ui/console/console_backend.h"

namespace {

using quillon::modem::TfrmModemConnect;

// Log lines may carry whatever bytes a reply held; control bytes are shown escaped.
std::string Printable(const std::string& line) {
  std::string out;
  for (const unsigned char c : line) {
    if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The shipped settings' time-outs, overridden by a settings file when one is given.
bool LoadTimeouts(const std::string& file, quillon::config::systemConfig& config) {
  quillon::config::Setup_Param& setup = config.setup;
  setup.DefaultTimeout = 3;
  setup.DiscoverTimeout = 3;
  setup.DSLSetTimeout = 5;
  setup.PPPSetTimeout = 4;
  setup.WirelessSetTimeout = 4;
  setup.ConfigSaveTimeout = 5;
  if (file.empty()) return true;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  quillon::config::parseSettingsFile(config, bytes);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const modemctl::ParsedCtlOptions parsed =
      modemctl::ParseCtlOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.help) {
    std::fputs(modemctl::CtlHelpText().c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "modemctl: %s\nTry 'modemctl --help'.\n", parsed.error.c_str());
    return 2;
  }
  const modemctl::CtlOptions& options = parsed.options;
  auto config = std::make_unique<quillon::config::systemConfig>();
  if (!LoadTimeouts(options.settingsFile, *config)) {
    std::fprintf(stderr, "modemctl: cannot read %s\n", options.settingsFile.c_str());
    return 2;
  }

  ui::Application app(std::make_unique<ui::console::ConsoleBackend>());
  TfrmModemConnect engine(app, config->setup);
  // Both memos print as their lines come, so a reason stands next to what it explains.
  const auto print = [](const std::string& line) {
    std::printf("%s\n", Printable(line).c_str());
    std::fflush(stdout);
  };
  engine.Memo1.onAdd = print;
  engine.Diagnosis.onAdd = print;
  engine.destinationAddress = options.destination;
  engine.destinationPort = options.port;
  engine.queryLineRateAfterDiscovery = options.lineRateAfterDiscovery;
  engine.queryPvc1AfterLineRate = options.pvc1AfterLineRate;
  engine.testDnsAfterWanUp = options.dnsAfterWanUp;
  engine.modemSettings = options.settings;

  for (const int32_t startState : options.states) {
    engine.state = startState;
    engine.StartSession();
    app.backend().RunUntil([&] { return engine.sessionResult != quillon::modem::kSessionRunning; });
    std::printf("result: %d %d\n", engine.state.load(), engine.sessionResult.load());
    std::fflush(stdout);
    if (engine.sessionResult != quillon::modem::kSessionSucceeded) return 1;
  }
  return 0;
}
