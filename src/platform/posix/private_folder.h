#pragma once

#include <string>

namespace platform::posix {

// The program runs as root here, so whatever it makes, reads back or starts must be out of other
// local users' reach.

// Whether no other user (root aside) can change the path or anything on the way to it: every
// folder and the file itself, symbolic links resolved, belong to this user or root and are not
// writable by others, except a sticky folder such as /tmp, where others cannot move our entries.
bool SafeFromOtherUsers(const std::string& path);

// Creates the folder and any missing parents private to this user (0700), and tells whether the
// folder is ours alone, whether just created or found: false for a folder another user made.
bool MakePrivateFolder(const std::string& folder);

// The user's home folder: $HOME, else the user database's entry; empty when neither is known.
std::string HomeFolder();

// Whether the folder exists, belongs to this user and is writable by no one else.
bool IsPrivateFolder(const std::string& folder);

// The program's own state folder: "quillon" in $XDG_STATE_HOME, by default ~/.local/state.
std::string StateFolder();

// $XDG_RUNTIME_DIR when it is set and ours alone; otherwise the state folder, never a shared one.
// Created when missing; empty when no private folder can be had.
std::string RuntimeFolder();

}  // namespace platform::posix
