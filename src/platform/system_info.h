#pragma once

#include <string>

namespace platform {

// The operating-system kind: 1 Windows 2000, 2 XP, 3 Server 2003, 4 Windows 95, 5 Me, 6 98,
// 7 Vista; 0 for anything else, Linux included.
int OsKind();

// The English name of the system's default language ("English", "German", ...), as the
// version-information routines of the platform name it.
std::string SystemDefaultLanguageName();

}  // namespace platform
