#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace platform::posix {

// The values of one key in the order they were first set.
using RegistryValues = std::vector<std::pair<std::string, std::string>>;

// One "name=text" line per value. A backslash, a line break, a carriage return and "=" are
// written as \\, \n, \r and \= so that any 8-bit name and text survive the round trip.
std::string FormatRegistryValues(const RegistryValues& values);
RegistryValues ParseRegistryValues(std::string_view text);

// The file that holds a key: "Software\\Norvane\\Quillon" under `rootFolder` is
// rootFolder/Software/Norvane/Quillon.reg, and the keys below it live in the folder
// rootFolder/Software/Norvane/Quillon/. None for a path that could leave the root: an empty key
// name, ".", "..", a "/" or NUL in a name, or a name ending in ".reg" (it would meet a key file).
std::optional<std::string> RegistryKeyFile(const std::string& rootFolder,
                                           const std::string& keyPath);

// A registry kept in files, one per key; `rootFolder` tells where each root lives. Folders are
// created private to the user (0700) and files likewise (0600): the wireless key is a secret.
class FileRegistry final : public RegistryService {
 public:
  explicit FileRegistry(std::function<std::string(RegistryRoot)> rootFolder)
      : rootFolder_(std::move(rootFolder)) {}

  bool WriteText(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                 const std::string& text) override;
  std::optional<std::string> ReadText(RegistryRoot root, const std::string& keyPath,
                                      const std::string& valueName,
                                      std::size_t bufferSize) override;
  bool KeyExists(RegistryRoot root, const std::string& keyPath) override;

 private:
  std::function<std::string(RegistryRoot)> rootFolder_;
  std::mutex mutex_;  // one read-modify-write of a key file at a time within the process
};

}  // namespace platform::posix
