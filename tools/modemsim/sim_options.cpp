#include "sim_options.h"

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace quillon::modemsim {

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ParseProbability(std::string_view text, double& out) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (copy.empty() || end != copy.c_str() + copy.size() || !(value >= 0 && value <= 1))
    return false;
  out = value;
  return true;
}

// The discovery reply is token text: a value holding a bracket or "=" would break it.
bool ParseTokenValue(std::string_view text, std::string& out) {
  if (text.find_first_of(std::string_view("<=>\0", 4)) != std::string_view::npos) return false;
  out = std::string(text);
  return true;
}

bool ParseNonEmpty(std::string_view text, std::string& out) {
  if (text.empty()) return false;
  out = std::string(text);
  return true;
}

bool ParseMacInto(std::string_view text, modem::MacAddress& out) {
  const std::optional<modem::MacAddress> mac = ParseMac(text);
  if (mac) out = *mac;
  return mac.has_value();
}

struct OptionEntry {
  std::string_view name;
  std::string_view value;  // what the value is; empty for a switch
  std::string_view help;
  bool (*apply)(SimOptions&, std::string_view);
};

const OptionEntry kOptions[] = {
    {"bind", "ADDR", "IPv4 address to listen on (numeric). Default 0.0.0.0.",
     [](SimOptions& o, std::string_view v) { return ParseNonEmpty(v, o.bindAddress); }},
    {"port", "N", "UDP port; 0 picks a free one. Default 65002.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.port); }},
    {"mac", "MAC", "The modem's MAC address. Default 02:00:00:51:20:01.",
     [](SimOptions& o, std::string_view v) { return ParseMacInto(v, o.firmware.mac); }},
    {"model", "TEXT", "Model name in the discovery reply. Default QR-5120G.",
     [](SimOptions& o, std::string_view v) { return ParseTokenValue(v, o.firmware.model); }},
    {"password", "TEXT", "Router password in the discovery reply. Default tulip.",
     [](SimOptions& o, std::string_view v) { return ParseTokenValue(v, o.firmware.password); }},
    {"ip", "TEXT", "The modem's own address in the discovery reply. Default 198.51.100.1.",
     [](SimOptions& o, std::string_view v) { return ParseTokenValue(v, o.firmware.ipAddress); }},
    {"firmware-version", "TEXT", "Firmware version in the discovery reply. Default 2.0.3.",
     [](SimOptions& o, std::string_view v) {
       return ParseTokenValue(v, o.firmware.firmwareVersion);
     }},
    {"line-down", "", "Start with the DSL line down (SIGUSR1 brings it up, SIGUSR2 down).",
     [](SimOptions& o, std::string_view) {
       o.firmware.lineUp = false;
       return true;
     }},
    {"line-rate-up", "KBPS", "Upstream rate reported while the line is up. Default 1024.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.firmware.lineRateUpKbps); }},
    {"line-rate-down", "KBPS", "Downstream rate reported while the line is up. Default 8192.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.firmware.lineRateDownKbps); }},
    {"wan-up-polls", "N",
     "The first N WAN status queries after each boot report 2 (connecting). Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.firmware.wanUpAfterPolls); }},
    {"wan-up-ms", "MS", "No WAN status 6 until MS after each boot. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.firmware.wanUpAfterMs); }},
    {"isp-user", "TEXT",
     "The ISP's PPP user name: the WAN stays down (status 4) unless the saved one matches.",
     [](SimOptions& o, std::string_view v) {
       o.firmware.ispUser = std::string(v);
       return true;
     }},
    {"isp-password", "TEXT", "The ISP's PPP password, checked like --isp-user.",
     [](SimOptions& o, std::string_view v) {
       o.firmware.ispPassword = std::string(v);
       return true;
     }},
    {"reboot-ms", "MS", "How long a reboot keeps the modem silent. Default 5000.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.firmware.rebootMs); }},
    {"config", "FILE", "Initial configuration: saved.* and factory.* keys of the state file form.",
     [](SimOptions& o, std::string_view v) { return ParseNonEmpty(v, o.configFile); }},
    {"state-file", "FILE",
     "Write the configuration here after every save or factory reset, on SIGHUP and on exit.",
     [](SimOptions& o, std::string_view v) { return ParseNonEmpty(v, o.stateFile); }},
    {"log", "FILE", "Log every datagram here instead of standard error.",
     [](SimOptions& o, std::string_view v) { return ParseNonEmpty(v, o.logFile); }},
    {"seed", "N", "Seed of the fault generator. Default 1.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.seed); }},
    {"drop", "P", "Probability that a reply is lost (the request still acts). Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseProbability(v, o.faults.drop); }},
    {"drop-first", "N", "Ignore the first N requests altogether. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.dropFirst); }},
    {"duplicates", "N",
     "Send every reply N extra times; each copy draws its own damage from the faults below. "
     "Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.duplicates); }},
    {"delay-ms", "MS", "Send every reply MS after its request. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.delayMs); }},
    {"stale-seq", "P",
     "Probability that a reply carries the sequence number before its request's. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseProbability(v, o.faults.staleSequence); }},
    {"foreign-mac", "P",
     "Probability that a reply carries --foreign-mac-address as its MAC. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseProbability(v, o.faults.foreignMac); }},
    {"foreign-mac-address", "MAC", "The MAC of --foreign-mac replies. Default 02:00:00:00:0f:0f.",
     [](SimOptions& o, std::string_view v) { return ParseMacInto(v, o.faults.foreignMacAddress); }},
    {"malformed-tokens", "P",
     "Probability that a discovery, line rate or WAN status reply loses its last '>'. Default 0.",
     [](SimOptions& o, std::string_view v) {
       return ParseProbability(v, o.faults.malformedTokens);
     }},
    {"truncate-records", "P",
     "Probability that a <pvc1> or <wireless> reply is cut to half the record. Default 0.",
     [](SimOptions& o, std::string_view v) {
       return ParseProbability(v, o.faults.truncateRecords);
     }},
    {"no-return-after-reboot", "", "Acknowledge a reboot command, then never answer again.",
     [](SimOptions& o, std::string_view) {
       o.faults.noReturnAfterReboot = true;
       return true;
     }},
    {"reorder", "P",
     "Probability that a reply is held back and sent right after the next reply. Default 0.",
     [](SimOptions& o, std::string_view v) { return ParseProbability(v, o.faults.reorder); }},
    {"unplug-after", "N",
     "Pull the LAN cable after N requests: the requests after it are lost. Default 0 (never).",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.unplugAfter); }},
    {"unplug-for", "N",
     "Plug the cable in again after N lost requests. Default 0 (left out for good).",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.unplugFor); }},
    {"line-drop-after", "N", "The DSL line goes down after N requests. Default 0 (never).",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.lineDropAfter); }},
    {"line-down-for", "N",
     "The dropped line comes back N requests later. Default 0 (it stays down).",
     [](SimOptions& o, std::string_view v) { return ParseNumber(v, o.faults.lineDownFor); }},
};

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions)
    if (entry.name == name) return &entry;
  return nullptr;
}

}  // namespace

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      continue;
    }
    if (!arg.starts_with("--")) {
      parsed.error = "unexpected argument '" + args[i] + "'";
      return parsed;
    }
    arg.remove_prefix(2);
    const size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const OptionEntry* entry = FindOption(name);
    if (entry == nullptr) {
      parsed.error = "unknown option --" + std::string(name);
      return parsed;
    }
    std::string_view value;
    if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (!entry->value.empty()) {
      if (i + 1 >= args.size()) {
        parsed.error = "--" + std::string(name) + " needs a value";
        return parsed;
      }
      value = args[++i];
    }
    if ((entry->value.empty() && equals != std::string_view::npos) ||
        !entry->apply(parsed.options, value)) {
      parsed.error = "bad value for --" + std::string(name);
      return parsed;
    }
  }
  return parsed;
}

std::string HelpText() {
  std::string text =
      "Usage: modemsim [OPTION]...\n"
      "Simulates the firmware side of the modem control protocol on a real UDP socket and\n"
      "prints 'listening ADDR:PORT' on standard output once bound. Replies go back to the\n"
      "sender's address. Queries answer from the saved configuration; set requests change a\n"
      "pending one that the command 'saveReboot' saves before the modem reboots; the\n"
      "command 'rebootDefault' restores the factory configuration and reboots. WAN status:\n"
      "0 line down, 2 connecting, 4 ISP account refused, 6 up. The discovery reply is\n"
      "<macAddress=M><fwVersion=V><modelName=N><hwVersion=A1><routerPassword=P><ipAddress=A>.\n\n"
      "Signals: SIGUSR1 line up, SIGUSR2 line down, SIGHUP write the state file,\n"
      "SIGTERM and SIGINT write the state file and exit.\n\n"
      "The request counts of --drop-first, --unplug-* and --line-* take every datagram with a\n"
      "header that arrives while the modem is not rebooting, so they act at the same step of\n"
      "a run however fast or slow it goes.\n\n"
      "The state file has one key=value a line: saved.*, pending.* and factory.* record\n"
      "fields by wire name (saved.pvc1.vpi, saved.wireless.wlSsid, ...) and counters.*;\n"
      "values escape '\\', newlines and other control bytes as \\\\, \\n, \\r, \\xHH.\n\n"
      "Options:\n";
  constexpr size_t kHelpColumn = 30;
  constexpr size_t kWidth = 79;
  for (const OptionEntry& entry : kOptions) {
    std::string line = "  --" + std::string(entry.name);
    if (!entry.value.empty()) line += " " + std::string(entry.value);
    line.resize(std::max(line.size() + 2, kHelpColumn), ' ');
    // Word-wrap the description under its own column.
    std::string_view words = entry.help;
    while (!words.empty()) {
      const size_t space = words.find(' ');
      const std::string_view word = words.substr(0, space);
      if (line.size() + word.size() > kWidth && line.size() > kHelpColumn) {
        line.pop_back();
        text += line + "\n";
        line = std::string(kHelpColumn, ' ');
      }
      line.append(word);
      if (space == std::string_view::npos) break;
      line += ' ';
      words.remove_prefix(space + 1);
    }
    text += line + "\n";
  }
  text += "  --help                      Show this text.\n";
  return text;
}

}  // namespace quillon::modemsim
