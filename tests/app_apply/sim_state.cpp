#include "sim_state.h"

#include <sstream>

#include "persistence.h"

namespace test_support {

std::map<std::string, std::string> ReadSimState(const std::string& path) {
  std::map<std::string, std::string> state;
  const auto text = quillon::modemsim::ReadWholeFile(path);
  if (!text) return state;
  std::istringstream lines(*text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const auto value = quillon::modemsim::UnescapeValue(line.substr(eq + 1));
    state[line.substr(0, eq)] = value.value_or("<bad escape>");
  }
  return state;
}

std::map<std::string, std::string> WithPrefix(const std::map<std::string, std::string>& state,
                                              const std::string& prefix) {
  std::map<std::string, std::string> part;
  for (const auto& [key, value] : state)
    if (key.rfind(prefix, 0) == 0) part[key.substr(prefix.size())] = value;
  return part;
}

}  // namespace test_support
