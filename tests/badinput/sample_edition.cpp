#include "sample_edition.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace badinput {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

const char* KindName(FileKind kind) {
  switch (kind) {
    case FileKind::kProfile:
      return "profile";
    case FileKind::kSettings:
      return "settings";
    case FileKind::kDefaults:
      return "defaults";
    case FileKind::kCatalogue:
      return "catalogue";
    case FileKind::kIspDatabase:
      return "ISP database";
    case FileKind::kPicture:
      return "picture";
    case FileKind::kDocument:
      return "document";
    case FileKind::kUnread:
      return "unread";
  }
  return "?";
}

SampleEdition::SampleEdition(fs::path root) : root_(std::move(root)) {
  for (const auto& entry : fs::recursive_directory_iterator(root_))
    if (entry.is_regular_file())
      files_.push_back(fs::relative(entry.path(), root_).generic_string());
  std::sort(files_.begin(), files_.end());
}

std::string SampleEdition::ValueIn(const fs::path& relative, const std::string& key) const {
  for (const std::string& line : Lines(root_ / relative))
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

std::string SampleEdition::defaultLanguage() const {
  return ValueIn("setup.ini", "DefaultLanguage");
}

std::string SampleEdition::SettingsValue(const std::string& language, bool kit,
                                         const std::string& key) const {
  return ValueIn(fs::path("Language") / language / (kit ? "dslutility_kit.ini" : "dslutility.ini"),
                 key);
}

std::string SampleEdition::DefaultsValue(const std::string& language,
                                         const std::string& key) const {
  return ValueIn(fs::path("Language") / language / "default.ini", key);
}

std::string SampleEdition::CatalogueLine(const std::string& language, const std::string& file,
                                         int n) const {
  const std::vector<std::string> lines = Lines(root_ / "Language" / language / file);
  return n < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(n)] : std::string();
}

std::vector<std::string> SampleEdition::languages() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(root_ / "Language"))
    if (fs::exists(entry.path() / "dslutility.ini") ||
        fs::exists(entry.path() / "dslutility_kit.ini"))
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ExpandLineBreaks(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool lineBreak = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n';
    out += lineBreak ? '\n' : text[i];
    if (lineBreak) ++i;
  }
  return out;
}

}  // namespace badinput
