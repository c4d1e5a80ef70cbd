#pragma once

#include <memory>
#include <string>

#include "app/page_group.h"
#include "host/thwlandriver.h"
#include "modem/workers/thwlanlink.h"
#include "net/pinger.h"

namespace app {

class TmainForm;

// The kit edition's wireless USB adapter: from the completion page the user unplugs the cable
// (the driver files are copied meanwhile), plugs the adapter in (a script checks that the system
// sees it), waits while the driver is installed and while the internet is tested through the
// adapter, and ends on the adapter's completion page. Each worker page is watched by a progress
// timer and a watch timer; the watch alone decides what follows.
class AdapterPages : public PageGroup {
 public:
  explicit AdapterPages(TmainForm& form);
  ~AdapterPages() override;

  // The window's echo component, handed to the internet test: 56 data bytes, 4 s, TTL 64. Tests
  // put one on a scripted echo here before the test starts.
  std::unique_ptr<net::Pinger> Ping1;

  // Next on the cable page: whether an adapter still has an address in the modem's network.
  bool cableStillConnected();
  void runDriverCopier();
  // Next on the adapter page: whether the detection script reports the adapter.
  bool adapterPresent();
  void startDriverInstall();
  void startWlanInternetCheck();
  void tmrInsWlanDriverTimerTimer();
  void tmrInsWlanDriverThreadTimer();
  void tmrWlanInternetStatusTimerTimer();
  void tmrWlanInternetStatusThreadTimer();
  void imgWlanInsCompleteBGMouseMove(int x, int y);
  void imgWlanInsCompleteBTClick();

  // The workers while they run; none between two runs.
  const host::THWlanDriverThread* driverWorker() const { return driverWorker_.get(); }
  const quillon::modem::THWlanInternetStatusThread* internetWorker() const {
    return internetWorker_.get();
  }

 private:
  void StopDriverTimers();
  void StopInternetTimers();
  void ResumeInternetWorker();
  // Terminates a worker and frees it once it has ended; the clock goes on meanwhile, so that a
  // worker in one of its waits notices.
  template <class Worker>
  void Discard(std::unique_ptr<Worker>& worker);
  // The plain system question with OK and Cancel and an empty caption; true for OK.
  bool AskOkCancel(const std::string& text);

  TmainForm& form_;
  std::unique_ptr<host::THWlanDriverThread> driverWorker_;
  std::unique_ptr<quillon::modem::THWlanInternetStatusThread> internetWorker_;
};

}  // namespace app
