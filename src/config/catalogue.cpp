#include "config/catalogue.h"

#include <optional>

#include "config/text_lines.h"

namespace quillon::config {

bool loadCatalogue(Catalogue& catalogue, const std::string& path) {
  const std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return false;
  catalogue.lines.clear();
  forEachLine(*bytes, [&](std::string_view line) { catalogue.lines.emplace_back(line); });
  return true;
}

bool loadApplicationMessages(Catalogue& catalogue, const std::string& languageFolder) {
  return loadCatalogue(catalogue, languageFolder + "application.err");
}

bool loadCommonMessages(Catalogue& catalogue, const std::string& languageFolder) {
  return loadCatalogue(catalogue, languageFolder + "common.err");
}

std::string message(const Catalogue& catalogue, int n) {
  if (n < 0 || static_cast<std::size_t>(n) >= catalogue.lines.size()) return {};
  return catalogue.lines[static_cast<std::size_t>(n)];
}

std::string applicationMessage(const Catalogue& catalogue, int n) {
  struct BuiltIn {
    int line;
    std::string_view english;
  };
  static constexpr BuiltIn kBuiltIn[] = {
      {kSeveralModemsMessage,
       "Two routers answer on two network cables of your computer. Please unplug the cable of the "
       "router that you do not want to set up, and try again."},
  };
  std::string text = message(catalogue, n);
  if (!text.empty()) return text;
  for (const BuiltIn& builtIn : kBuiltIn)
    if (builtIn.line == n) return std::string(builtIn.english);
  return text;
}

std::string expandLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace quillon::config
