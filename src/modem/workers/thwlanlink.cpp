#include "modem/workers/thwlanlink.h"

#include <optional>
#include <string_view>

#include "net/net_errors.h"

namespace quillon::modem {

THWlanInternetStatusThread::THWlanInternetStatusThread(ui::Backend& backend)
    : TThread(backend, "WlanInternetStatusThread") {}

THWlanInternetStatusThread::~THWlanInternetStatusThread() {
  WaitFor();
}

void THWlanInternetStatusThread::Execute() {
  status = 0;
  if (!SleepUnlessTerminated(kFirstWaitMs)) return;
  bool reachable = false;
  for (int pass = 0; pass < kMaxPasses && !reachable; ++pass) {
    const std::optional<bool> answered = RunPass();
    if (!answered) return;
    reachable = *answered;
    if (!SleepUnlessTerminated(kPauseMs)) return;
  }
  status = reachable ? 1 : 2;
}

std::optional<bool> THWlanInternetStatusThread::RunPass() {
  // n separators give n + 1 items; an empty list is one empty item, which fails.
  std::string_view rest = addressList;
  for (;;) {
    if (Terminated()) return std::nullopt;
    const size_t separator = rest.find(';');
    const std::string_view item = rest.substr(0, separator);
    if (pinger != nullptr) {
      pinger->Address = std::string(item);
      if (pinger->Ping() == net::kNetOk) return true;
    }
    if (separator == std::string_view::npos) return false;
    rest.remove_prefix(separator + 1);
  }
}

}  // namespace quillon::modem
