#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "modem/protocol/control_header.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"

namespace quillon::modemsim {

// One configuration of the simulated modem, kept exactly as the records carried it.
struct SimConfig {
  modem::Pvc1Record pvc1;
  modem::WirelessRecord wireless;

  bool operator==(const SimConfig&) const = default;
};

// The settings a new modem leaves the factory with (and a factory reset restores).
SimConfig FactoryConfig();

// How many times each thing that changes the configuration happened.
struct SimCounters {
  uint32_t pvc1Sets = 0;
  uint32_t wirelessSets = 0;
  uint32_t saveReboots = 0;
  uint32_t factoryResets = 0;

  bool operator==(const SimCounters&) const = default;
};

// Calls visit(name, value) for every record field in record order; names are the wire names
// under their record, such as "pvc1.vpi" or "wireless.wlSsid", integers in decimal.
void ForEachField(const SimConfig& config,
                  const std::function<void(std::string_view, const std::string&)>& visit);

// Sets one field by the name ForEachField gives it; false for an unknown name, or for an
// integer field whose value is not a plain unsigned decimal number.
bool SetField(SimConfig& config, std::string_view name, std::string_view value);

std::string FormatMac(const modem::MacAddress& mac);
// "02:00:00:51:20:01" (colons or dashes); nothing for anything else.
std::optional<modem::MacAddress> ParseMac(std::string_view text);

}  // namespace quillon::modemsim
