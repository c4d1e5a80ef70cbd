#pragma once

namespace platform::win32 {

// Starts Winsock 2.2 for the process on first use and keeps it until the process ends; every
// caller of a socket function goes through here first. False when Winsock refused to start.
bool EnsureWinsock();

}  // namespace platform::win32
