#include "ctl_options.h"

#include <charconv>
#include <string_view>

namespace modemctl {

namespace {

template <typename Number>
bool ParseWhole(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "1,4,7": start states 1 to 8 (state 9 sends nothing and a run started there never ends).
bool ParseStates(std::string_view text, std::vector<int32_t>& states) {
  for (;;) {
    const size_t comma = text.find(',');
    int32_t state = 0;
    if (!ParseWhole(text.substr(0, comma), state) || state < 1 || state > 8) return false;
    states.push_back(state);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

bool SetSettingsField(quillon::modem::ModemSettings& s, const std::string& assignment) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos) return false;
  const std::string name = assignment.substr(0, equals);
  const std::string value = assignment.substr(equals + 1);
  struct IntField {
    const char* name;
    int32_t quillon::modem::ModemSettings::*field;
  };
  static const IntField kInts[] = {
      {"connectionType", &quillon::modem::ModemSettings::connectionType},
      {"vpi", &quillon::modem::ModemSettings::vpi},
      {"vci", &quillon::modem::ModemSettings::vci},
      {"encapsulation", &quillon::modem::ModemSettings::encapsulation},
      {"wlChannel", &quillon::modem::ModemSettings::wlChannel},
      {"wlKeyNumber", &quillon::modem::ModemSettings::wlKeyNumber}};
  struct TextField {
    const char* name;
    std::string quillon::modem::ModemSettings::*field;
  };
  static const TextField kTexts[] = {
      {"pppUserName", &quillon::modem::ModemSettings::pppUserName},
      {"pppPassword", &quillon::modem::ModemSettings::pppPassword},
      {"ipAddress", &quillon::modem::ModemSettings::ipAddress},
      {"subnetMask", &quillon::modem::ModemSettings::subnetMask},
      {"gateway", &quillon::modem::ModemSettings::gateway},
      {"dnsServer", &quillon::modem::ModemSettings::dnsServer},
      {"wlSsid", &quillon::modem::ModemSettings::wlSsid},
      {"wlKey", &quillon::modem::ModemSettings::wlKey},
      {"wlSecurity", &quillon::modem::ModemSettings::wlSecurity},
      {"wlCountryCode", &quillon::modem::ModemSettings::wlCountryCode}};
  for (const IntField& f : kInts)
    if (name == f.name) return ParseWhole(std::string_view(value), s.*f.field);
  for (const TextField& f : kTexts) {
    if (name != f.name) continue;
    s.*f.field = value;
    return true;
  }
  return false;
}

ParsedCtlOptions ParseCtlOptions(const std::vector<std::string>& args) {
  ParsedCtlOptions parsed;
  CtlOptions& o = parsed.options;
  auto fail = [&](std::string message) {
    parsed.error = std::move(message);
    return parsed;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--dest" || arg == "--port" || arg == "--settings" || arg == "--set") {
      if (!hasValue) return fail(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--dest") {
        o.destination = value;
      } else if (arg == "--port") {
        if (!ParseWhole(std::string_view(value), o.port)) return fail("bad port '" + value + "'");
      } else if (arg == "--settings") {
        o.settingsFile = value;
      } else if (!SetSettingsField(o.settings, value)) {
        return fail("bad --set '" + value + "'");
      }
    } else if (arg == "--linerate-after-discovery") {
      o.lineRateAfterDiscovery = true;
    } else if (arg == "--pvc1-after-linerate") {
      o.pvc1AfterLineRate = true;
    } else if (arg == "--no-dns-after-wan-up") {
      o.dnsAfterWanUp = false;
    } else if (arg.starts_with("-")) {
      return fail("unknown option " + arg);
    } else if (!o.states.empty()) {
      return fail("unexpected argument '" + arg + "'");
    } else if (!ParseStates(arg, o.states)) {
      return fail("bad start states '" + arg + "' (1 to 8, separated by commas)");
    }
  }
  if (o.states.empty() && !parsed.help) return fail("no start states given");
  return parsed;
}

std::string CtlHelpText() {
  return "Usage: modemctl [OPTION]... STATES\n"
         "Runs the modem control engine once for each start state of STATES (a comma-separated\n"
         "list such as 1,4,7), one after the other, stopping at the first run that fails. Prints\n"
         "the engine's log as it goes, with the reasons of dropped replies and of socket errors\n"
         "and a line 'verdict: ...' that ends each run (a failure says whether no reply came or\n"
         "the replies were rejected), then one line 'result: STATE SESSIONRESULT' per run, where\n"
         "STATE is the state the run ended in and SESSIONRESULT is 1 (succeeded) or 0 (failed).\n"
         "Exit status: 0 when every run succeeded, 1 otherwise, 2 on bad usage.\n\n"
         "States: 1 discovery, 2 line rate, 3 PVC query, 4 set PVC, 5 wireless query,\n"
         "6 set wireless, 7 save and reboot, 8 WAN status (then the internet name test).\n\n"
         "Options:\n"
         "  --dest ADDR                 Destination address. Default 255.255.255.255.\n"
         "  --port N                    Destination port. Default 65002.\n"
         "  --settings FILE             Take the time-outs from this settings file.\n"
         "  --linerate-after-discovery  Go on from discovery to the line-rate query.\n"
         "  --pvc1-after-linerate       Go on from a line that is up to the PVC query.\n"
         "  --no-dns-after-wan-up       End the WAN status run without the name test.\n"
         "  --set FIELD=VALUE           Set a field of the modem settings: connectionType, vpi,\n"
         "                              vci, encapsulation, pppUserName, pppPassword, ipAddress,\n"
         "                              subnetMask, gateway, dnsServer, wlChannel, wlSsid, wlKey,\n"
         "                              wlSecurity, wlCountryCode, wlKeyNumber.\n"
         "  --help                      Show this text.\n";
}

}  // namespace modemctl
