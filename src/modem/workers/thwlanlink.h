#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "net/pinger.h"
#include "ui/tthread.h"

namespace quillon::modem {

// Tests the internet connection by ICMP echo to the items of addressList (";"-separated dotted
// quads or host names, used exactly as written): after a first wait, up to 15 passes over the
// list with a pause after each, until one item answers. status: 0 running, 1 reachable, 2 not.
// A terminated thread ends at its next wait or ping without touching status.
class THWlanInternetStatusThread final : public ui::TThread {
 public:
  static constexpr std::int64_t kFirstWaitMs = 10000;
  static constexpr std::int64_t kPauseMs = 5000;
  static constexpr int kMaxPasses = 15;

  explicit THWlanInternetStatusThread(ui::Backend& backend);
  ~THWlanInternetStatusThread() override;

  std::atomic<int32_t> status{0};
  std::string addressList;
  // The window's echo component; the window leaves it alone while the thread runs.
  net::Pinger* pinger = nullptr;

 protected:
  void Execute() override;

 private:
  // One pass: true as soon as an item answers; nothing when the thread was terminated.
  std::optional<bool> RunPass();
};

}  // namespace quillon::modem
