// The worker threads: the launchers of engine runs, driven the way the pages' watch timers drive
// them, and the internet test by ICMP echo with an injected echo. Built for ThreadSanitizer too.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <set>

#include "engine_harness.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"
#include "modem/workers/thconnection.h"
#include "modem/workers/thswlink.h"
#include "modem/workers/thwlanlink.h"
#include "net/net_errors.h"

namespace quillon::modem::test {
namespace {

// Answers every request the way a healthy modem would.
void AnswerEverything(ScriptedPeer& peer) {
  peer.onRequest = [&peer](const ScriptedPeer::Received& r) {
    const uint16_t seq = SequenceOf(r.bytes);
    const std::string text = PayloadTextOf(r.bytes);
    switch (CodeOf(r.bytes)) {
      case MSG_DISCOVER:
        peer.Reply(r, TextReply(kMacA, MSG_DISCOVER_REPLY, seq,
                                DiscoveryText("QR-5120G", "tulip", "198.51.100.1")));
        break;
      case MSG_QUERY:
        if (text == kQueryLineRate) {
          peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, seq, LineRateText(0)));
        } else if (text == kQueryWanStatus) {
          peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, seq, WanStatusText(6)));
        } else if (text == kQueryPvc1) {
          Bytes record(kPvc1RecordSize);
          EncodePvc1Record(Pvc1RecordFromSettings(ModemSettings{}), record.data());
          peer.Reply(r, RawReply(kMacA, MSG_QUERY_REPLY, seq, record));
        } else if (text == kQueryWireless) {
          ModemSettings radio;
          radio.wlSecurity = kSecurityNone;
          Bytes record(kWirelessRecordSize);
          EncodeWirelessRecord(*WirelessRecordFromSettings(radio), record.data());
          peer.Reply(r, RawReply(kMacA, MSG_QUERY_REPLY, seq, record));
        }
        break;
      case MSG_SET:
        peer.Reply(r, TextReply(kMacA, MSG_SET_REPLY, seq, ""));
        break;
      case MSG_COMMAND:
        peer.Reply(r, TextReply(kMacA, MSG_COMMAND_REPLY, seq, ""));
        break;
      default:
        break;
    }
  };
}

class Launchers : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.backend.SetSocketGraceMs(20);
    rig.engine->destinationPort = peer.port();
  }

  template <typename Thread>
  std::unique_ptr<Thread> Launch(int32_t startState) {
    auto thread = std::make_unique<Thread>(rig.backend, *rig.engine);
    thread->SetPriority(platform::ThreadPriority::kLower);
    thread->startState = startState;
    thread->Resume();
    return thread;
  }

  EngineRig rig;
  ScriptedPeer peer{*rig.app};
};

TEST_F(Launchers, TheHardwareCheckRunsThroughItsWorkers) {
  AnswerEverything(peer);
  rig.engine->queryLineRateAfterDiscovery = true;
  rig.engine->queryPvc1AfterLineRate = true;
  // The page's watch timer: judges the engine and replaces the worker, as the HW link check does.
  std::unique_ptr<THConnectionThread> worker = Launch<THConnectionThread>(STATE_DISCOVERY);
  std::vector<int32_t> succeeded;
  ui::Timer watch(*rig.app, "tmrCheckHWLinkThread");
  watch.SetInterval(1000);
  watch.onTimer = [&] {
    if (rig.engine->sessionResult != kSessionSucceeded) return;
    const int32_t state = rig.engine->state;
    succeeded.push_back(state);
    worker->Terminate();
    worker.reset();
    if (state == STATE_QUERY_PVC1 && succeeded.size() == 1) {
      worker = Launch<THConnectionThread>(STATE_QUERY_WIRELESS);
    } else {
      watch.SetEnabled(false);
    }
  };
  watch.SetEnabled(true);
  ASSERT_TRUE(rig.backend.RunUntil([&] { return !watch.enabled(); }, 60000));
  EXPECT_EQ(succeeded, (std::vector<int32_t>{STATE_QUERY_PVC1, STATE_QUERY_WIRELESS}));
  EXPECT_EQ(peer.received().size(), 4u);  // discovery, line rate, PVC query, wireless query
  EXPECT_EQ(rig.engine->modemSettings.wlSecurity, kSecurityNone);
}

TEST_F(Launchers, TheSoftwareCheckAppliesEverythingStepByStep) {
  AnswerEverything(peer);
  rig.resolver->SucceedFrom(0, 0xC6336401);
  rig.engine->queryLineRateAfterDiscovery = true;
  rig.engine->queryPvc1AfterLineRate = false;
  rig.engine->testDnsAfterWanUp = true;
  rig.engine->modemSettings.wlSecurity = kSecurityNone;
  rig.engine->sessionResult = kSessionRunning;
  const std::map<int32_t, int32_t> next = {{STATE_QUERY_LINERATE, STATE_SET_PVC1},
                                           {STATE_SET_PVC1, STATE_SET_WIRELESS},
                                           {STATE_SET_WIRELESS, STATE_CMD_SAVEREBOOT},
                                           {STATE_CMD_SAVEREBOOT, STATE_QUERY_WANSTATUS}};
  std::unique_ptr<thCheckSWLink> worker = Launch<thCheckSWLink>(STATE_DISCOVERY);
  std::vector<int32_t> finishedIn;
  ui::Timer watch(*rig.app, "tmrCheckSWLinkThread");
  watch.SetInterval(2000);
  watch.onTimer = [&] {
    if (rig.engine->sessionResult == kSessionRunning) return;
    const int32_t state = rig.engine->state;
    finishedIn.push_back(rig.engine->sessionResult == kSessionSucceeded ? state : -state);
    worker.reset();
    const auto step = next.find(state);
    if (rig.engine->sessionResult != kSessionSucceeded || step == next.end()) {
      watch.SetEnabled(false);
      return;
    }
    worker = Launch<thCheckSWLink>(step->second);
  };
  watch.SetEnabled(true);
  ASSERT_TRUE(rig.backend.RunUntil([&] { return !watch.enabled(); }, 120000));
  EXPECT_EQ(finishedIn,
            (std::vector<int32_t>{STATE_QUERY_LINERATE, STATE_SET_PVC1, STATE_SET_WIRELESS,
                                  STATE_CMD_SAVEREBOOT, STATE_WAN_UP}));
  EXPECT_EQ(rig.CountLog("DNS Result: 198.51.100.1"), 1);
}

TEST_F(Launchers, ALauncherWhoseRunFailsStillEndsNormally) {
  auto worker = Launch<THConnectionThread>(STATE_DISCOVERY);
  ASSERT_TRUE(rig.RunUntilDone(60000));
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_TRUE(worker->Finished());
  worker->Terminate();
  worker.reset();
  EXPECT_EQ(peer.received().size(), 3u);
}

// A page that gives its step up frees the launcher, often before the UI thread has taken the
// start: that must neither block the UI thread nor let the request go out later.
TEST_F(Launchers, AFreedLauncherNeitherBlocksNorSendsItsPendingStart) {
  rig.engine->targetMac = kMacA;
  const auto freedIn = [](auto worker) {
    const auto start = std::chrono::steady_clock::now();
    worker.reset();
    return std::chrono::steady_clock::now() - start;
  };
  EXPECT_LT(freedIn(Launch<THConnectionThread>(STATE_CMD_SAVEREBOOT)), std::chrono::seconds(1));
  EXPECT_LT(freedIn(Launch<thCheckSWLink>(STATE_CMD_SAVEREBOOT)), std::chrono::seconds(1));
  rig.backend.RunFor(3000);
  EXPECT_TRUE(peer.received().empty());
}

TEST_F(Launchers, StartsFromWorkersNeverRaceTheUiThread) {
  // Replies stream in while launchers start runs; every run is judged on the UI thread.
  peer.onRequest = [this](const ScriptedPeer::Received& r) {
    for (int i = 0; i < 3; ++i)
      peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), WanStatusText(2)));
  };
  rig.engine->targetMac = kMacA;
  for (int round = 0; round < 40; ++round) {
    auto worker = Launch<thCheckSWLink>(STATE_QUERY_WANSTATUS);
    rig.backend.RunFor(3000);
    EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
    EXPECT_EQ(rig.engine->wanStatus, 2);
    rig.engine->sessionResult = kSessionFailed;
    worker->Terminate();
  }
  EXPECT_GE(peer.received().size(), 40u);
}

TEST(WorkerThread, NamesItselfAndRunsOneStepBelowNormal) {
  struct Probe final : ui::TThread {
    explicit Probe(ui::Backend& backend) : TThread(backend, "ProbeThread") {}
    ~Probe() override { WaitFor(); }
    void Execute() override {
      char buffer[32] = {};
      pthread_getname_np(pthread_self(), buffer, sizeof buffer);
      name = buffer;
      nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    }
    std::string name;
    int nice = -100;
  };
  auto app = ui::headless::MakeHeadlessApplication();
  const int processNice = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
  Probe probe(app->backend());
  probe.SetPriority(platform::ThreadPriority::kLower);
  EXPECT_FALSE(probe.Finished());
  probe.Resume();
  probe.WaitFor();
  EXPECT_TRUE(probe.Finished());
  EXPECT_EQ(probe.name, "ProbeThread");
  EXPECT_EQ(probe.nice, std::min(processNice + 1, 19));
}

// An echo that answers for some addresses; a request nobody answers takes its whole time-out
// on the clock, as a real one would.
class FakeEcho : public net::EchoService {
 public:
  FakeEcho(ui::Clock& clock, std::set<uint32_t> answering)
      : clock_(clock), answering_(std::move(answering)) {}
  int Echo(uint32_t address, int dataSize, int timeoutMs, int ttl) override {
    {
      std::lock_guard lock(mu_);
      calls_.push_back(address);
      last_ = {dataSize, timeoutMs, ttl};
    }
    if (answering_.count(address)) return net::kNetOk;
    clock_.SleepMs(timeoutMs);
    return net::kNetTimedOut;
  }
  std::vector<uint32_t> calls() const {
    std::lock_guard lock(mu_);
    return calls_;
  }
  std::array<int, 3> last() const {
    std::lock_guard lock(mu_);
    return last_;
  }

 private:
  ui::Clock& clock_;
  std::set<uint32_t> answering_;
  mutable std::mutex mu_;
  std::vector<uint32_t> calls_;
  std::array<int, 3> last_{};
};

constexpr uint32_t kFirst = 0xC6336401;   // 198.51.100.1
constexpr uint32_t kSecond = 0xC6336402;  // 198.51.100.2

class InternetStatus : public ::testing::Test {
 protected:
  void Run(const std::string& list, std::set<uint32_t> answering) {
    echo = std::make_shared<FakeEcho>(app->clock(), std::move(answering));
    pinger = std::make_unique<net::Pinger>(resolver, echo);
    thread = std::make_unique<THWlanInternetStatusThread>(backend);
    thread->SetPriority(platform::ThreadPriority::kLower);
    thread->addressList = list;
    thread->pinger = pinger.get();
    t0 = app->clock().NowMs();
    thread->Resume();
    ASSERT_TRUE(backend.RunUntil([&] { return thread->status != 0; }, 3600 * 1000));
    elapsed = app->clock().NowMs() - t0;
    finalStatus = thread->status;
    thread->Terminate();
    thread.reset();
  }

  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  ui::headless::HeadlessBackend& backend = ui::headless::Headless(*app);
  std::shared_ptr<ScriptedResolver> resolver = std::make_shared<ScriptedResolver>();
  std::shared_ptr<FakeEcho> echo;
  std::unique_ptr<net::Pinger> pinger;
  std::unique_ptr<THWlanInternetStatusThread> thread;
  int64_t t0 = 0;
  int64_t elapsed = 0;
  int32_t finalStatus = 0;
};

TEST_F(InternetStatus, TheSecondItemAnswersInTheFirstPass) {
  Run("198.51.100.1;198.51.100.2", {kSecond});
  EXPECT_EQ(finalStatus, 1);
  EXPECT_EQ(echo->calls(), (std::vector<uint32_t>{kFirst, kSecond}));
  EXPECT_EQ(elapsed, 10000 + 4000 + 5000);
  EXPECT_EQ(echo->last(), (std::array<int, 3>{56, 4000, 64}));
}

TEST_F(InternetStatus, NothingAnswersAfterFifteenPasses) {
  Run("198.51.100.1;198.51.100.2", {});
  EXPECT_EQ(finalStatus, 2);
  EXPECT_EQ(echo->calls().size(), 30u);
  EXPECT_EQ(elapsed, 10000 + 15 * (5000 + 2 * 4000));
}

TEST_F(InternetStatus, ItemsAreUsedExactlyAsWritten) {
  resolver->SucceedFrom(2, kFirst);
  Run("gateway.example; 198.51.100.1;", {kFirst});
  EXPECT_EQ(finalStatus, 1);
  // Neither the blank before the dotted quad nor the empty last item is a dotted quad.
  EXPECT_EQ(resolver->Hosts(), (std::vector<std::string>{"gateway.example", " 198.51.100.1", ""}));
  EXPECT_EQ(echo->calls(), (std::vector<uint32_t>{kFirst}));
}

TEST_F(InternetStatus, AnEmptyListIsOneItemThatFails) {
  Run("", {kFirst});
  EXPECT_EQ(finalStatus, 2);
  EXPECT_EQ(resolver->Hosts().size(), 15u);
  EXPECT_TRUE(resolver->Hosts().front().empty());
  EXPECT_TRUE(echo->calls().empty());
}

TEST(InternetStatusEnd, ATerminatedThreadEndsAtItsNextWaitAndLeavesTheStatus) {
  auto app = ui::headless::MakeHeadlessApplication();
  auto& backend = ui::headless::Headless(*app);
  auto echo = std::make_shared<FakeEcho>(app->clock(), std::set<uint32_t>{});
  net::Pinger pinger(std::make_shared<ScriptedResolver>(), echo);
  THWlanInternetStatusThread thread(backend);
  thread.addressList = "198.51.100.1";
  thread.pinger = &pinger;
  const int64_t t0 = app->clock().NowMs();
  thread.Resume();
  backend.RunFor(3000);
  thread.Terminate();
  backend.RunUntil([&] { return thread.Finished(); }, 1000);
  EXPECT_TRUE(thread.Finished());
  EXPECT_LE(app->clock().NowMs() - t0, 3000 + 250);
  EXPECT_EQ(thread.status, 0);
  EXPECT_TRUE(echo->calls().empty());
}

}  // namespace
}  // namespace quillon::modem::test
