#include "app/apply_pages.h"

#include "config/catalogue.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/frmmain.h"
#include "app/program_windows.h"
#include "app/wireless_pages.h"
#include "config/number_text.h"
#include "host/bkitlib.h"
#include "modem/engine/engine_states.h"
#include "modem/engine/modemconnect.h"
#include "modem/protocol/wireless_record.h"
#include "modem/workers/thswlink.h"
#include "ui/application.h"

namespace app {
namespace {

using namespace quillon::modem;

constexpr std::int64_t kApplyProgressIntervalMs = 3500;
constexpr std::int64_t kFirstWatchIntervalMs = 2000;
constexpr std::int64_t kWanWatchIntervalMs = 3000;
constexpr std::int64_t kFinishPauseMs = 2000;
constexpr int kApplyProgressStep = 10;
// Watch ticks after which any step still running is declared failed.
constexpr std::int32_t kWatchTickLimit = 60;
// WAN status runs restarted after the first one, before the WAN counts as never up.
constexpr std::int32_t kWanStatusRetries = 75;

// Application messages of the page.
constexpr int kModemNotFound = 5;
constexpr int kLineDown = 6;
constexpr int kApplyFailed = 7;

// The registry's security type for a security text or a code kept from the modem; a type the
// wizard cannot name has none, and the record keeps its previous type and key.
std::optional<std::int32_t> SecurityTypeOf(const std::string& security) {
  const std::string code = SecurityCodeOf(security);
  if (code == kSecurityNone) return 0;
  if (code == kSecurityWep64 || code == kSecurityWep128) return 1;
  if (code == kSecurityPsk || code == kSecurityPsk2) return 2;
  return std::nullopt;
}

}  // namespace

SoftwareLinkPage::SoftwareLinkPage(TmainForm& form) : form_(form) {
  auto& c = form.controls();
  c.tmrCheckSWLinkTimer.onTimer = [this] { tmrCheckSWLinkTimerTimer(); };
  c.tmrCheckSWLinkThread.onTimer = [this] { tmrCheckSWLinkThreadTimer(); };
  form.routines.writeWirelessProfile = [this] { return writeWirelessProfile(); };
  form.routines.startSoftwareCheck = [this] { startSoftwareCheck(); };
}

// The controls (timers included) are gone by now; only the worker is left to stop.
SoftwareLinkPage::~SoftwareLinkPage() {
  if (worker_) worker_->Terminate();
}

// A setting of 0 or less would leave the watch timer without an interval and the check would
// never go on after the reboot; it is taken as the shortest wait, one second. The WAN status
// runs that follow are retried anyway while the modem is still starting.
std::int64_t SoftwareLinkPage::RebootWaitMs(std::int32_t resetWaitTime) {
  return std::max<std::int64_t>(resetWaitTime, 1) * 1000;
}

TfrmModemConnect& SoftwareLinkPage::Engine() const {
  return *windows().modemConnect;
}

bool SoftwareLinkPage::writeWirelessProfile() {
  auto& values = form_.values;
  auto& profile = values.wlProfile;
  profile.ssid = values.wirelessSsid;
  profile.channel = quillon::config::atolLike(values.wirelessChannel);
  if (const auto type = SecurityTypeOf(values.wirelessSecurity)) {
    profile.securityType = *type;
    profile.key = *type == 0 ? std::string() : values.wirelessKey;
  }
  if (host::saveWirelessProfile(profile) == host::kProfileSaved) return true;
  // Whatever the answer, nothing is sent to the modem: the page steps back.
  form_.app().backend().MessageBoxWithButtons("Error writing to profile", "test",
                                              ui::Backend::kButtonsAbortRetryIgnore);
  return false;
}

void SoftwareLinkPage::startSoftwareCheck() {
  auto& c = form_.controls();
  c.tmrCheckSWLinkTimer.SetInterval(kApplyProgressIntervalMs);
  c.tmrCheckSWLinkTimer.SetEnabled(true);
  c.tmrCheckSWLinkThread.SetInterval(kFirstWatchIntervalMs);
  c.tmrCheckSWLinkThread.SetEnabled(true);
  auto& engine = Engine();
  engine.queryPvc1AfterLineRate = false;
  // The hardware check leaves this on; a discovery run without the line query would otherwise
  // end in a state the watch takes for the finished check, with nothing applied.
  engine.queryLineRateAfterDiscovery = true;
  form_.linkCheckStep = STATE_DISCOVERY;
  StartWorker(STATE_DISCOVERY);
  form_.workerTicks = 0;
}

void SoftwareLinkPage::tmrCheckSWLinkTimerTimer() {
  auto& c = form_.controls();
  auto& bar = c.pbrCheckSWLink;
  bar.SetPosition(bar.position() + kApplyProgressStep);
  const int percent = bar.max() > 0 ? bar.position() * 100 / bar.max() : 0;
  c.lblPercent.SetCaption(std::to_string(percent) + "%");
  if (bar.position() >= bar.max()) c.tmrCheckSWLinkTimer.SetEnabled(false);
}

void SoftwareLinkPage::tmrCheckSWLinkThreadTimer() {
  auto& engine = Engine();
  // The name test starts within a WAN status run only once the WAN is up: a late WAN would
  // leave it the one tick its run has left, so it counts its own ticks from its start.
  std::int32_t ticks = form_.workerTicks;
  if (engine.state == STATE_WAN_UP) {
    if (!nameTestFirstTick_) nameTestFirstTick_ = form_.workerTicks;
    ticks -= *nameTestFirstTick_;
  }
  if (ticks > kWatchTickLimit && engine.sessionResult != kSessionSucceeded)
    engine.sessionResult = kSessionFailed;
  switch (engine.sessionResult.load()) {
    case kSessionFailed:
      // A WAN status retry is not counted, so past the limit each retry gets one tick.
      if (!ReportFailure()) return;
      break;
    case kSessionSucceeded:
      ContinueAfter(engine.state);
      break;
    default:
      break;
  }
  form_.workerTicks += 1;
}

bool SoftwareLinkPage::ReportFailure() {
  auto& c = form_.controls();
  DiscardWorker();
  c.tmrCheckSWLinkThread.SetEnabled(false);
  int message = kApplyFailed;
  switch (Engine().state.load()) {
    case STATE_DISCOVERY:
    case STATE_CMD_SAVEREBOOT:
      message = kModemNotFound;
      break;
    case STATE_QUERY_LINERATE:
      message = kLineDown;
      break;
    case STATE_QUERY_WANSTATUS:
      // A WAN connection may take minutes to come up after the reboot.
      if (form_.wanStatusTries <= kWanStatusRetries) {
        RetryWanStatus();
        return false;
      }
      break;
    default:
      break;
  }
  if (Engine().severalModemsAnswered()) message = quillon::config::kSeveralModemsMessage;
  c.tmrCheckSWLinkTimer.SetEnabled(false);
  form_.showPopMessage(form_.applicationMessage(message));
  form_.goBack();
  form_.showPage();
  return true;
}

void SoftwareLinkPage::RetryWanStatus() {
  auto& c = form_.controls();
  // Enabling a running timer would restart its period, and the bar would stand still.
  if (!c.tmrCheckSWLinkTimer.enabled()) c.tmrCheckSWLinkTimer.SetEnabled(true);
  form_.linkCheckStep = STATE_QUERY_WANSTATUS;
  StartWorker(STATE_QUERY_WANSTATUS);
  form_.wanStatusTries += 1;
  c.tmrCheckSWLinkThread.SetInterval(kWanWatchIntervalMs);
  c.tmrCheckSWLinkThread.SetEnabled(true);
}

// The step that just succeeded decides the next one; the engine goes on by itself only from
// the discovery to the line query and from a WAN that is up to the internet name test.
void SoftwareLinkPage::ContinueAfter(std::int32_t finishedState) {
  auto& c = form_.controls();
  switch (finishedState) {
    case STATE_QUERY_LINERATE:
      form_.linkCheckStep = STATE_SET_PVC1;
      break;
    case STATE_SET_PVC1:
      // A modem whose security type the wizard cannot set, with nothing chosen instead, keeps
      // its wireless settings: there is no record to send, and no reply to wait for.
      form_.linkCheckStep =
          form_.wirelessModule && WirelessRecordFromSettings(Engine().modemSettings)
              ? STATE_SET_WIRELESS
              : STATE_CMD_SAVEREBOOT;
      break;
    case STATE_SET_WIRELESS:
      form_.linkCheckStep = STATE_CMD_SAVEREBOOT;
      break;
    case STATE_CMD_SAVEREBOOT:
      if (!form_.rebootWaitDone) {
        // The modem reboots meanwhile; it is asked for the WAN status only after the wait.
        DiscardWorker();
        c.tmrCheckSWLinkThread.SetInterval(RebootWaitMs(form_.systemConfig.setup.ResetWaitTime));
        form_.rebootWaitDone = true;
        return;
      }
      form_.linkCheckStep = STATE_QUERY_WANSTATUS;
      StartWorker(STATE_QUERY_WANSTATUS);
      form_.wanStatusTries = 1;
      c.tmrCheckSWLinkThread.SetInterval(kWanWatchIntervalMs);
      return;
    case STATE_QUERY_WANSTATUS:
      form_.linkCheckStep = STATE_WAN_UP;
      break;
    default:
      Finish();
      return;
  }
  StartWorker(form_.linkCheckStep);
}

void SoftwareLinkPage::Finish() {
  auto& c = form_.controls();
  c.tmrCheckSWLinkTimer.SetEnabled(false);
  c.tmrCheckSWLinkThread.SetEnabled(false);
  DiscardWorker();
  c.pbrCheckSWLink.SetPosition(c.pbrCheckSWLink.max());
  c.lblPercent.SetCaption("100%");
  // The full bar stays in view for a moment before the completion page replaces it.
  form_.app().Wait(kFinishPauseMs);
  form_.goNext();
  form_.showPage();
}

void SoftwareLinkPage::StartWorker(std::int32_t startState) {
  DiscardWorker();
  auto& engine = Engine();
  worker_ = std::make_unique<thCheckSWLink>(form_.app().backend(), engine);
  worker_->SetPriority(platform::ThreadPriority::kLower);
  worker_->startState = startState;
  nameTestFirstTick_.reset();
  worker_->addressList = form_.systemConfig.setup.InternetTestIPAddresses;
  // The outcome of the step before must not be read as this one's while the worker starts.
  engine.sessionResult = kSessionRunning;
  worker_->Resume();
}

void SoftwareLinkPage::DiscardWorker() {
  if (!worker_) return;
  worker_->Terminate();
  worker_.reset();
}

}  // namespace app
