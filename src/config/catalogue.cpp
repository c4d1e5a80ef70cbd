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
