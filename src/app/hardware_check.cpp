#include <algorithm>
#include <cctype>
#include <string>

#include "app/connection_pages.h"
#include "app/frmmain.h"
#include "app/link_check_pages.h"
#include "app/page_support.h"
#include "app/wireless_pages.h"
#include "config/catalogue.h"
#include "config/system_config.h"
#include "modem/engine/engine_states.h"
#include "net/ipv4_text.h"
#include "ui/application.h"

namespace app {

using namespace quillon::modem;

namespace {

constexpr int kCheckProgressIntervalMs = 2000;
constexpr int kWatchIntervalMs = 1000;
constexpr int kProgressMax = 200;
constexpr int kCheckProgressStep = 5;
// The watch gives up on a check that has taken more ticks than this.
constexpr int kWatchTickLimit = 50;

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
  return text;
}

}  // namespace

void LinkCheckPages::startHardwareCheck() {
  auto& c = form_.controls();
  auto& engine = Engine();
  DiscardWorker();
  c.tmrCheckHWLinkTimer.SetInterval(kCheckProgressIntervalMs);
  c.tmrCheckHWLinkThread.SetInterval(kWatchIntervalMs);
  SetTimers(true, true);
  engine.queryPvc1AfterLineRate = true;
  engine.queryLineRateAfterDiscovery = true;
  adapterCursor = nullptr;
  engine.destinationAddress = broadcastAddress;
  // This check is the one that finds the user's modem: any modem may answer it.
  engine.foundModemMac.reset();
  StartWorker(STATE_DISCOVERY);
  form_.workerTicks = 0;
}

void LinkCheckPages::tmrCheckHWLinkTimerTimer() {
  auto& bar = form_.controls().pbrCheckHWLink;
  bar.SetPosition(bar.position() + kCheckProgressStep);
  if (bar.position() >= kProgressMax) form_.controls().tmrCheckHWLinkTimer.SetEnabled(false);
}

// The single place where the outcome of a hardware check step is judged; the worker only
// starts the engine.
void LinkCheckPages::tmrCheckHWLinkThreadTimer() {
  auto& engine = Engine();
  if (form_.workerTicks > kWatchTickLimit) engine.sessionResult = kSessionFailed;
  if (engine.sessionResult == kSessionFailed)
    HardwareCheckFailed();
  else if (engine.sessionResult == kSessionSucceeded)
    HardwareStepSucceeded();
  ++form_.workerTicks;
}

// A discovery that got no answer is tried again at the gateway of each adapter in turn; any
// other failure sends the user back to the ADSL page with its message.
void LinkCheckPages::HardwareCheckFailed() {
  auto& engine = Engine();
  DiscardWorker();
  SetTimers(false, false);
  int message = 5;
  if (engine.severalModemsAnswered()) {
    message = quillon::config::kSeveralModemsMessage;
  } else if (engine.state == STATE_DISCOVERY) {
    adapterCursor = nextAdapter(adapterCursor);
    if (adapterCursor) {
      const std::uint32_t gateway = adapterCursor->gateway;
      engine.destinationAddress = gateway != 0 ? net::FormatDottedQuad(gateway) : broadcastAddress;
      StartWorker(STATE_DISCOVERY);
      SetTimers(true, true);
      return;
    }
  } else if (engine.state == STATE_QUERY_LINERATE) {
    message = 6;
  }
  form_.showPopMessage(form_.applicationMessage(message));
  form_.goBack();
  form_.showPage();
}

void LinkCheckPages::HardwareStepSucceeded() {
  auto& c = form_.controls();
  auto& engine = Engine();
  switch (engine.state.load()) {
    case STATE_QUERY_LINERATE:
      c.tmrCheckHWLinkThread.SetEnabled(false);
      DiscardWorker();
      StartWorker(STATE_QUERY_PVC1);
      c.tmrCheckHWLinkThread.SetEnabled(true);
      break;
    case STATE_QUERY_PVC1:
      DiscardWorker();
      c.tmrCheckHWLinkThread.SetEnabled(false);
      if (!modelMatches()) {
        SetTimers(false, false);
        form_.showPopMessage(form_.applicationMessage(5));
        form_.goBack();
        form_.showPage();
        return;
      }
      engine.foundModemMac = engine.targetMac;
      if (auto* connection = FindPageGroup<ConnectionPages>(form_))
        connection->takeModemConnectionSettings();
      if (form_.wirelessModule) {
        StartWorker(STATE_QUERY_WIRELESS);
        c.tmrCheckHWLinkThread.SetEnabled(true);
      } else {
        engine.state = STATE_DISCOVERY;
        form_.linkCheckStep = STATE_DISCOVERY;
        LeaveForConnectionPages(false);
      }
      break;
    case STATE_QUERY_WIRELESS:
      // The next tick, still seeing the success, leaves the page through the last case.
      c.tmrCheckHWLinkThread.SetEnabled(false);
      if (auto* connection = FindPageGroup<ConnectionPages>(form_))
        connection->takeModemWirelessSettings();
      engine.state = STATE_DISCOVERY;
      form_.linkCheckStep = STATE_DISCOVERY;
      c.tmrCheckHWLinkThread.SetEnabled(true);
      break;
    default:
      DiscardWorker();
      LeaveForConnectionPages(form_.wirelessModule);
      break;
  }
}

void LinkCheckPages::LeaveForConnectionPages(bool loadWirelessPage) {
  auto& bar = form_.controls().pbrCheckHWLink;
  SetTimers(false, false);
  bar.SetPosition(bar.max());
  form_.app().Wait(1000);
  if (form_.ispPageNeedsFill) {
    if (auto* connection = FindPageGroup<ConnectionPages>(form_)) connection->resetConnectionPage();
    if (loadWirelessPage)
      if (auto* wireless = FindPageGroup<WirelessPages>(form_))
        wireless->loadWirelessPageFromModem();
  }
  form_.goNext();
  form_.showPage();
}

void LinkCheckPages::StartWorker(int startState) {
  auto& engine = Engine();
  worker_ = std::make_unique<THConnectionThread>(form_.app().backend(), engine);
  worker_->SetPriority(platform::ThreadPriority::kLower);
  worker_->startState = startState;
  form_.linkCheckStep = startState;
  // The run counts as under way from now: a watch tick that comes before the worker has handed
  // the start to the engine must not judge the previous run's result again.
  engine.sessionResult = kSessionRunning;
  worker_->Resume();
}

void LinkCheckPages::DiscardWorker() {
  if (!worker_) return;
  worker_->Terminate();
  worker_.reset();
}

void LinkCheckPages::SetTimers(bool progress, bool watch) {
  form_.controls().tmrCheckHWLinkTimer.SetEnabled(progress);
  form_.controls().tmrCheckHWLinkThread.SetEnabled(watch);
}

const platform::NetworkAdapter* LinkCheckPages::nextAdapter(
    const platform::NetworkAdapter* cursor) {
  if (!cursor) {
    // A tunnel's or a bridge's gateway is never the modem, and may carry the request elsewhere.
    adapters_ = platform::ListNetworkAdapters();
    std::erase_if(adapters_, [](const platform::NetworkAdapter& adapter) {
      return adapter.medium == platform::AdapterMedium::kVirtual;
    });
    return adapters_.empty() ? nullptr : &adapters_.front();
  }
  const auto next = static_cast<std::size_t>(cursor - adapters_.data()) + 1;
  return next < adapters_.size() ? &adapters_[next] : nullptr;
}

bool LinkCheckPages::modelMatches() const {
  const std::string configured(quillon::config::appliedModelName(form_.systemConfig.setup));
  return UpperCase(configured) == UpperCase(Engine().discoveredModel);
}

}  // namespace app
