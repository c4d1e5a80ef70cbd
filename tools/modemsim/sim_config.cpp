#include "sim_config.h"

#include <charconv>
#include <cstdio>
#include <variant>

namespace quillon::modemsim {

namespace {

using Pvc1Number = uint32_t modem::Pvc1Record::*;
using Pvc1Text = std::string modem::Pvc1Record::*;
using WirelessText = std::string modem::WirelessRecord::*;

struct FieldEntry {
  std::string_view name;
  std::variant<Pvc1Number, Pvc1Text, WirelessText> member;
};

using modem::Pvc1Record;
using modem::WirelessRecord;

const FieldEntry kFields[] = {
    {"pvc1.vpi", &Pvc1Record::vpi},
    {"pvc1.vci", &Pvc1Record::vci},
    {"pvc1.protocol", &Pvc1Record::protocol},
    {"pvc1.encap", &Pvc1Record::encap},
    {"pvc1.dhcpc", &Pvc1Record::dhcpc},
    {"pvc1.pppUsername", &Pvc1Record::pppUsername},
    {"pvc1.pppPassword", &Pvc1Record::pppPassword},
    {"pvc1.ip", &Pvc1Record::ip},
    {"pvc1.mask", &Pvc1Record::mask},
    {"pvc1.gw", &Pvc1Record::gw},
    {"pvc1.autoGW", &Pvc1Record::autoGW},
    {"pvc1.autoDNS", &Pvc1Record::autoDNS},
    {"pvc1.dns", &Pvc1Record::dns},
    {"wireless.wlChannel", &WirelessRecord::wlChannel},
    {"wireless.wlSsid", &WirelessRecord::wlSsid},
    {"wireless.wlKeyBit", &WirelessRecord::wlKeyBit},
    {"wireless.wlKey", &WirelessRecord::wlKey},
    {"wireless.wlWpaPsk", &WirelessRecord::wlWpaPsk},
    {"wireless.wlWep", &WirelessRecord::wlWep},
    {"wireless.wlWpa", &WirelessRecord::wlWpa},
    {"wireless.wlAuthMode", &WirelessRecord::wlAuthMode},
    {"wireless.wlCountryCode", &WirelessRecord::wlCountryCode},
    {"wireless.wlKeyNumber", &WirelessRecord::wlKeyNumber},
};

std::string ValueOf(const SimConfig& config, const FieldEntry& field) {
  if (const auto* number = std::get_if<Pvc1Number>(&field.member))
    return std::to_string(config.pvc1.*(*number));
  if (const auto* text = std::get_if<Pvc1Text>(&field.member)) return config.pvc1.*(*text);
  return config.wireless.*std::get<WirelessText>(field.member);
}

}  // namespace

SimConfig FactoryConfig() {
  SimConfig config;
  config.pvc1.vpi = 8;
  config.pvc1.vci = 35;
  config.pvc1.protocol = 0;
  config.pvc1.encap = 0;
  config.pvc1.autoGW = 1;
  config.pvc1.autoDNS = 1;
  config.pvc1.dns = "0.0.0.0";
  config.wireless.wlChannel = "6";
  config.wireless.wlSsid = "default";
  config.wireless.wlKeyBit = "";
  config.wireless.wlWep = "disabled";
  config.wireless.wlAuthMode = "open";
  config.wireless.wlCountryCode = "ALL";
  config.wireless.wlKeyNumber = "1";
  return config;
}

void ForEachField(const SimConfig& config,
                  const std::function<void(std::string_view, const std::string&)>& visit) {
  for (const FieldEntry& field : kFields) visit(field.name, ValueOf(config, field));
}

bool SetField(SimConfig& config, std::string_view name, std::string_view value) {
  for (const FieldEntry& field : kFields) {
    if (field.name != name) continue;
    if (const auto* number = std::get_if<Pvc1Number>(&field.member)) {
      uint32_t parsed = 0;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
      if (value.empty() || error != std::errc() || end != value.data() + value.size()) return false;
      config.pvc1.*(*number) = parsed;
    } else if (const auto* text = std::get_if<Pvc1Text>(&field.member)) {
      config.pvc1.*(*text) = std::string(value);
    } else {
      config.wireless.*std::get<WirelessText>(field.member) = std::string(value);
    }
    return true;
  }
  return false;
}

std::string FormatMac(const modem::MacAddress& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return text;
}

std::optional<modem::MacAddress> ParseMac(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  modem::MacAddress mac{};
  for (size_t i = 0; i < mac.size(); ++i) {
    const char* begin = text.data() + i * 3;
    if (i > 0 && begin[-1] != ':' && begin[-1] != '-') return std::nullopt;
    const auto [end, error] = std::from_chars(begin, begin + 2, mac[i], 16);
    if (error != std::errc() || end != begin + 2) return std::nullopt;
  }
  return mac;
}

}  // namespace quillon::modemsim
