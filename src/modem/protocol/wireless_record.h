#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "modem/protocol/modem_settings.h"

namespace quillon::modem {

inline constexpr size_t kWirelessRecordSize = 232;
inline constexpr const char* kWirelessTag = "<wireless>";

// The field texts of a wirelessRecord as they travel (and as the diagnostic log prints them).
struct WirelessRecord {
  std::string wlChannel;
  std::string wlSsid;
  std::string wlKeyBit;
  std::string wlKey;
  std::string wlWpaPsk;
  std::string wlWep;
  std::string wlWpa;
  std::string wlAuthMode;
  std::string wlCountryCode;
  std::string wlKeyNumber;

  bool operator==(const WirelessRecord&) const = default;
};

// The record the wizard sends for its settings; nothing when wlSecurity is empty (no
// datagram is sent then). An unknown wlSecurity gives a record of empty fields.
std::optional<WirelessRecord> WirelessRecordFromSettings(const ModemSettings& settings);

// Writes the 232 record bytes (tag included) into out; texts longer than their field are cut
// to the field size less one.
void EncodeWirelessRecord(const WirelessRecord& record, uint8_t* out);

// Reads a record payload: nothing unless it starts with the "<wireless>" tag and its zero
// byte and holds the whole record.
std::optional<WirelessRecord> DecodeWirelessRecord(const uint8_t* payload, size_t length);

// Copies a received record into the settings by the security rules; an unrecognised
// authentication mode leaves wlSecurity as it was.
void ApplyWirelessRecord(const WirelessRecord& record, ModemSettings& settings);

}  // namespace quillon::modem
