#include "app/link_check_pages.h"

#include "config/catalogue.h"

#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/page_support.h"
#include "modem/engine/engine_states.h"

namespace app {

using namespace quillon::modem;

namespace {

constexpr int kQuickCheckIntervalMs = 2000;
// A quick check gives up on the tick that finds this many ticks behind it.
constexpr int kQuickCheckTicks = 20;

}  // namespace

LinkCheckPages::LinkCheckPages(TmainForm& form) : form_(form) {
  auto& c = form.controls();
  c.tmrEthernetCheck.onTimer = [this] { tmrEthernetCheckTimer(); };
  c.tmrCheckADSLLink.onTimer = [this] { tmrCheckADSLLinkTimer(); };
  c.tmrCheckHWLinkTimer.onTimer = [this] { tmrCheckHWLinkTimerTimer(); };
  c.tmrCheckHWLinkThread.onTimer = [this] { tmrCheckHWLinkThreadTimer(); };
  auto& r = form.routines;
  r.startEthernetCheck = [this] { startEthernetCheck(); };
  r.startAdslCheck = [this] { startAdslCheck(); };
  r.startHardwareCheck = [this] { startHardwareCheck(); };
  r.routerPassword = [] { return Engine().discoveredPassword; };
}

LinkCheckPages::~LinkCheckPages() {
  DiscardWorker();
}

void LinkCheckPages::startEthernetCheck() {
  processState().ethernetLinkState = kLinkChecking;
  StartQuickCheck(false);
  form_.controls().tmrEthernetCheck.SetInterval(kQuickCheckIntervalMs);
  form_.controls().tmrEthernetCheck.SetEnabled(true);
}

void LinkCheckPages::startAdslCheck() {
  processState().adslLinkState = kLinkChecking;
  StartQuickCheck(true);
  form_.controls().tmrCheckADSLLink.SetInterval(kQuickCheckIntervalMs);
  form_.controls().tmrCheckADSLLink.SetEnabled(true);
}

// The quick checks run on the UI thread: a discovery, for the ADSL check followed by the line
// rate, which the engine reports as a success only while the line is up.
//
// The navigation pictures go at once rather than at the first tick: the one just clicked would
// otherwise stay under the mouse for two seconds, and a Back taken then would leave the check's
// timer running on another page.
void LinkCheckPages::StartQuickCheck(bool lineRate) {
  auto& c = form_.controls();
  c.imgBackBT.Hide();
  c.imgExitBT.Hide();
  c.imgNextBT.Hide();
  processState().timerTicks = 0;
  auto& engine = Engine();
  engine.sessionResult = kSessionRunning;
  engine.state = STATE_DISCOVERY;
  engine.queryPvc1AfterLineRate = false;
  engine.queryLineRateAfterDiscovery = lineRate;
  engine.destinationAddress = broadcastAddress;
  engine.StartSession();
}

void LinkCheckPages::tmrEthernetCheckTimer() {
  QuickCheckTick(processState().ethernetLinkState, form_.controls().tmrEthernetCheck, 8, true);
}

void LinkCheckPages::tmrCheckADSLLinkTimer() {
  QuickCheckTick(processState().adslLinkState, form_.controls().tmrCheckADSLLink, 6, false);
}

void LinkCheckPages::QuickCheckTick(std::int32_t& linkState, ui::Timer& timer, int failureMessage,
                                    bool keepAddress) {
  auto& c = form_.controls();
  auto& engine = Engine();
  auto& state = processState();
  c.imgBackBT.Hide();
  c.imgExitBT.Hide();
  c.imgNextBT.Hide();
  if (engine.sessionResult == kSessionFailed || state.timerTicks >= kQuickCheckTicks) {
    timer.SetEnabled(false);
    // A run still under way when the check gives up is abandoned, so that a late answer cannot
    // count for a check the user was already told had failed.
    engine.sessionResult = kSessionFailed;
    form_.showPopMessage(form_.applicationMessage(
        engine.severalModemsAnswered() ? quillon::config::kSeveralModemsMessage : failureMessage));
    linkState = kLinkFailed;
    form_.showPage();
  } else if (engine.sessionResult == kSessionSucceeded) {
    timer.SetEnabled(false);
    linkState = kLinkUp;
    if (keepAddress) state.modemAddress = engine.discoveredIpAddress;
    form_.goNext();
    form_.showPage();
  }
  ++state.timerTicks;
}

}  // namespace app
