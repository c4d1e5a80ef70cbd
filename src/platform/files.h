#pragma once

#include <string>

namespace platform {

// Folder texts end with this separator and files are named by concatenation, the way the
// configuration code builds "Language" + separator + name + separator.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

}  // namespace platform
