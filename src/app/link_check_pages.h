#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/page_group.h"
#include "modem/workers/thconnection.h"
#include "platform/network_adapters.h"
#include "ui/timer.h"

namespace app {

class TmainForm;

// The Ethernet and ADSL checks of the help pages and the hardware link check page: they ask the
// engine to find the modem, its line and its settings, watch the outcome with timers and decide
// where the user goes.
class LinkCheckPages : public PageGroup {
 public:
  explicit LinkCheckPages(TmainForm& form);
  ~LinkCheckPages() override;

  // The address a discovery is sent to when no gateway is known. Diagnostic builds and tests
  // point it at a loopback address so that nothing is broadcast.
  std::string broadcastAddress = "255.255.255.255";

  void startEthernetCheck();
  void startAdslCheck();
  void startHardwareCheck();
  void tmrEthernetCheckTimer();
  void tmrCheckADSLLinkTimer();
  void tmrCheckHWLinkTimerTimer();
  void tmrCheckHWLinkThreadTimer();

  // The PC's adapter after cursor, or the first one (the list is read anew) without a cursor.
  const platform::NetworkAdapter* nextAdapter(const platform::NetworkAdapter* cursor);
  // The discovered model against the model of the modules setting, ignoring letter case.
  bool modelMatches() const;

  // The adapter whose gateway the hardware check tried last; none before the first fallback.
  const platform::NetworkAdapter* adapterCursor = nullptr;
  // Whether a connection worker exists (at most one does).
  bool workerRunning() const { return worker_ != nullptr; }

 private:
  void StartQuickCheck(bool lineRate);
  void QuickCheckTick(std::int32_t& linkState, ui::Timer& timer, int failureMessage,
                      bool keepAddress);
  void StartWorker(int startState);
  void DiscardWorker();
  void SetTimers(bool progress, bool watch);
  void HardwareCheckFailed();
  void HardwareStepSucceeded();
  void LeaveForConnectionPages(bool loadWirelessPage);

  TmainForm& form_;
  std::unique_ptr<quillon::modem::THConnectionThread> worker_;
  std::vector<platform::NetworkAdapter> adapters_;
};

}  // namespace app
