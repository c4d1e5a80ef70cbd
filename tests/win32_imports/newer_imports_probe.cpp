// A program that imports what the wizard once did and Windows 2000 lacks, statically and through
// a delay-load library, so that the audit is seen to name each of them.
#include <winsock2.h>
// The base headers after Winsock's.
#include <windows.h>

int main() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  WSAPOLLFD none{INVALID_SOCKET, POLLRDNORM, 0};
  return static_cast<int>(GetTickCount64() & 1) + WSAPoll(&none, 0, 0);
}
