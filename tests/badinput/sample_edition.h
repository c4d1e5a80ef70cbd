#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace badinput {

// What a file of the CD is to the wizard, which decides what its damage must lead to.
enum class FileKind {
  kProfile,      // setup.ini
  kSettings,     // a language's settings and skin file
  kDefaults,     // a language's default.ini
  kCatalogue,    // application.err, common.err, frm.str
  kIspDatabase,  // the file a settings file names as ISPFileList
  kPicture,      // a picture the wizard loads (found by a pristine run)
  kDocument,     // a document a main menu button opens
  kUnread,       // everything the wizard does not read on the way the probe walks
};

const char* KindName(FileKind kind);

// Read-only facts about the pristine sample edition, taken from its own files.
class SampleEdition {
 public:
  explicit SampleEdition(std::filesystem::path root);

  const std::filesystem::path& root() const { return root_; }
  // Every regular file, relative and '/'-separated, sorted.
  const std::vector<std::string>& files() const { return files_; }
  std::string defaultLanguage() const;
  // The value of a "key=value" line, as written ("" when there is none).
  std::string SettingsValue(const std::string& language, bool kit, const std::string& key) const;
  std::string DefaultsValue(const std::string& language, const std::string& key) const;
  std::string CatalogueLine(const std::string& language, const std::string& file, int n) const;
  // The language folders ("English", ...).
  std::vector<std::string> languages() const;

 private:
  std::string ValueIn(const std::filesystem::path& relative, const std::string& key) const;

  std::filesystem::path root_;
  std::vector<std::string> files_;
};

// Every backslash-n pair as a line break, as the ISP database message shows its text.
std::string ExpandLineBreaks(const std::string& text);

}  // namespace badinput
