#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/files.h"

// A relative path written with "/", spelled with the system's separator as the wizard builds it.
inline std::string NativePath(std::string relative) {
  std::replace(relative.begin(), relative.end(), '/', platform::kPathSeparator);
  return relative;
}

// A private copy of the sample edition, laid out like the CD (an executable path at its root),
// that a test may change freely and that is removed afterwards.
class CdImage {
 public:
  CdImage() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("quillon-cd-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(root_);
    std::filesystem::copy(QUILLON_TEST_DATA_DIR, root_, std::filesystem::copy_options::recursive);
  }
  ~CdImage() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  CdImage(const CdImage&) = delete;
  CdImage& operator=(const CdImage&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::string exePath() const { return (root_ / "quillon").string(); }
  // The root folder as the wizard names it: with the system's separator at the end.
  std::string folder() const { return root_.string() + platform::kPathSeparator; }
  // A path under the root, written with "/" and spelled with the system's separator.
  std::string native(const std::string& relative) const { return folder() + NativePath(relative); }
  std::filesystem::path language(const std::string& name) const {
    return root_ / "Language" / name;
  }

  void Write(const std::filesystem::path& relative, const std::string& text) const {
    std::ofstream(root_ / relative, std::ios::binary) << text;
  }
  std::string Read(const std::filesystem::path& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void Remove(const std::filesystem::path& relative) const {
    std::filesystem::remove(root_ / relative);
  }
  // The value of KEY in a settings file, as written there ("IMG_MainMenuDlgBG.Picture").
  std::string SettingsValue(const std::string& language, const std::string& key) const {
    std::istringstream lines(Read(std::filesystem::path("Language") / language / "dslutility.ini"));
    std::string line;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return {};
  }
  // Line n of a catalogue file, as written there.
  std::string CatalogueLine(const std::string& language, const std::string& file, int n) const {
    std::istringstream lines(Read(std::filesystem::path("Language") / language / file));
    std::string line;
    for (int i = 0; std::getline(lines, line); ++i) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (i == n) return line;
    }
    return {};
  }

 private:
  std::filesystem::path root_;
};
