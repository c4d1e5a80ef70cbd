#pragma once

#include <string>

namespace platform {

// The wizard and the programs it starts exchange a few files by fixed drive paths
// ("C:\\ChkNIC.txt", "C:Setup.log"). This is the path to open for such a name on this system:
// the name itself on Windows. Elsewhere each drive is a folder, named by the environment variable
// QUILLON_<letter>_DRIVE (QUILLON_C_DRIVE for drive C), by default the folder <letter> of the
// program's private state folder (~/.local/state/quillon/c), created private to the user; both a
// drive's root and its current folder map to that folder, and backslashes become slashes. Empty
// when the default folder exists but is not the user's alone. A name without a drive is returned
// unchanged.
std::string LocalDrivePath(const std::string& name);

}  // namespace platform
