#include "modem/protocol/wireless_record.h"

#include <cstring>
#include <string_view>

#include "modem/protocol/record_text.h"

namespace quillon::modem {

namespace {

struct Field {
  size_t offset;
  size_t size;
};
constexpr Field kTag{0, 12};
constexpr Field kChannel{12, 4};
constexpr Field kSsid{16, 48};
constexpr Field kKeyBit{64, 4};
constexpr Field kKey{68, 32};
constexpr Field kWpaPsk{100, 72};
constexpr Field kWep{172, 16};
constexpr Field kWpa{188, 16};
constexpr Field kAuthMode{204, 8};
constexpr Field kCountryCode{212, 16};
constexpr Field kKeyNumber{228, 4};
static_assert(kKeyNumber.offset + kKeyNumber.size == kWirelessRecordSize);

// The columns that depend on the security type.
struct SecurityRow {
  std::string_view security;
  const char* keyBit;
  bool keyInWepField;  // otherwise the key is the WPA pass phrase
  const char* wep;
  const char* wpa;
  const char* authMode;
  bool keyNumberFromSettings;  // otherwise "1"
};
constexpr SecurityRow kSecurityRows[] = {
    {kSecurityNone, "", false, "disabled", "", "open", false},
    {kSecurityWep64, "1", true, "enabled", "", "open", true},
    {kSecurityWep128, "0", true, "enabled", "", "open", true},
    {kSecurityPsk, "0", false, "disabled", "tkip", "psk", false},
    {kSecurityPsk2, "0", false, "disabled", "aes", "psk2", false},
};

}  // namespace

std::optional<WirelessRecord> WirelessRecordFromSettings(const ModemSettings& settings) {
  if (settings.wlSecurity.empty()) return std::nullopt;
  WirelessRecord record;
  for (const SecurityRow& row : kSecurityRows) {
    if (settings.wlSecurity != row.security) continue;
    record.wlChannel = std::to_string(settings.wlChannel);
    record.wlSsid = settings.wlSsid;
    record.wlCountryCode = settings.wlCountryCode;
    record.wlKeyBit = row.keyBit;
    if (row.security != kSecurityNone)
      (row.keyInWepField ? record.wlKey : record.wlWpaPsk) = settings.wlKey;
    record.wlWep = row.wep;
    record.wlWpa = row.wpa;
    record.wlAuthMode = row.authMode;
    record.wlKeyNumber = row.keyNumberFromSettings ? std::to_string(settings.wlKeyNumber) : "1";
    break;
  }
  return record;
}

void EncodeWirelessRecord(const WirelessRecord& record, uint8_t* out) {
  std::memset(out, 0, kWirelessRecordSize);
  WriteTextField(out + kTag.offset, kTag.size, kWirelessTag);
  WriteTextField(out + kChannel.offset, kChannel.size, record.wlChannel);
  WriteTextField(out + kSsid.offset, kSsid.size, record.wlSsid);
  WriteTextField(out + kKeyBit.offset, kKeyBit.size, record.wlKeyBit);
  WriteTextField(out + kKey.offset, kKey.size, record.wlKey);
  WriteTextField(out + kWpaPsk.offset, kWpaPsk.size, record.wlWpaPsk);
  WriteTextField(out + kWep.offset, kWep.size, record.wlWep);
  WriteTextField(out + kWpa.offset, kWpa.size, record.wlWpa);
  WriteTextField(out + kAuthMode.offset, kAuthMode.size, record.wlAuthMode);
  WriteTextField(out + kCountryCode.offset, kCountryCode.size, record.wlCountryCode);
  WriteTextField(out + kKeyNumber.offset, kKeyNumber.size, record.wlKeyNumber);
}

// As with the PVC record, a reply shorter than the record is refused rather than read past.
std::optional<WirelessRecord> DecodeWirelessRecord(const uint8_t* payload, size_t length) {
  const size_t tagLength = std::strlen(kWirelessTag);
  if (payload == nullptr || length < kWirelessRecordSize) return std::nullopt;
  if (std::memcmp(payload, kWirelessTag, tagLength + 1) != 0) return std::nullopt;
  WirelessRecord record;
  record.wlChannel = ReadTextField(payload + kChannel.offset, kChannel.size);
  record.wlSsid = ReadTextField(payload + kSsid.offset, kSsid.size);
  record.wlKeyBit = ReadTextField(payload + kKeyBit.offset, kKeyBit.size);
  record.wlKey = ReadTextField(payload + kKey.offset, kKey.size);
  record.wlWpaPsk = ReadTextField(payload + kWpaPsk.offset, kWpaPsk.size);
  record.wlWep = ReadTextField(payload + kWep.offset, kWep.size);
  record.wlWpa = ReadTextField(payload + kWpa.offset, kWpa.size);
  record.wlAuthMode = ReadTextField(payload + kAuthMode.offset, kAuthMode.size);
  record.wlCountryCode = ReadTextField(payload + kCountryCode.offset, kCountryCode.size);
  record.wlKeyNumber = ReadTextField(payload + kKeyNumber.offset, kKeyNumber.size);
  return record;
}

void ApplyWirelessRecord(const WirelessRecord& record, ModemSettings& settings) {
  settings.wlChannel = ReadDecimal(record.wlChannel);
  settings.wlSsid = record.wlSsid;
  settings.wlKey.clear();
  const int32_t keyBit = ReadDecimal(record.wlKeyBit);
  if (record.wlAuthMode == "open" && record.wlWep == "disabled") {
    settings.wlSecurity = kSecurityNone;
  } else if (record.wlAuthMode == "open" && keyBit == 1) {
    settings.wlSecurity = kSecurityWep64;
    settings.wlKey = record.wlKey;
  } else if (record.wlAuthMode == "open" && keyBit == 0) {
    settings.wlSecurity = kSecurityWep128;
    settings.wlKey = record.wlKey;
  } else if (record.wlAuthMode == "psk") {
    settings.wlSecurity = kSecurityPsk;
    settings.wlKey = record.wlWpaPsk;
  } else if (record.wlAuthMode == "psk2") {
    settings.wlSecurity = kSecurityPsk2;
    settings.wlKey = record.wlWpaPsk;
  }
  settings.wlCountryCode = record.wlCountryCode;
  settings.wlKeyNumber = ReadDecimal(record.wlKeyNumber);
}

}  // namespace quillon::modem
