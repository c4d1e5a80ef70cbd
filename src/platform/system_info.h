#pragma once

#include <string>

namespace platform {

// The English name of the system's default language ("English", "German", ...), as the
// version-information routines of the platform name it.
std::string SystemDefaultLanguageName();

}  // namespace platform
