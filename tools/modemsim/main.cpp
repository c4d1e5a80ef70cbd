// modemsim: the modem firmware's side of the control protocol, for tests and manual trials.
#include <cstdio>
#include <string>
#include <vector>

#include "persistence.h"
#include "server.h"
#include "sim_options.h"

using namespace quillon::modemsim;

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "modemsim: %s\nTry 'modemsim --help'.\n", parsed.error.c_str());
    return 2;
  }
  if (parsed.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  const SimOptions& options = parsed.options;
  SimConfig factory = FactoryConfig();
  SimConfig saved = factory;
  if (!options.configFile.empty()) {
    const std::optional<std::string> text = ReadWholeFile(options.configFile);
    if (!text) {
      std::fprintf(stderr, "modemsim: cannot read %s\n", options.configFile.c_str());
      return 2;
    }
    if (const std::optional<std::string> error = ApplyConfigText(*text, factory, saved)) {
      std::fprintf(stderr, "modemsim: %s: %s\n", options.configFile.c_str(), error->c_str());
      return 2;
    }
  }
  SimLog log(options.logFile);
  if (!log.ok()) {
    std::fprintf(stderr, "modemsim: cannot open the log %s\n", options.logFile.c_str());
    return 2;
  }
  return RunServer(options, factory, saved, log);
}
