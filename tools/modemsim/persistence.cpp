#include "persistence.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quillon::modemsim {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendSection(std::string& out, std::string_view prefix, const SimConfig& config) {
  ForEachField(config, [&](std::string_view name, const std::string& value) {
    out.append(prefix).append(name).append("=").append(EscapeValue(value)).append("\n");
  });
}

}  // namespace

std::string EscapeValue(std::string_view value) {
  std::string out;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte >= 0x7f) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapeValue(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    const char kind = text[i];
    if (kind == '\\') {
      out += '\\';
    } else if (kind == 'n') {
      out += '\n';
    } else if (kind == 'r') {
      out += '\r';
    } else if (kind == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

std::string FormatState(const SimConfig& saved, const SimConfig& pending,
                        const SimCounters& counters) {
  std::string out = "# modemsim state\n";
  AppendSection(out, "saved.", saved);
  AppendSection(out, "pending.", pending);
  out += "counters.pvc1Sets=" + std::to_string(counters.pvc1Sets) + "\n";
  out += "counters.wirelessSets=" + std::to_string(counters.wirelessSets) + "\n";
  out += "counters.saveReboots=" + std::to_string(counters.saveReboots) + "\n";
  out += "counters.factoryResets=" + std::to_string(counters.factoryResets) + "\n";
  return out;
}

// Two passes: the factory keys first, then the saved configuration starts as that factory
// configuration and takes the saved keys, so a file that names only factory values describes
// a modem that was never configured.
std::optional<std::string> ApplyConfigText(std::string_view text, SimConfig& factory,
                                           SimConfig& saved) {
  for (const bool factoryPass : {true, false}) {
    if (!factoryPass) saved = factory;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == '#') continue;
      const std::string where = "line " + std::to_string(number) + ": ";
      const size_t equals = line.find('=');
      if (equals == std::string::npos) return where + "no '='";
      const std::string_view key = std::string_view(line).substr(0, equals);
      const std::optional<std::string> value =
          UnescapeValue(std::string_view(line).substr(equals + 1));
      if (!value) return where + "bad escape in the value";
      if (key.starts_with("pending.") || key.starts_with("counters.")) continue;
      const bool isFactory = key.starts_with("factory.");
      if (!isFactory && !key.starts_with("saved."))
        return where + "unknown key '" + std::string(key) + "'";
      if (isFactory != factoryPass) continue;
      SimConfig& target = isFactory ? factory : saved;
      if (!SetField(target, key.substr(key.find('.') + 1), *value))
        return where + "unknown field or bad value for '" + std::string(key) + "'";
    }
  }
  return std::nullopt;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << contents;
    out.flush();
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  return !error;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace quillon::modemsim
