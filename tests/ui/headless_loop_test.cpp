// The headless loop and its virtual clock: timers, workers, posts, sockets and waits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/udp_socket.h"
#include "ui/headless/headless_backend.h"
#include "ui/timer.h"

namespace {

using ui::headless::Headless;
using ui::headless::HeadlessBackend;
using ui::headless::LoopStalled;

class HeadlessLoopTest : public ::testing::Test {
 protected:
  std::int64_t Now() const { return app->clock().NowMs(); }
  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  HeadlessBackend& backend = Headless(*app);
  const std::int64_t t0 = app->clock().NowMs();
};

TEST_F(HeadlessLoopTest, TimersTickInDueOrder) {
  std::vector<std::pair<std::int64_t, std::string>> ticks;
  ui::Timer a(*app, "a"), b(*app, "b"), c(*app, "c");
  for (const auto& entry : {std::pair{&a, 300}, {&b, 200}, {&c, 500}}) {
    ui::Timer* timer = entry.first;
    timer->SetInterval(entry.second);
    timer->onTimer = [&, timer] { ticks.emplace_back(Now() - t0, timer->name()); };
    timer->SetEnabled(true);
  }
  backend.RunFor(1000);
  const std::vector<std::pair<std::int64_t, std::string>> expected = {
      {200, "b"}, {300, "a"}, {400, "b"}, {500, "c"},  {600, "a"},
      {600, "b"}, {800, "b"}, {900, "a"}, {1000, "b"}, {1000, "c"}};
  EXPECT_EQ(ticks, expected);
  EXPECT_EQ(Now() - t0, 1000);
}

TEST_F(HeadlessLoopTest, DisablingAndIntervalChangesRestartThePeriod) {
  std::vector<std::int64_t> ticks;
  ui::Timer timer(*app, "tmr");
  timer.onTimer = [&] { ticks.push_back(Now() - t0); };
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  backend.RunFor(700);
  timer.SetEnabled(true);  // re-enabling restarts the period
  backend.RunFor(1000);
  timer.SetInterval(250);
  backend.RunFor(600);
  timer.SetEnabled(false);
  backend.RunFor(5000);
  timer.SetInterval(0);
  timer.SetEnabled(true);  // an interval of 0 never ticks
  backend.RunFor(5000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1700, 1950, 2200}));
}

TEST_F(HeadlessLoopTest, TimerHandlerExceptionIsShownAndTheTimerGoesOn) {
  ui::Timer timer(*app, "tmr");
  int ticks = 0;
  timer.SetInterval(100);
  timer.onTimer = [&] {
    ++ticks;
    throw std::runtime_error("tick failed");
  };
  timer.SetEnabled(true);
  backend.RunFor(300);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(backend.messageBoxes().size(), 3u);
}

TEST_F(HeadlessLoopTest, SleepingWorkerFinishesInVirtualTime) {
  std::atomic<std::int64_t> wokeAt{0};
  const auto realStart = std::chrono::steady_clock::now();
  app->clock().WorkerStarted();  // registered by its creator before it runs
  std::thread worker([&] {
    app->clock().SleepMs(5 * 60 * 1000 + 500);
    wokeAt = app->clock().NowMs();
    app->backend().Post([&] { app->Terminate(); });
    app->clock().WorkerFinished();
  });
  ui::Timer progress(*app, "tmrProgress");
  int ticks = 0;
  progress.SetInterval(1000);
  progress.onTimer = [&] { ++ticks; };
  progress.SetEnabled(true);
  app->Run();
  worker.join();
  EXPECT_EQ(wokeAt - t0, 300500);
  EXPECT_EQ(ticks, 300);
  // Five virtual minutes; a real sleep would take 300 s.
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds(30));
}

TEST_F(HeadlessLoopTest, BusyWorkerHoldsTimeBack) {
  std::atomic<bool> release{false};
  std::atomic<std::int64_t> seenAt{0};
  app->clock().WorkerStarted();
  std::thread worker([&] {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    seenAt = app->clock().NowMs();
    app->clock().WorkerFinished();
  });
  ui::Timer timer(*app, "tmr");
  timer.SetInterval(10);
  timer.onTimer = [] {};
  timer.SetEnabled(true);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    release = true;
  });
  backend.RunFor(1000);
  releaser.join();
  worker.join();
  EXPECT_EQ(seenAt, t0);  // time stood still until the worker ended
  EXPECT_EQ(Now() - t0, 1000);
}

TEST_F(HeadlessLoopTest, TimerEnabledFromAWorkerTicksOnTheUiThread) {
  ui::Timer timer(*app, "tmrCheckSWLinkThread");
  timer.SetInterval(500);
  std::vector<std::thread::id> tickThreads;
  timer.onTimer = [&] {
    tickThreads.push_back(std::this_thread::get_id());
    timer.SetEnabled(false);
  };
  app->clock().WorkerStarted();
  std::thread worker([&] {
    timer.SetEnabled(true);
    app->clock().WorkerFinished();
  });
  EXPECT_TRUE(backend.RunUntil([&] { return !tickThreads.empty(); }, 10000));
  worker.join();
  ASSERT_EQ(tickThreads.size(), 1u);
  EXPECT_EQ(tickThreads[0], std::this_thread::get_id());
  EXPECT_EQ(Now() - t0, 500);
}

TEST_F(HeadlessLoopTest, TimerDestroyedBeforeItsPostedEnableArrives) {
  int ticks = 0;
  {
    ui::Timer timer(*app, "tmr");
    timer.SetInterval(10);
    timer.onTimer = [&] { ++ticks; };
    std::thread worker([&] { timer.SetEnabled(true); });
    worker.join();
  }
  EXPECT_EQ(backend.ProcessPending(), 1);  // the stale post runs and finds nothing
  backend.RunFor(100);
  EXPECT_EQ(ticks, 0);
}

TEST_F(HeadlessLoopTest, WaitOnUiThreadHoldsEventsBackButWakesSleepers) {
  std::vector<std::string> events;
  ui::Timer timer(*app, "tmr");
  timer.SetInterval(100);
  timer.onTimer = [&] { events.push_back("tick@" + std::to_string(Now() - t0)); };
  timer.SetEnabled(true);
  std::atomic<std::int64_t> workerWoke{0};
  app->clock().WorkerStarted();
  std::thread worker([&] {
    app->clock().SleepMs(300);
    workerWoke = app->clock().NowMs() - t0;
    app->backend().Post([&] { events.push_back("post@" + std::to_string(Now() - t0)); });
    app->clock().WorkerFinished();
  });
  app->Wait(1000);
  worker.join();
  EXPECT_EQ(workerWoke, 300);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Now() - t0, 1000);
  backend.ProcessPending();
  // The post, then one catch-up tick: a period missed during the wait does not come as a burst.
  EXPECT_EQ(events, (std::vector<std::string>{"post@1000", "tick@1000"}));
}

TEST_F(HeadlessLoopTest, SleepOnTheUiThreadIsAWait) {
  ui::Timer timer(*app, "tmr");
  int ticks = 0;
  timer.SetInterval(10);
  timer.onTimer = [&] { ++ticks; };
  timer.SetEnabled(true);
  app->clock().SleepMs(2000);
  EXPECT_EQ(Now() - t0, 2000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(HeadlessLoopTest, PostsRunInOrderFromAnyThread) {
  std::vector<int> order;
  backend.Post([&] { order.push_back(1); });
  std::thread worker([&] { backend.Post([&] { order.push_back(2); }); });
  worker.join();
  backend.Post([&] { order.push_back(3); });
  EXPECT_EQ(backend.ProcessPending(), 3);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Now(), t0);
}

TEST_F(HeadlessLoopTest, RunUntilReportsATimeout) {
  EXPECT_FALSE(backend.RunUntil([] { return false; }, 2500));
  EXPECT_EQ(Now() - t0, 2500);
  bool flag = false;
  ui::Timer timer(*app, "tmr");
  timer.SetInterval(700);
  timer.onTimer = [&] { flag = true; };
  timer.SetEnabled(true);
  EXPECT_TRUE(backend.RunUntil([&] { return flag; }, 60000));
  EXPECT_EQ(Now() - t0, 3200);
}

TEST_F(HeadlessLoopTest, HangsBecomeLoopStalled) {
  EXPECT_THROW(backend.RunUntil([] { return false; }), LoopStalled);
  // A task that re-posts itself forever never lets time pass.
  std::function<void()> again = [&] { backend.Post(again); };
  backend.Post(again);
  EXPECT_THROW(backend.ProcessPending(), LoopStalled);
}

TEST_F(HeadlessLoopTest, RunLimitStopsAnEndlessTimerLoop) {
  ui::Timer timer(*app, "tmr");
  timer.SetInterval(60000);
  timer.onTimer = [] {};
  timer.SetEnabled(true);
  backend.SetRunLimitMs(3600 * 1000);
  EXPECT_THROW(backend.RunUntil([] { return false; }), LoopStalled);
}

// Two UDP sockets on loopback: what is sent on one arrives on the other.
class SocketPair {
 public:
  SocketPair() {
    for (auto& socket : fds) {
      socket = platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false).socket;
      EXPECT_NE(socket, platform::kNoSocket);
    }
  }
  ~SocketPair() {
    for (auto socket : fds) platform::CloseSocket(socket);
  }
  void Send(const char* text) const {
    auto to = platform::LocalEndpoint(fds[0]);
    ASSERT_TRUE(to.has_value());
    EXPECT_GT(platform::SendDatagram(fds[1], reinterpret_cast<const std::uint8_t*>(text), 1, *to),
              0);
  }
  std::string Receive() const {
    std::uint8_t c = 0;
    return platform::ReceiveDatagram(fds[0], &c, 1, nullptr) == 1
               ? std::string(1, static_cast<char>(c))
               : std::string();
  }
  platform::SocketHandle fds[2] = {platform::kNoSocket, platform::kNoSocket};
};

TEST_F(HeadlessLoopTest, SocketDataArrivesBeforeTimeMoves) {
  SocketPair pair;
  std::vector<std::string> events;
  auto watch = backend.WatchReadable(
      pair.fds[0], [&] { events.push_back(pair.Receive() + "@" + std::to_string(Now() - t0)); });
  ui::Timer retry(*app, "tmrRetry");
  retry.SetInterval(1000);
  retry.onTimer = [&] { events.push_back("retry@" + std::to_string(Now() - t0)); };
  retry.SetEnabled(true);
  backend.SetSocketGraceMs(500);
  // An outside peer that answers a moment later in real time, as the simulator does.
  std::thread peer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pair.Send("r");
  });
  backend.RunFor(1000);
  peer.join();
  backend.Unwatch(watch);
  pair.Send("x");
  backend.RunFor(10);
  EXPECT_EQ(events, (std::vector<std::string>{"r@0", "retry@1000"}));
}

}  // namespace
