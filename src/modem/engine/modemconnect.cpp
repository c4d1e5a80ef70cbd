#include "modem/engine/modemconnect.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "ui/application.h"

namespace quillon::modem {

namespace {

// Public web hosts whose names the internet test resolves, tried in turn.
constexpr std::array<std::string_view, 4> kTestHosts = {"www.example.com", "www.example.net",
                                                        "www.example.org", "example.com"};

// How long a start from another thread waits for the UI thread at most.
constexpr std::chrono::seconds kStartHandOverLimit{2};

}  // namespace

TfrmModemConnect::TfrmModemConnect(ui::Application& app, const config::Setup_Param& setup,
                                   std::shared_ptr<net::NameResolver> resolver)
    : ui::Form(app, "frmModemConnect"),
      Button1(Add<ui::Button>("Button1")),
      Memo1View(Add<ui::Label>("Memo1View")),
      WSocket(app.backend()),
      Timer(app, "Timer"),
      Ping(app.backend(), std::move(resolver)),
      setup_(setup),
      alive_(std::make_shared<bool>(true)) {
  Button1.SetCaption("Button1");
  Button1.onClick = [this] { Button1Click(); };
  // The diagnostic window a support engineer opens from the main window: the button starts a
  // run by hand, the memo below it shows what the engine did.
  SetCaption("frmModemConnect");
  SetBorderless(false);
  SetClientSize(520, 380);
  Button1.SetBounds(8, 8, 100, 25);
  Memo1View.SetBounds(8, 40, 504, 332);
  onShow = [this] { RefreshMemoView(); };
  WSocket.Addr = "255.255.255.255";
  WSocket.Port = "65002";
  WSocket.Proto = "udp";
  WSocket.LocalAddr = "0.0.0.0";
  WSocket.LocalPort = "0";
  WSocket.onDataAvailable = [this](int error) { WSocketDataAvailable(error); };
  WSocket.onError = [this](int error) { WSocketError(error); };
  Timer.SetEnabled(false);
  Timer.onTimer = [this] { TimerTimer(); };
  Ping.onDnsLookupDone = [this](int error) { PingDnsLookupDone(error); };
  for (size_t i = 0; i < testHosts.size(); ++i) testHosts[i] = std::string(kTestHosts[i]);
  FormCreate();
}

TfrmModemConnect::~TfrmModemConnect() {
  alive_.reset();
}

void TfrmModemConnect::FormCreate() {
  WSocket.Open();
  state = STATE_DISCOVERY;
  sequenceNumber = 0;
  wanStatus = 0;
  Hide();
  sessionResult = kSessionRunning;
  queryPvc1AfterLineRate = true;
  testDnsAfterWanUp = true;
  destinationAddress = "255.255.255.255";
}

void TfrmModemConnect::StartSession() {
  if (app().backend().IsUiThread()) {
    StartOnUiThread();
    return;
  }
  std::weak_ptr<bool> alive = alive_;
  app().backend().Post([this, alive] {
    if (alive.lock()) StartOnUiThread();
  });
}

void TfrmModemConnect::StartSessionAt(int32_t startState, const std::atomic<bool>* abandon) {
  if (app().backend().IsUiThread()) {
    state = startState;
    StartOnUiThread();
    return;
  }
  struct Started {
    std::mutex mu;
    std::condition_variable cv;
    bool taken = false;
    bool cancelled = false;
    bool done = false;
  };
  auto started = std::make_shared<Started>();
  std::weak_ptr<bool> alive = alive_;
  app().backend().Post([this, alive, startState, started] {
    {
      std::lock_guard lock(started->mu);
      if (started->cancelled) return;
      started->taken = true;
    }
    if (alive.lock()) {
      state = startState;
      StartOnUiThread();
    }
    std::lock_guard lock(started->mu);
    started->done = true;
    started->cv.notify_all();
  });
  // The caller stays busy until its start has reached the UI thread, so whoever waits for the
  // caller to end also sees the run under way. The wait is cut short for a caller that is being
  // stopped, and bounded in case the UI thread is itself waiting for the caller.
  const auto deadline = std::chrono::steady_clock::now() + kStartHandOverLimit;
  std::unique_lock lock(started->mu);
  while (!started->done && !(abandon && abandon->load()) &&
         std::chrono::steady_clock::now() < deadline)
    started->cv.wait_for(lock, std::chrono::milliseconds(20));
  // A stopped caller's start that the UI thread has not taken yet must never send: its page
  // has given the step up (a save-and-reboot would otherwise still go out).
  if (!started->taken && abandon && abandon->load()) started->cancelled = true;
}

void TfrmModemConnect::StartOnUiThread() {
  // A name lookup of an earlier run must not end this one.
  Ping.Cancel();
  sessionResult = kSessionRunning;
  WSocket.Close();
  WSocket.Addr = destinationAddress;
  WSocket.Port = std::to_string(destinationPort);
  WSocket.Proto = "udp";
  WSocket.Open();
  switch (state.load()) {
    case STATE_DISCOVERY:
      targetMac = kDiscoveryMac;
      Send(DiscoverRequest());
      break;
    case STATE_QUERY_LINERATE:
      Send(QueryRequest(kQueryLineRate));
      break;
    case STATE_QUERY_PVC1:
      Send(QueryRequest(kQueryPvc1));
      break;
    case STATE_QUERY_WIRELESS:
      Send(QueryRequest(kQueryWireless));
      break;
    case STATE_QUERY_WANSTATUS:
      Send(QueryRequest(kQueryWanStatus));
      break;
    case STATE_SET_PVC1:
      Send(SetPvc1Request(modemSettings));
      break;
    case STATE_SET_WIRELESS:
      if (const std::optional<Request> request = SetWirelessRequest(modemSettings)) {
        Send(*request);
      } else {
        // Nothing to send. Keeping the previous request would resend it (a set-PVC request
        // whose acknowledgement looks like this step's), so the step sends nothing at all and
        // ends by its time-out.
        sendBuffer = Datagram{};
      }
      break;
    case STATE_CMD_SAVEREBOOT:
      Send(CommandRequest(kCommandSaveReboot));
      break;
    default:
      return;
  }
  attemptCounter = 0;
  ArmTimer();
}

void TfrmModemConnect::SendCommand(std::string_view name) {
  if (!app().backend().IsUiThread()) {
    std::weak_ptr<bool> alive = alive_;
    app().backend().Post([this, alive, command = std::string(name)] {
      if (alive.lock()) SendCommand(command);
    });
    return;
  }
  // Its own datagram: the kept request of a run still in progress must stay what it resends.
  const Datagram datagram = AssembleDatagram(targetMac, CommandRequest(name), ++sequenceNumber);
  WSocket.Send(datagram.bytes.data(), datagram.length);
}

void TfrmModemConnect::Send(const Request& request) {
  sendBuffer = AssembleDatagram(targetMac, request, ++sequenceNumber);
  WSocket.Send(sendBuffer.bytes.data(),
               sendBuffer.length);  // a send error ends the step by time-out
}

void TfrmModemConnect::Resend() {
  if (sendBuffer.length == 0) return;
  RestampSequenceNumber(sendBuffer, ++sequenceNumber);
  WSocket.Send(sendBuffer.bytes.data(), sendBuffer.length);
}

void TfrmModemConnect::ArmTimer() {
  Timer.SetEnabled(false);
  const std::optional<std::int64_t> interval = StateIntervalMs(state, setup_);
  if (!interval) return;
  Timer.SetInterval(*interval);
  Timer.SetEnabled(true);
}

void TfrmModemConnect::TimerTimer() {
  Timer.SetEnabled(false);
  attemptCounter += 1;
  if (sessionResult == kSessionSucceeded || sessionResult == kSessionFailed) return;
  if (attemptCounter <= ResendsAllowed(state)) {
    ArmTimer();
    Resend();
    return;
  }
  for (std::string_view line : TimeoutLines(state)) Log(std::string(line));
  sessionResult = kSessionFailed;
}

void TfrmModemConnect::WSocketError(int) {
  sessionResult = kSessionFailed;
}

void TfrmModemConnect::Button1Click() {
  StartSession();
}

void TfrmModemConnect::Log(std::string line) {
  Memo1.Add(std::move(line));
  if (visible()) RefreshMemoView();
}

void TfrmModemConnect::RefreshMemoView() {
  constexpr std::size_t kShownLines = 22;
  const auto& lines = Memo1.Lines();
  std::string text;
  for (std::size_t i = lines.size() > kShownLines ? lines.size() - kShownLines : 0;
       i < lines.size(); ++i)
    text += lines[i] + "\n";
  Memo1View.SetCaption(text);
}

}  // namespace quillon::modem
