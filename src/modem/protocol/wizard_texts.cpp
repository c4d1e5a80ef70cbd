#include "modem/protocol/wizard_texts.h"

#include "modem/protocol/modem_settings.h"

namespace quillon::modem {

namespace {

constexpr std::string_view kLlc = "LLC";
constexpr std::string_view kVcMux = "VC-MUX";

struct ProtocolRow {
  std::string_view text;
  int32_t connectionType;
};
constexpr ProtocolRow kProtocols[] = {
    {"PPPoE", kConnectionPppoe},        {"PPPoA", kConnectionPppoa},
    {"Static IP", kConnectionStaticIp}, {"Dynamic IP", kConnectionDynamicIp},
    {"Bridge", kConnectionBridge},
};

struct SecurityRow {
  std::string_view pageText;
  std::string_view security;
};
constexpr SecurityRow kSecurities[] = {
    {"None", kSecurityNone},       {"WEP Key(64 bits)", kSecurityWep64},
    {"WEP 64bit", kSecurityWep64}, {"WEP Key(128 bits)", kSecurityWep128},
    {"WPA PSK", kSecurityPsk},     {"WPA-PSK", kSecurityPsk},
    {"WPA2 PSK", kSecurityPsk2},
};

}  // namespace

std::optional<ConnectionCodes> ConnectionCodesFromTexts(std::string_view protocolText,
                                                        std::string_view encapsulationText) {
  for (const ProtocolRow& row : kProtocols) {
    if (row.text != protocolText) continue;
    // PPPoA calls LLC 1 and VC multiplexing 0; every other protocol the reverse.
    const bool llc = encapsulationText == kLlc;
    const bool pppoa = row.connectionType == kConnectionPppoa;
    return ConnectionCodes{row.connectionType, (llc == pppoa) ? 1 : 0};
  }
  return std::nullopt;
}

std::string_view ProtocolText(int32_t connectionType) {
  for (const ProtocolRow& row : kProtocols)
    if (row.connectionType == connectionType) return row.text;
  return kProtocols[0].text;
}

std::string_view EncapsulationText(int32_t connectionType, int32_t encapsulation) {
  const bool pppoa = connectionType == kConnectionPppoa;
  if (encapsulation == 0) return pppoa ? kVcMux : kLlc;
  if (encapsulation == 1) return pppoa ? kLlc : kVcMux;
  return kLlc;
}

std::optional<std::string_view> SecurityFromPageText(std::string_view pageText) {
  for (const SecurityRow& row : kSecurities)
    if (row.pageText == pageText) return row.security;
  return std::nullopt;
}

}  // namespace quillon::modem
