#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillon::config {

inline constexpr int kWirelessCountryCount = 131;

// A row of the wireless country list: how many channels the country allows, the code sent to the
// modem and the name shown to the user.
struct WirelessCountry {
  int32_t channels;
  std::string_view code;
  std::string_view name;
};

// The fixed list in display order; the row index is the wireless country combo box index.
std::span<const WirelessCountry> wirelessCountries();

// The row index of a country code, or -1.
int wirelessCountryIndex(std::string_view code);

}  // namespace quillon::config
