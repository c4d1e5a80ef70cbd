#include "modem/protocol/pvc1_record.h"

#include <cstring>

#include "modem/protocol/control_header.h"
#include "modem/protocol/record_text.h"

namespace quillon::modem {

namespace {

// Byte layout of the record: offset and size of each field.
struct Field {
  size_t offset;
  size_t size;
};
constexpr Field kTag{0, 48};
constexpr Field kVpi{48, 4};
constexpr Field kVci{52, 4};
constexpr Field kProtocol{56, 4};
constexpr Field kEncap{60, 4};
constexpr Field kDhcpc{64, 4};
constexpr Field kPppUsername{68, 264};
constexpr Field kPppPassword{332, 40};
constexpr Field kIp{372, 16};
constexpr Field kMask{388, 16};
constexpr Field kGw{404, 16};
constexpr Field kAutoGw{420, 4};
constexpr Field kAutoDns{424, 4};
constexpr Field kDns{428, 16};
static_assert(kDns.offset + kDns.size == kPvc1RecordSize);

constexpr const char* kAnyAddress = "0.0.0.0";

uint32_t AsWire(int32_t value) {
  return static_cast<uint32_t>(value);
}

}  // namespace

Pvc1Record Pvc1RecordFromSettings(const ModemSettings& settings) {
  Pvc1Record record;
  record.vpi = AsWire(settings.vpi);
  record.vci = AsWire(settings.vci);
  const uint32_t encap = AsWire(settings.encapsulation);
  switch (settings.connectionType) {
    case kConnectionPppoe:
    case kConnectionPppoa:
      record.protocol = settings.connectionType == kConnectionPppoe ? 0 : 1;
      record.encap = encap;
      record.autoGW = 1;
      record.autoDNS = 1;
      record.dns = kAnyAddress;
      record.pppUsername = settings.pppUserName;
      record.pppPassword = settings.pppPassword;
      break;
    case kConnectionBridge:
      record.protocol = 3;
      record.encap = encap;
      break;
    case kConnectionStaticIp:
      record.protocol = 2;
      record.encap = encap;
      record.ip = settings.ipAddress;
      record.mask = settings.subnetMask;
      record.gw = settings.gateway;
      record.dns = settings.dnsServer;
      break;
    case kConnectionDynamicIp:
      record.protocol = 2;
      record.encap = encap;
      record.dhcpc = 1;
      record.autoGW = 1;
      record.autoDNS = 1;
      record.gw = kAnyAddress;
      record.dns = kAnyAddress;
      break;
    default:
      // An unknown connection type still carries the PVC, and nothing else.
      break;
  }
  return record;
}

void EncodePvc1Record(const Pvc1Record& record, uint8_t* out) {
  std::memset(out, 0, kPvc1RecordSize);
  WriteTextField(out + kTag.offset, kTag.size, kPvc1Tag);
  WriteBe32(out + kVpi.offset, record.vpi);
  WriteBe32(out + kVci.offset, record.vci);
  WriteBe32(out + kProtocol.offset, record.protocol);
  WriteBe32(out + kEncap.offset, record.encap);
  WriteBe32(out + kDhcpc.offset, record.dhcpc);
  WriteTextField(out + kPppUsername.offset, kPppUsername.size, record.pppUsername);
  WriteTextField(out + kPppPassword.offset, kPppPassword.size, record.pppPassword);
  WriteTextField(out + kIp.offset, kIp.size, record.ip);
  WriteTextField(out + kMask.offset, kMask.size, record.mask);
  WriteTextField(out + kGw.offset, kGw.size, record.gw);
  WriteBe32(out + kAutoGw.offset, record.autoGW);
  WriteBe32(out + kAutoDns.offset, record.autoDNS);
  WriteTextField(out + kDns.offset, kDns.size, record.dns);
}

// A reply shorter than the record is refused outright: reading its fields would run past the
// datagram into whatever the receive buffer held before.
std::optional<Pvc1Record> DecodePvc1Record(const uint8_t* payload, size_t length) {
  const size_t tagLength = std::strlen(kPvc1Tag);
  if (payload == nullptr || length < kPvc1RecordSize) return std::nullopt;
  if (std::memcmp(payload, kPvc1Tag, tagLength + 1) != 0) return std::nullopt;
  Pvc1Record record;
  record.vpi = ReadBe32(payload + kVpi.offset);
  record.vci = ReadBe32(payload + kVci.offset);
  record.protocol = ReadBe32(payload + kProtocol.offset);
  record.encap = ReadBe32(payload + kEncap.offset);
  record.dhcpc = ReadBe32(payload + kDhcpc.offset);
  record.pppUsername = ReadTextField(payload + kPppUsername.offset, kPppUsername.size);
  record.pppPassword = ReadTextField(payload + kPppPassword.offset, kPppPassword.size);
  record.ip = ReadTextField(payload + kIp.offset, kIp.size);
  record.mask = ReadTextField(payload + kMask.offset, kMask.size);
  record.gw = ReadTextField(payload + kGw.offset, kGw.size);
  record.autoGW = ReadBe32(payload + kAutoGw.offset);
  record.autoDNS = ReadBe32(payload + kAutoDns.offset);
  record.dns = ReadTextField(payload + kDns.offset, kDns.size);
  return record;
}

void ApplyPvc1Record(const Pvc1Record& record, ModemSettings& settings) {
  settings.vpi = static_cast<int32_t>(record.vpi);
  settings.vci = static_cast<int32_t>(record.vci);
  settings.encapsulation = static_cast<int32_t>(record.encap);
  settings.pppUserName = record.pppUsername;
  settings.pppPassword = record.pppPassword;
  settings.ipAddress = record.ip;
  settings.subnetMask = record.mask;
  settings.gateway = record.gw;
  settings.dnsServer = record.dns;
  if (record.protocol == 2) {
    const bool automatic = record.dhcpc == 1 && record.autoGW == 1 && record.autoDNS == 1;
    settings.connectionType = automatic ? kConnectionDynamicIp : kConnectionStaticIp;
  } else {
    settings.connectionType = static_cast<int32_t>(record.protocol);
  }
}

}  // namespace quillon::modem
