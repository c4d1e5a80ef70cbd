#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/system_config.h"
#include "modem/engine/answer_choice.h"
#include "modem/engine/engine_states.h"
#include "modem/engine/log_memo.h"
#include "modem/protocol/control_header.h"
#include "modem/protocol/modem_settings.h"
#include "modem/protocol/reply_acceptance.h"
#include "modem/protocol/requests.h"
#include "modem/protocol/token_text.h"
#include "net/name_lookup.h"
#include "net/udp_socket.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/timer.h"

namespace quillon::modem {

// The modem control engine, a hidden window: it sends the request of its state, resends on its
// timer, takes the matching reply, goes on by itself from discovery to the line rate, from a line
// that is up to the connection settings and from a WAN that is up to the internet name test, and
// ends each run with sessionResult 1 or 0.
//
// Threads: everything the engine does happens on the UI thread. StartSession, StartSessionAt and
// SendCommand may be called from any thread; off the UI thread they post themselves to it, so a
// launcher thread never races a datagram or a timer tick. state, sessionResult and wanStatus are
// atomic so any thread may poll them; every other field belongs to the UI thread and is written
// by the pages only between runs.
class TfrmModemConnect : public ui::Form {
 public:
  // setup supplies the per-state time-outs and must outlive the engine; resolver serves the
  // internet name test.
  TfrmModemConnect(ui::Application& app, const config::Setup_Param& setup,
                   std::shared_ptr<net::NameResolver> resolver = net::DefaultNameResolver());
  ~TfrmModemConnect() override;

  // The window's components.
  ui::Button& Button1;
  LogMemo Memo1;
  ui::Label& Memo1View;  // the newest lines of Memo1, while the window is shown
  // Why steps failed: socket and send errors, dropped replies with their reasons and a verdict
  // line that ends each run. Kept apart from Memo1, whose lines stay as support knows them.
  LogMemo Diagnosis{""};
  ui::Label& DiagnosisView;  // its newest lines, below Memo1View
  net::UdpSocket WSocket;
  ui::Timer Timer;
  net::AsyncNameLookup Ping;

  // Engine fields.
  std::atomic<int32_t> state{0};
  uint16_t sequenceNumber = 0;
  MacAddress targetMac{};
  Datagram sendBuffer;  // the last request sent, kept for resends; sendBuffer.length is its length
  int32_t attemptCounter = 0;
  TokenTable tokens;
  ModemSettings modemSettings;
  std::atomic<int32_t> wanStatus{0};
  std::atomic<int32_t> sessionResult{0};
  bool queryLineRateAfterDiscovery = false;
  bool queryPvc1AfterLineRate = false;
  bool testDnsAfterWanUp = false;
  std::string destinationAddress;
  uint16_t destinationPort = kModemPort;  // tests aim at a simulator on another port
  std::string discoveredModel;
  std::string discoveredPassword;
  std::string discoveredIpAddress;
  // The modem the hardware check found. While set, a discovery takes that modem's replies
  // alone, so that a later step never configures another modem on the segment.
  std::optional<MacAddress> foundModemMac;
  std::array<std::string, 4> testHosts;

  void FormCreate();
  // Starts the request of the current state.
  void StartSession();
  // Sets state and starts, as the launcher threads do; both happen on the UI thread. Called from
  // another thread it returns once the UI thread has started the run (the first request is
  // out), or early when *abandon turns true (the start is then dropped unless the UI thread has
  // taken it), or after a few seconds if the UI thread never takes it.
  void StartSessionAt(int32_t startState, const std::atomic<bool>* abandon = nullptr);
  // Sends one command (the router password dialog's "rebootDefault") with the current target
  // MAC and the next sequence number; the run in progress, its state and its timer stay as they
  // are and no reply is awaited.
  void SendCommand(std::string_view name);

  void Button1Click();
  void TimerTimer();
  void WSocketDataAvailable(int error);
  void WSocketError(int error);
  void PingDnsLookupDone(int error);

  // True when the last discovery heard two modems on two wired adapters and chose neither.
  bool severalModemsAnswered() const { return severalModems_; }

  // The sequence numbers whose replies the current step takes: its request's and its resends'.
  const SequenceWindow& stepSequences() const { return stepSequences_; }

  // One received datagram, as WSocketDataAvailable hands it on (the fuzzer feeds it directly).
  void HandleDatagram(const uint8_t* data, size_t length);

 private:
  void StartOnUiThread();
  void Send(const Request& request);
  void Resend();
  void ArmTimer();
  void Log(std::string line);
  void Note(std::string line);
  void RefreshMemoView();
  void LogTokens();
  void OnDiscoveryReply(const MacAddress& mac);
  void TakeDiscovery(const MacAddress& mac, const DiscoveryReply& discovery);
  void OnLineRateReply();
  void OnPvc1Reply(const uint8_t* payload, size_t length);
  void OnWirelessReply(const uint8_t* payload, size_t length);
  void OnWanStatusReply();
  void StartNameTest();
  void LookUpTestHost(size_t index);
  void SendDatagram(const uint8_t* data, size_t length);
  bool RunsOnModemAdapter() const;
  std::optional<uint32_t> ModemAdapterSource(std::string* problem);
  bool OpenRunSocket();
  bool RefreshRunSocket();
  void OpenAdapterSockets(bool renewing = false);
  void RenewAdapterSockets();
  void SendOnAdapters(const uint8_t* data, size_t length);
  void HearAnswer(const MacAddress& mac, const DiscoveryReply& discovery);
  bool DecideAnswer(bool waitOver);
  void DropReply(std::string_view reason);
  void Succeed();
  void Fail();

  // A discovery goes out of every adapter that can lead to the modem, through a socket tied to
  // it; the one the modem is chosen on carries the rest of the run, and later runs go out of that
  // adapter alone.
  struct AdapterSocket {
    std::string adapter;
    uint32_t index = 0;  // the system's interface index
    platform::AdapterMedium medium = platform::AdapterMedium::kWired;
    uint32_t address = 0;  // 0: the adapter has none yet, and the socket sends from none
    uint32_t mask = 0;
    std::unique_ptr<net::UdpSocket> socket;
  };
  // A discovery answer held until it is clear that no better one comes.
  struct HeldAnswer {
    AdapterSocket* heardOn = nullptr;
    MacAddress mac{};
    DiscoveryReply discovery;
    AnswerRank rank = AnswerRank::kWireless;
    uint32_t peer = 0;  // the address the answer came from
  };
  std::vector<std::unique_ptr<AdapterSocket>> adapterSockets_;
  AdapterSocket* answeredOn_ = nullptr;  // the adapter socket that carries the run
  AdapterSocket* heardOn_ = nullptr;     // the adapter socket whose datagram is being handled
  uint32_t heardFrom_ = 0;               // and the address that datagram came from
  std::vector<HeldAnswer> answers_;
  bool answerGraceArmed_ = false;
  bool severalModems_ = false;
  std::vector<std::string> cablesWithoutAddress_;  // asked, or not, from no address
  std::vector<std::string> cablesWithoutLink_;     // not asked
  bool askAdapters_ = false;                       // this discovery asks adapter by adapter
  // Where the modem last answered a discovery: the adapter, its index and the address there, and
  // the modem's own address.
  std::string modemAdapter_;
  uint32_t modemAdapterIndex_ = 0;
  uint32_t modemSource_ = 0;
  uint32_t modemPeer_ = 0;

  // The sequence numbers the current step has sent, whose replies it takes.
  SequenceWindow stepSequences_;
  // What the current run met, for the verdict line that ends it.
  int32_t repliesDropped_ = 0;
  int32_t repliesTaken_ = 0;
  std::string lastDropReason_;
  std::string unfinishedCause_;  // what the modem's own answers said kept the step from ending
  std::string sendError_;
  int32_t sendErrors_ = 0;
  std::string socketError_;

  const config::Setup_Param& setup_;
  std::shared_ptr<bool> alive_;
};

}  // namespace quillon::modem
