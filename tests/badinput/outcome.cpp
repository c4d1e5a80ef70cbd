#include "outcome.h"

#include <cstdio>
#include <sstream>

namespace badinput {
namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    if (text[i] == '\\') {
      out += '\\';
    } else if (text[i] == 'n') {
      out += '\n';
    } else if (text[i] == 't') {
      out += '\t';
    } else if (text[i] == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

class Writer {
 public:
  void Add(const char* key, const std::string& value) {
    line_ += '\t';
    line_ += key;
    line_ += '=';
    line_ += Escape(value);
  }
  void Add(const char* key, int value) { Add(key, std::to_string(value)); }
  void Add(const char* key, bool value) { Add(key, std::string(value ? "1" : "0")); }
  void Add(const char* key, const std::vector<std::string>& values) {
    for (const std::string& value : values) Add(key, value);
  }
  std::string line() const { return "OUTCOME" + line_; }

 private:
  std::string line_;
};

bool Apply(Outcome& o, const std::string& key, const std::string& value) {
  auto flag = [&] { return value == "1"; };
  if (key == "damage")
    o.damage = value;
  else if (key == "exit")
    o.exitCode = std::stoi(value);
  else if (key == "halted")
    o.halted = flag();
  else if (key == "stalled")
    o.stalled = flag();
  else if (key == "endedIn")
    o.endedIn = value;
  else if (key == "started")
    o.started = flag();
  else if (key == "switched")
    o.switched = flag();
  else if (key == "langDir")
    o.langDir = value;
  else if (key == "switchedLangDir")
    o.switchedLangDir = value;
  else if (key == "language")
    o.languages.push_back(value);
  else if (key == "languagesVisible")
    o.languagesVisible = flag();
  else if (key == "countries")
    o.countryCount = std::stoi(value);
  else if (key == "qig")
    o.qigFileName = value;
  else if (key == "box")
    o.boxes.push_back(value);
  else if (key == "boxPhase")
    o.boxPhases.push_back(value);
  else if (key == "dialog")
    o.dialogs.push_back(value);
  else if (key == "blank")
    o.blankPictures = std::stoi(value);
  else if (key == "decoded")
    o.decodedPictures = std::stoi(value);
  else if (key == "loaded")
    o.loadedPictures.push_back(value);
  else
    return false;
  return true;
}

}  // namespace

std::string FormatOutcome(const Outcome& o) {
  Writer w;
  w.Add("damage", o.damage);
  w.Add("exit", o.exitCode);
  w.Add("halted", o.halted);
  w.Add("stalled", o.stalled);
  w.Add("endedIn", o.endedIn);
  w.Add("started", o.started);
  w.Add("switched", o.switched);
  w.Add("langDir", o.langDir);
  w.Add("switchedLangDir", o.switchedLangDir);
  w.Add("language", o.languages);
  w.Add("languagesVisible", o.languagesVisible);
  w.Add("countries", o.countryCount);
  w.Add("qig", o.qigFileName);
  w.Add("box", o.boxes);
  w.Add("boxPhase", o.boxPhases);
  w.Add("dialog", o.dialogs);
  w.Add("blank", o.blankPictures);
  w.Add("decoded", o.decodedPictures);
  w.Add("loaded", o.loadedPictures);
  return w.line();
}

std::optional<Outcome> ParseOutcome(const std::string& line) {
  std::istringstream fields(line);
  std::string field;
  if (!std::getline(fields, field, '\t') || field != "OUTCOME") return std::nullopt;
  Outcome o;
  while (std::getline(fields, field, '\t')) {
    const auto eq = field.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::optional<std::string> value = Unescape(field.substr(eq + 1));
    if (!value || !Apply(o, field.substr(0, eq), *value)) return std::nullopt;
  }
  return o;
}

bool SameObservableOutcome(const Outcome& a, const Outcome& b) {
  return a.exitCode == b.exitCode && a.halted == b.halted && a.stalled == b.stalled &&
         a.endedIn == b.endedIn && a.started == b.started && a.switched == b.switched &&
         a.langDir == b.langDir && a.switchedLangDir == b.switchedLangDir &&
         a.languages == b.languages && a.languagesVisible == b.languagesVisible &&
         a.countryCount == b.countryCount && a.qigFileName == b.qigFileName && a.boxes == b.boxes &&
         a.dialogs == b.dialogs && a.blankPictures == 0;
}

std::string Describe(const Outcome& o) {
  std::string text = FormatOutcome(o);
  // The loaded pictures make the line long and say nothing about a failure.
  const auto cut = text.find("\tloaded=");
  if (cut != std::string::npos) text.resize(cut);
  for (char& c : text)
    if (c == '\t') c = ' ';
  return text;
}

}  // namespace badinput
