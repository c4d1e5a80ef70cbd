#include "modem/engine/modemconnect.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "net/net_errors.h"
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
      DiagnosisView(Add<ui::Label>("DiagnosisView")),
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
  Memo1View.SetBounds(8, 40, 504, 240);
  DiagnosisView.SetBounds(8, 288, 504, 84);
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
  repliesDropped_ = 0;
  repliesTaken_ = 0;
  lastDropReason_.clear();
  unfinishedCause_.clear();
  sendError_.clear();
  sendErrors_ = 0;
  socketError_.clear();
  answers_.clear();
  answerGraceArmed_ = false;
  severalModems_ = false;
  answeredOn_ = nullptr;
  adapterSockets_.clear();
  cablesWithoutAddress_.clear();
  cablesWithoutLink_.clear();
  askAdapters_ = false;
  if (state == STATE_DISCOVERY) modemAdapter_.clear();
  WSocket.Close();
  WSocket.Addr = destinationAddress;
  WSocket.Port = std::to_string(destinationPort);
  WSocket.Proto = "udp";
  if (!OpenRunSocket()) return;
  if (state == STATE_DISCOVERY) OpenAdapterSockets();
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
        stepSequences_ = SequenceWindow{};
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
  SendDatagram(datagram.bytes.data(), datagram.length);
}

// A new step: its resends keep the request and take new sequence numbers, and a reply to any of
// them completes it, so that a modem slower than one resend interval is still heard. A reply to
// an earlier step's request is never taken for this one's.
void TfrmModemConnect::Send(const Request& request) {
  sendBuffer = AssembleDatagram(targetMac, request, ++sequenceNumber);
  stepSequences_ = SequenceWindow{sequenceNumber, 1};
  SendDatagram(sendBuffer.bytes.data(), sendBuffer.length);
}

void TfrmModemConnect::Resend() {
  if (sendBuffer.length == 0) return;
  if (!answeredOn_ && askAdapters_) RenewAdapterSockets();
  if (!answeredOn_ && RunsOnModemAdapter() && !RefreshRunSocket()) return;
  RestampSequenceNumber(sendBuffer, ++sequenceNumber);
  stepSequences_.count = static_cast<uint16_t>(sequenceNumber - stepSequences_.first + 1);
  SendDatagram(sendBuffer.bytes.data(), sendBuffer.length);
}

// A send error still ends the step by its time-out, as a lost request would; the log and the
// verdict say that the request never left.
void TfrmModemConnect::SendDatagram(const uint8_t* data, size_t length) {
  if (!answeredOn_ && askAdapters_) {
    SendOnAdapters(data, length);
    return;
  }
  net::UdpSocket& socket = answeredOn_ ? *answeredOn_->socket : WSocket;
  const int sent = socket.Send(data, length);
  if (sent >= 0) return;
  ++sendErrors_;
  sendError_ = net::ErrorText(-sent);
  Note("send error: " + sendError_);
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
  // A radio's answer waits while a cable that was asked stays silent: the cable is asked again
  // (a datagram lost, a modem still starting) until the step's last wait is over.
  if (state == STATE_DISCOVERY && !answers_.empty() && sessionResult == kSessionRunning &&
      (answerGraceArmed_ || attemptCounter + 1 > ResendsAllowed(state))) {
    answerGraceArmed_ = false;
    if (DecideAnswer(/*waitOver=*/true)) return;
  }
  attemptCounter += 1;
  if (sessionResult == kSessionSucceeded || sessionResult == kSessionFailed) return;
  if (attemptCounter <= ResendsAllowed(state)) {
    ArmTimer();
    Resend();
    return;
  }
  for (std::string_view line : TimeoutLines(state)) Log(std::string(line));
  Fail();
}

void TfrmModemConnect::WSocketError(int error) {
  socketError_ = net::ErrorText(error);
  Note("socket error: " + socketError_);
  Fail();
}

void TfrmModemConnect::Succeed() {
  sessionResult = kSessionSucceeded;
  Note("verdict: succeeded");
}

// The verdict tells a modem that never answered from one whose answers were all turned down,
// and a modem that answered from what its answers said (the line down, the WAN not up, the name
// test failed), so that a support engineer knows whether to look at the cable, the modem, the
// telephone line or the provider.
void TfrmModemConnect::Fail() {
  sessionResult = kSessionFailed;
  std::string verdict = "verdict: failed, ";
  if (!socketError_.empty())
    verdict += "socket error: " + socketError_;
  else if (severalModems_)
    verdict += unfinishedCause_;
  else if (repliesTaken_ > 0 && !unfinishedCause_.empty())
    verdict += "the modem answered: " + unfinishedCause_;
  else if (repliesTaken_ > 0)
    verdict += "the modem answered but the step did not complete";
  else if (repliesDropped_ > 0)
    verdict +=
        "replies rejected: " + std::to_string(repliesDropped_) + ", the last: " + lastDropReason_;
  else if (!cablesWithoutLink_.empty() && cablesWithoutAddress_.empty())
    verdict += "no reply; the cable adapter " + cablesWithoutLink_.front() +
               " has no link: its cable is out, or the modem is off";
  else if (!cablesWithoutAddress_.empty())
    verdict += "no reply; the cable adapter " + cablesWithoutAddress_.front() +
               " has no address: the PC's DHCP renewal did not get one from the modem";
  else
    verdict += "no reply";
  if (!sendError_.empty() && socketError_.empty())
    verdict +=
        "; sending failed " + std::to_string(sendErrors_) + " time(s), the last: " + sendError_;
  Note(verdict);
}

void TfrmModemConnect::DropReply(std::string_view reason) {
  ++repliesDropped_;
  lastDropReason_ = std::string(reason);
  Note("reply dropped: " + lastDropReason_);
}

void TfrmModemConnect::Button1Click() {
  StartSession();
}

void TfrmModemConnect::Log(std::string line) {
  Memo1.Add(std::move(line));
  if (visible()) RefreshMemoView();
}

void TfrmModemConnect::Note(std::string line) {
  Diagnosis.Add(std::move(line));
  if (visible()) RefreshMemoView();
}

void TfrmModemConnect::RefreshMemoView() {
  const auto newest = [](const LogMemo& memo, std::size_t shown) {
    const auto& lines = memo.Lines();
    std::string text;
    for (std::size_t i = lines.size() > shown ? lines.size() - shown : 0; i < lines.size(); ++i)
      text += lines[i] + "\n";
    return text;
  };
  Memo1View.SetCaption(newest(Memo1, 16));
  DiagnosisView.SetCaption(newest(Diagnosis, 5));
}

}  // namespace quillon::modem
