#include "ui/headless/headless_backend.h"

#include <chrono>
#include <cstdio>
#include <limits>

namespace ui::headless {

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
// More events than this at one virtual instant is a loop that re-posts or re-arms itself.
constexpr std::int64_t kMaxEventsPerInstant = 1'000'000;

std::int64_t RealMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

LoopStalled::LoopStalled(std::string message) : message_(std::move(message)) {
  std::fprintf(stderr, "headless loop stalled: %s\n", message_.c_str());
}

HeadlessBackend::HeadlessBackend() {
  clock_.SetChangedHook([this] { queues_.Wake(); });
  clock_.SetUiThread(uiThread_, [this](std::int64_t ms) { WaitOnUiThread(ms); });
}

HeadlessBackend::~HeadlessBackend() {
  clock_.SetChangedHook(nullptr);
  clock_.SetUiThread(uiThread_, nullptr);
}

void HeadlessBackend::CountEvent() {
  const std::int64_t now = clock_.NowMs();
  if (now != instant_) {
    instant_ = now;
    eventsThisInstant_ = 0;
  }
  if (++eventsThisInstant_ > kMaxEventsPerInstant)
    throw LoopStalled("the headless loop ran a million events without time passing");
}

bool HeadlessBackend::DispatchOne() {
  if (!queues_.RunPost() && !queues_.RunReadySocket(0) && !queues_.RunDueTimer()) return false;
  CountEvent();
  return true;
}

void HeadlessBackend::WaitForWorkers(bool untilPost) {
  const std::int64_t start = RealMs();
  while (clock_.activeWorkers() > 0 && !(untilPost && queues_.HasPost())) {
    // Posts already waiting may be left for later (a wait on the UI thread): only a new event
    // or a moved clock ends this wait early.
    queues_.WaitForWake(2);
    if (RealMs() - start > workerStallLimitMs_)
      throw LoopStalled("a worker stayed busy for " + std::to_string(workerStallLimitMs_) +
                        " ms of real time without sleeping or ending");
  }
}

bool HeadlessBackend::WaitForSocket(std::int64_t realMs) {
  const std::int64_t end = RealMs() + realMs;
  do {
    if (queues_.RunReadySocket(20) || queues_.HasPost()) return true;
  } while (RealMs() < end && clock_.activeWorkers() == 0);
  return clock_.activeWorkers() > 0;
}

std::int64_t HeadlessBackend::NextDeadline() const {
  std::int64_t next = queues_.NextTimerDue().value_or(kNever);
  if (auto wake = clock_.NextWakeMs()) next = std::min(next, *wake);
  return next;
}

HeadlessBackend::Stop HeadlessBackend::Loop(const std::function<bool()>& done,
                                            std::int64_t deadline) {
  const std::int64_t start = clock_.NowMs();
  std::int64_t modalHandledAt = kNever;
  for (;;) {
    if (done && done()) return Stop::Done;
    if (quit_) return Stop::Quit;
    // Read the workers before looking for posts: a worker that posts and ends between the two
    // looks would otherwise leave its task behind while time jumps on.
    const bool workersWereActive = clock_.activeWorkers() > 0;
    if (DispatchOne()) continue;
    if (clock_.activeWorkers() > 0) {
      WaitForWorkers(true);
      continue;
    }
    if (workersWereActive) continue;
    const std::int64_t now = clock_.NowMs();
    if (modalHandler_ && modalHandledAt != now) {
      if (Form* form = topModalForm()) {
        modalHandledAt = now;
        modalHandler_(*form);
        continue;
      }
    }
    if (queues_.watching() && queues_.RunReadySocket(socketGraceMs_)) {
      CountEvent();
      continue;
    }
    const std::int64_t next = NextDeadline();
    if (next > deadline) {
      clock_.AdvanceTo(deadline);
      return Stop::Deadline;
    }
    if (next == kNever) {
      // Only another process's datagram could still move things along; give it real time.
      if (queues_.watching() && WaitForSocket(workerStallLimitMs_)) continue;
      throw LoopStalled(topModalForm() ? "a modal form waits, but nothing can run and no modal "
                                         "handler ends it"
                                       : "the loop waits, but nothing can run and no timer or "
                                         "sleeper is pending");
    }
    if (next - start > runLimitMs_)
      throw LoopStalled("the loop ran " + std::to_string(runLimitMs_) +
                        " ms of virtual time without finishing");
    clock_.AdvanceTo(next);
  }
}

void HeadlessBackend::Run() {
  Loop(nullptr, kNever);
}

void HeadlessBackend::RunUntil(const std::function<bool()>& done) {
  Loop(done, kNever);
}

void HeadlessBackend::RunFor(std::int64_t ms) {
  Loop(nullptr, clock_.NowMs() + ms);
}

bool HeadlessBackend::RunUntil(const std::function<bool()>& pred, std::int64_t timeoutMs) {
  Loop(pred, clock_.NowMs() + timeoutMs);
  return pred();
}

int HeadlessBackend::ProcessPending() {
  int count = 0;
  for (;;) {
    const bool workersWereActive = clock_.activeWorkers() > 0;
    if (DispatchOne()) {
      ++count;
    } else if (clock_.activeWorkers() > 0) {
      WaitForWorkers(true);
    } else if (!workersWereActive) {
      return count;
    }
  }
}

void HeadlessBackend::WaitOnUiThread(std::int64_t ms) {
  // Time passes for the sleeping workers only; the UI thread's own events wait for the end.
  const std::int64_t target = clock_.NowMs() + std::max<std::int64_t>(ms, 0);
  while (clock_.NowMs() < target) {
    if (clock_.activeWorkers() > 0) {
      WaitForWorkers(false);
      continue;
    }
    const auto wake = clock_.NextWakeMs();
    clock_.AdvanceTo(wake && *wake < target ? *wake : target);
  }
}

}  // namespace ui::headless
