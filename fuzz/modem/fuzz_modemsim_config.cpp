// modemsim's configuration and state files: any text is either refused with a reason or read
// into a configuration that the state file writes back exactly; escaped values and MAC address
// texts survive their round trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persistence.h"
#include "sim_config.h"

using namespace quillon::modemsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  SimConfig factory = FactoryConfig();
  SimConfig saved;
  if (const auto error = ApplyConfigText(text, factory, saved)) {
    if (error->empty()) std::abort();
  } else {
    const std::string state = FormatState(saved, saved, SimCounters{});
    SimConfig factory2 = FactoryConfig();
    SimConfig saved2;
    if (ApplyConfigText(state, factory2, saved2) || !(saved2 == saved)) std::abort();
  }

  if (UnescapeValue(EscapeValue(text)) != std::string(text)) std::abort();
  if (const auto value = UnescapeValue(text)) {
    if (value->size() > text.size()) std::abort();
  }
  if (const auto mac = ParseMac(text)) {
    if (ParseMac(FormatMac(*mac)) != mac) std::abort();
  }
  return 0;
}
