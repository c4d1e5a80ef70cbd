// The three message catalogues as the wizard loads them, from a file of arbitrary bytes: every
// line is a message, the lookups stay inside the list, and the line-break expansion of the ISP
// database message neither grows a text nor loses a character.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "config/catalogue.h"
#include "config/customer_profile.h"
#include "config/dialog_texts.h"
#include "config/wireless_countries.h"

namespace {

namespace fs = std::filesystem;

// One folder per fuzzing process, in memory where the system has such a folder: the input is
// written to one file there, and the three catalogue names link to it, so that an input costs
// one write. The folder goes when the process ends.
const fs::path& FolderPath() {
  static const fs::path path =
      (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
      ("quillon-catalogue-fuzz-" + std::to_string(std::random_device{}()));
  return path;
}

const std::string& Folder() {
  static const std::string folder = [] {
    fs::create_directories(FolderPath());
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(FolderPath(), ignored);
    });
    std::ofstream(FolderPath() / "input", std::ios::binary);
    for (const char* name : {"application.err", "common.err", "frm.str"}) {
      std::error_code linked;
      fs::create_symlink("input", FolderPath() / name, linked);
      // Where links are not allowed, each catalogue gets a copy of every input instead.
      if (linked) std::ofstream(FolderPath() / name, std::ios::binary);
    }
    return FolderPath().string() + "/";
  }();
  return folder;
}

void WriteInput(const std::string& bytes) {
  for (const char* name : {"input", "application.err", "common.err", "frm.str"}) {
    const fs::path path = FolderPath() / name;
    if (fs::is_symlink(path)) continue;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
}

void CheckExpansion(std::string_view line) {
  const std::string expanded = quillon::config::expandLineBreaks(line);
  const auto breaks = [](std::string_view text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  // Each replaced pair becomes one line feed: the text shrinks by exactly as many new breaks.
  const auto added = breaks(expanded) - breaks(line);
  if (added < 0 || expanded.size() + static_cast<std::size_t>(added) != line.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillon::config;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  (void)Folder();
  WriteInput(bytes);

  Catalogue messages;
  Catalogue common;
  if (!loadApplicationMessages(messages, Folder()) || !loadCommonMessages(common, Folder()))
    std::abort();
  if (messages.lines != common.lines) std::abort();
  DialogTexts dialog;
  if (!loadDialogTexts(dialog, Folder()) || dialog.texts.lines != messages.lines) std::abort();

  // No line holds a line feed, and the lines with their breaks are the file again (a CR before
  // a LF is the line break's, a final LF ends the last line).
  std::size_t total = 0;
  for (const std::string& line : messages.lines) {
    if (line.find('\n') != std::string::npos) std::abort();
    total += line.size();
    CheckExpansion(line);
  }
  if (total > size) std::abort();
  const int count = static_cast<int>(messages.lines.size());
  if (!message(messages, count).empty() || !message(messages, -1).empty()) std::abort();
  if (count > 0 && message(messages, count - 1) != messages.lines.back()) std::abort();

  // A missing file keeps what was loaded, as a language switch relies on.
  if (loadCatalogue(messages, Folder() + "no-such-file") || messages.lines != common.lines)
    std::abort();

  // The names a catalogue line could be compared with.
  const std::string_view head = std::string_view(bytes).substr(0, 24);
  (void)languageIndex(head);
  (void)charsetForLanguage(head);
  const int row = wirelessCountryIndex(head);
  if (row < -1 || row >= kWirelessCountryCount) std::abort();
  return 0;
}
