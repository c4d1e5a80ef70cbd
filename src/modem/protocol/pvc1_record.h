#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "modem/protocol/modem_settings.h"

namespace quillon::modem {

inline constexpr size_t kPvc1RecordSize = 444;
inline constexpr const char* kPvc1Tag = "<pvc1>";

// The field values of a pvc1Record as they travel (and as the diagnostic log prints them).
struct Pvc1Record {
  uint32_t vpi = 0;
  uint32_t vci = 0;
  uint32_t protocol = 0;  // 0 PPPoE, 1 PPPoA, 2 IP over the DSL line, 3 bridge
  uint32_t encap = 0;
  uint32_t dhcpc = 0;
  std::string pppUsername;
  std::string pppPassword;
  std::string ip;
  std::string mask;
  std::string gw;
  uint32_t autoGW = 0;
  uint32_t autoDNS = 0;
  std::string dns;

  bool operator==(const Pvc1Record&) const = default;
};

// The record the wizard sends for its settings, by connectionType.
Pvc1Record Pvc1RecordFromSettings(const ModemSettings& settings);

// Writes the 444 record bytes (tag included) into out; texts longer than their field are cut
// to the field size less one.
void EncodePvc1Record(const Pvc1Record& record, uint8_t* out);

// Reads a record payload: nothing unless it starts with the "<pvc1>" tag and its zero byte and
// holds the whole record.
std::optional<Pvc1Record> DecodePvc1Record(const uint8_t* payload, size_t length);

// Copies a received record into the settings; protocol 2 becomes dynamic IP only when dhcpc,
// autoGW and autoDNS are all 1, static IP otherwise.
void ApplyPvc1Record(const Pvc1Record& record, ModemSettings& settings);

}  // namespace quillon::modem
