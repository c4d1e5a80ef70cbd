#pragma once

#include <string>

namespace platform {

// The process's environment variables. Windows and POSIX spell these differently; the names
// avoid the Win32 API's macros.
void SetEnvVar(const std::string& name, const std::string& value);
void UnsetEnvVar(const std::string& name);

}  // namespace platform
