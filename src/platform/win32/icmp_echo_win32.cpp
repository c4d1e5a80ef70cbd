#include <winsock2.h>
// The IP Helper headers need the socket types first.
#include <iphlpapi.h>

#include <vector>

#include "platform/icmp_echo.h"
#include "platform/socket_api.h"
#include "platform/win32/system_function.h"

namespace platform {
namespace {

// The echo routines live in iphlpapi.dll from Windows XP on and in icmp.dll before (Windows 2000
// has them only there); later systems keep icmp.dll as a forwarder. Looked up once, by name.
struct IcmpRoutines {
  using CreateFn = HANDLE(WINAPI*)();
  using CloseFn = BOOL(WINAPI*)(HANDLE);
  using SendFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD,
                                DWORD);
  CreateFn create = nullptr;
  CloseFn close = nullptr;
  SendFn send = nullptr;

  IcmpRoutines() {
    for (const char* dll : {"iphlpapi.dll", "icmp.dll"}) {
      HMODULE module = ::LoadLibraryA(dll);
      if (module == nullptr) continue;
      create = win32::SystemFunction<CreateFn>(module, "IcmpCreateFile");
      close = win32::SystemFunction<CloseFn>(module, "IcmpCloseHandle");
      send = win32::SystemFunction<SendFn>(module, "IcmpSendEcho");
      if (available()) return;  // the library stays loaded for the process's life
      ::FreeLibrary(module);
    }
  }
  bool available() const { return create != nullptr && close != nullptr && send != nullptr; }
};

const IcmpRoutines& Icmp() {
  static const IcmpRoutines routines;
  return routines;
}

class IcmpHandle {
 public:
  IcmpHandle() : handle_(Icmp().available() ? Icmp().create() : INVALID_HANDLE_VALUE) {}
  ~IcmpHandle() {
    if (valid()) Icmp().close(handle_);
  }
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

// The system's ICMP service sends and matches the echo itself, so the socket kind of the request
// has no meaning here and no raw socket is ever used.
EchoResult SendIcmpEcho(const EchoRequest& request) {
  EchoResult result;
  if (!sockets::EchoRequestInRange(request)) {
    result.status = EchoStatus::kBadRequest;
    return result;
  }
  IcmpHandle icmp;
  if (!icmp.valid()) {
    result.status = EchoStatus::kNoSocket;
    result.error = static_cast<int>(Icmp().available() ? ::GetLastError() : ERROR_PROC_NOT_FOUND);
    return result;
  }
  std::vector<unsigned char> data(static_cast<std::size_t>(request.dataSize));
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i + 8);
  IP_OPTION_INFORMATION options{};
  options.Ttl = static_cast<UCHAR>(request.ttl);
  // Room for one reply with its data, and for an ICMP error that quotes our request.
  std::vector<unsigned char> replies(sizeof(ICMP_ECHO_REPLY) + data.size() + 8 + 64);
  const DWORD count = Icmp().send(
      icmp.get(), htonl(request.address), data.data(), static_cast<WORD>(data.size()), &options,
      replies.data(), static_cast<DWORD>(replies.size()), static_cast<DWORD>(request.timeoutMs));
  if (count == 0) {
    const DWORD error = ::GetLastError();
    if (error == IP_REQ_TIMED_OUT || error == ERROR_TIMEOUT) {
      result.status = EchoStatus::kTimedOut;
    } else {
      result.status = EchoStatus::kSendFailed;
      result.error = static_cast<int>(error);
    }
    return result;
  }
  // An answer that is not an echo reply (unreachable, TTL expired) means no reply from the host.
  const auto* reply = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies.data());
  result.status = reply->Status == IP_SUCCESS ? EchoStatus::kReply : EchoStatus::kTimedOut;
  return result;
}

}  // namespace platform
