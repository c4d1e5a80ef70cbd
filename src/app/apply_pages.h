#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/page_group.h"

namespace quillon::modem {
class TfrmModemConnect;
class thCheckSWLink;
}  // namespace quillon::modem

namespace app {

class TmainForm;

// The software link page: records the wireless profile, then runs the modem through its steps
// (find it and check the line, set the WAN connection, set the radio, save and reboot, wait for
// the reboot, poll the WAN status, test the internet) one worker at a time, and moves on to a
// completion page or steps back with a message.
class SoftwareLinkPage : public PageGroup {
 public:
  explicit SoftwareLinkPage(TmainForm& form);
  ~SoftwareLinkPage() override;

  // Fills wlProfile from the wireless values and writes it; true once it was written.
  bool writeWirelessProfile();
  void startSoftwareCheck();
  void tmrCheckSWLinkTimerTimer();
  void tmrCheckSWLinkThreadTimer();

  // The watch interval of the reboot wait for a ResetWaitTime setting in seconds.
  static std::int64_t RebootWaitMs(std::int32_t resetWaitTime);

 private:
  quillon::modem::TfrmModemConnect& Engine() const;
  void StartWorker(std::int32_t startState);
  void DiscardWorker();
  // False when the failure was taken as a reason to poll the WAN status once more.
  bool ReportFailure();
  void RetryWanStatus();
  void ContinueAfter(std::int32_t finishedState);
  void Finish();

  TmainForm& form_;
  std::unique_ptr<quillon::modem::thCheckSWLink> worker_;
  // The watch tick at which the current run's internet name test was first seen running.
  std::optional<std::int32_t> nameTestFirstTick_;
};

}  // namespace app
