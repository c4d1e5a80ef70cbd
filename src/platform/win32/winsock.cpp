#include "platform/win32/winsock.h"

#include <winsock2.h>

namespace platform::win32 {

bool EnsureWinsock() {
  // A function-local static runs the start-up exactly once, even when several threads arrive
  // together. WSACleanup is left to process exit: sockets may be in use until the very end.
  static const bool started = [] {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

}  // namespace platform::win32
