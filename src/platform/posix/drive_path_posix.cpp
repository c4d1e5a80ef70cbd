#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/drive_path.h"
#include "platform/posix/private_folder.h"

namespace platform {

std::string LocalDrivePath(const std::string& name) {
  if (name.size() < 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0])))
    return name;
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
  const std::string variable = std::string("QUILLON_") + upper + "_DRIVE";
  const char* configured = std::getenv(variable.c_str());
  std::string folder;
  if (configured && *configured) {
    folder = configured;
  } else {
    // The programs the wizard starts as root write their results here and are installed here,
    // so the default folder is ours alone; one that another user made first is not used.
    folder = posix::StateFolder() + "/" + lower;
    if (!posix::MakePrivateFolder(folder)) return {};
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  std::string rest = name.substr(2);
  for (char& c : rest)
    if (c == '\\') c = '/';
  // "C:\\x" names the drive's root, "C:x" its current folder; here both are the drive's folder.
  std::size_t first = rest.find_first_not_of('/');
  rest = first == std::string::npos ? std::string() : rest.substr(first);
  return rest.empty() ? folder : folder + "/" + rest;
}

}  // namespace platform
