// Which replies the engine takes, what it does with them, and what it logs, against a scripted
// peer in its own loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine_harness.h"
#include "modem/engine/answer_choice.h"
#include "modem/protocol/pvc1_record.h"
#include "modem/protocol/wireless_record.h"

namespace quillon::modem::test {
namespace {

class EngineReplies : public ::testing::Test {
 protected:
  void SetUp() override { rig.backend.SetSocketGraceMs(20); }

  // The last request the peer saw; answers go to its sender with its sequence number.
  const ScriptedPeer::Received& Last() const { return peer.received().back(); }
  void Answer(const MacAddress& mac, uint16_t code, std::string_view text) {
    peer.Reply(Last(), TextReply(mac, code, SequenceOf(Last().bytes), text));
  }
  void Settle() { rig.backend.RunFor(1); }

  // A discovery by kMacA, taken, leaving the engine on that modem.
  void Discover() {
    rig.engine->queryLineRateAfterDiscovery = false;
    rig.Start(STATE_DISCOVERY, peer.port());
    Settle();
    Answer(kMacA, MSG_DISCOVER_REPLY, DiscoveryText("QR-5120G", "tulip", "198.51.100.1"));
    ASSERT_TRUE(rig.RunUntilDone(100));
    ASSERT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  }

  EngineRig rig;
  ScriptedPeer peer{*rig.app};
};

TEST_F(EngineReplies, FormCreateLeavesTheDesignState) {
  const TfrmModemConnect& e = *rig.engine;
  EXPECT_EQ(e.state, STATE_DISCOVERY);
  EXPECT_EQ(e.sequenceNumber, 0);
  EXPECT_EQ(e.wanStatus, 0);
  EXPECT_EQ(e.sessionResult, kSessionRunning);
  EXPECT_FALSE(e.queryLineRateAfterDiscovery);
  EXPECT_TRUE(e.queryPvc1AfterLineRate);
  EXPECT_TRUE(e.testDnsAfterWanUp);
  EXPECT_FALSE(e.visible());
  EXPECT_EQ(e.Button1.caption(), "Button1");
  EXPECT_EQ(e.Memo1.Lines(), std::deque<std::string>{"Memo1"});
  EXPECT_FALSE(e.Timer.enabled());
  EXPECT_TRUE(e.WSocket.isOpen());
  const TfrmModemConnect other(*rig.app, rig.setup, rig.resolver);
  EXPECT_EQ(other.destinationAddress, "255.255.255.255");
}

TEST_F(EngineReplies, DiscoveryKeepsTheModemsTexts) {
  const size_t logStart = rig.LogSize();
  Discover();
  EXPECT_EQ(rig.engine->discoveredModel, "QR-5120G");
  EXPECT_EQ(rig.engine->discoveredPassword, "tulip");
  EXPECT_EQ(rig.engine->discoveredIpAddress, "198.51.100.1");
  EXPECT_EQ(rig.engine->targetMac, kMacA);
  const std::vector<std::string> expected = {
      "receive payload :" + DiscoveryText("QR-5120G", "tulip", "198.51.100.1"),
      "token:macAddress",
      "token:02:00:00:51:20:01",
      "token:fwVersion",
      "token:2.0.3",
      "token:modelName",
      "token:QR-5120G",
      "token:hwVersion",
      "token:A1",
      "token:routerPassword",
      "token:tulip",
      "token:ipAddress",
      "token:198.51.100.1"};
  EXPECT_EQ(rig.LogSince(logStart), expected);
}

TEST_F(EngineReplies, InDiscoveryAnyModemIsTakenAndTheLastOneWins) {
  rig.Start(STATE_DISCOVERY, peer.port());
  Settle();
  Answer(kMacA, MSG_DISCOVER_REPLY, DiscoveryText("QR-5120G", "tulip", "198.51.100.1"));
  Answer(kMacB, MSG_DISCOVER_REPLY, DiscoveryText("QR-7000", "rose", "198.51.100.2"));
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  rig.backend.RunFor(1);
  EXPECT_EQ(rig.engine->targetMac, kMacB);
  EXPECT_EQ(rig.engine->discoveredModel, "QR-7000");
  EXPECT_EQ(rig.engine->discoveredIpAddress, "198.51.100.2");
  // Every later request goes to that modem.
  rig.Start(STATE_QUERY_PVC1, peer.port());
  Settle();
  EXPECT_EQ(MacOf(Last().bytes), kMacB);
}

// The broadcast, a multicast or the all-zero address is no modem: taking one would aim every
// later request at all of them.
TEST_F(EngineReplies, InDiscoveryAReplyFromNoSingleModemIsRefused) {
  rig.engine->queryLineRateAfterDiscovery = false;
  rig.Start(STATE_DISCOVERY, peer.port());
  Settle();
  const MacAddress noModem[] = {kDiscoveryMac, {0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}, {}};
  for (const MacAddress& mac : noModem)
    Answer(mac, MSG_DISCOVER_REPLY, DiscoveryText("QR-5120G", "tulip", "198.51.100.1"));
  rig.backend.RunFor(100);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  Answer(kMacA, MSG_DISCOVER_REPLY, DiscoveryText("QR-5120G", "tulip", "198.51.100.1"));
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  EXPECT_EQ(rig.engine->targetMac, kMacA);
}

// Each run ends with a verdict beside the log: a modem that never answered is told apart from
// answers that were all turned down, and every dropped reply and socket error gives its reason.
TEST_F(EngineReplies, EachRunEndsWithAVerdictThatTellsWhy) {
  struct Row {
    const char* what;
    const char* destination;
    std::function<void(const ScriptedPeer::Received&)> answer;
    std::vector<std::string> notes;
  };
  const Row rows[] = {
      {"silent", "127.0.0.1", nullptr, {"verdict: failed, no reply"}},
      {"earlier step",
       "127.0.0.1",
       [this](const ScriptedPeer::Received& r) {
         peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, 0, LineRateText(0)));
       },
       {"reply dropped: sequence number 0, not one of this step's (1 to 1)",
        "reply dropped: sequence number 0, not one of this step's (1 to 2)",
        "reply dropped: sequence number 0, not one of this step's (1 to 3)",
        "reply dropped: sequence number 0, not one of this step's (1 to 4)",
        "reply dropped: sequence number 0, not one of this step's (1 to 5)",
        "verdict: failed, replies rejected: 5, the last: sequence number 0, not one of this "
        "step's (1 to 5)"}},
      {"line down",
       "127.0.0.1",
       [this](const ScriptedPeer::Received& r) {
         peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), LineRateText(1)));
       },
       {"verdict: failed, the modem answered: the DSL line is down"}},
      {"short",
       "127.0.0.1",
       [this](const ScriptedPeer::Received& r) { peer.Reply(r, Bytes(5, 0)); },
       {"reply dropped: short datagram of 5 bytes", "reply dropped: short datagram of 5 bytes",
        "reply dropped: short datagram of 5 bytes", "reply dropped: short datagram of 5 bytes",
        "reply dropped: short datagram of 5 bytes",
        "verdict: failed, replies rejected: 5, the last: short datagram of 5 bytes"}},
      {"no address",
       "modem.local",
       nullptr,
       {"socket error: not an IPv4 address", "verdict: failed, socket error: not an IPv4 address"}},
  };
  rig.engine->targetMac = kMacA;
  rig.engine->queryPvc1AfterLineRate = false;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    peer.onRequest = row.answer;
    rig.engine->Diagnosis.Clear();
    rig.engine->destinationAddress = row.destination;
    rig.engine->destinationPort = peer.port();
    rig.engine->state = STATE_QUERY_LINERATE;
    rig.engine->sequenceNumber = 0;
    rig.engine->StartSession();
    ASSERT_TRUE(rig.RunUntilDone());
    EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
    EXPECT_EQ(std::vector<std::string>(rig.engine->Diagnosis.Lines().begin(),
                                       rig.engine->Diagnosis.Lines().end()),
              row.notes);
  }
}

// A modem slower than one resend interval answers an earlier send of the step: that completes
// the step, while an answer to a request of the step before is never taken for this one's.
TEST_F(EngineReplies, AReplyToAnyRequestOfTheStepIsTakenButNotOneOfTheStepBefore) {
  rig.Start(STATE_DISCOVERY, peer.port());
  rig.backend.RunFor(3000);
  ASSERT_EQ(peer.received().size(), 2u);
  const ScriptedPeer::Received first = peer.received()[0];
  peer.Reply(first, TextReply(kMacA, MSG_DISCOVER_REPLY, SequenceOf(first.bytes),
                              DiscoveryText("QR-5120G", "tulip", "198.51.100.1")));
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);

  rig.Start(STATE_QUERY_LINERATE, peer.port());
  Settle();
  const size_t logStart = rig.LogSize();
  peer.Reply(first, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(peer.received()[1].bytes),
                              LineRateText(0)));
  rig.backend.RunFor(100);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  EXPECT_TRUE(rig.LogSince(logStart).empty()) << "a stale reply leaves no trace";
}

TEST_F(EngineReplies, AnotherModemsReplyIsDroppedOutsideDiscovery) {
  Discover();
  rig.Start(STATE_QUERY_LINERATE, peer.port());
  Settle();
  EXPECT_EQ(MacOf(Last().bytes), kMacA);
  const size_t logStart = rig.LogSize();
  Answer(kMacB, MSG_QUERY_REPLY, LineRateText(0));
  rig.backend.RunFor(100);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  EXPECT_TRUE(rig.LogSince(logStart).empty());
  Answer(kMacA, MSG_QUERY_REPLY, LineRateText(0));
  rig.engine->queryPvc1AfterLineRate = false;
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
}

TEST_F(EngineReplies, ALineThatIsDownKeepsPollingUntilItComesUp) {
  Discover();
  rig.engine->queryPvc1AfterLineRate = false;
  peer.onRequest = [this](const ScriptedPeer::Received& r) {
    const int down = peer.received().size() < 4 ? 1 : 0;  // down for the first two polls
    peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), LineRateText(down)));
  };
  const int64_t t0 = rig.Now();
  rig.Start(STATE_QUERY_LINERATE, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  EXPECT_EQ(rig.CountLog("ADSL is down"), 2);
  EXPECT_EQ(rig.Now() - t0, 2 * 5000);
  EXPECT_EQ(rig.engine->state, STATE_QUERY_LINERATE);
}

TEST_F(EngineReplies, ALineThatStaysDownFailsByTimeout) {
  Discover();
  peer.onRequest = [this](const ScriptedPeer::Received& r) {
    peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), LineRateText(1)));
  };
  rig.Start(STATE_QUERY_LINERATE, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_EQ(rig.CountLog("ADSL is down"), 5);
  EXPECT_EQ(rig.CountLog("STATE_QUERY_LINERATE timeout"), 1);
}

TEST_F(EngineReplies, DiscoveryGoesOnToTheLineRateAndThePvcQuery) {
  rig.engine->queryLineRateAfterDiscovery = true;
  rig.engine->queryPvc1AfterLineRate = true;
  ModemSettings modem;
  modem.connectionType = kConnectionPppoa;
  modem.vpi = 8;
  modem.vci = 35;
  modem.encapsulation = 1;
  modem.pppUserName = "alice@isp";
  modem.pppPassword = "secret";
  peer.onRequest = [&](const ScriptedPeer::Received& r) {
    const std::string tag = PayloadTextOf(r.bytes);
    if (CodeOf(r.bytes) == MSG_DISCOVER) {
      peer.Reply(r, TextReply(kMacA, MSG_DISCOVER_REPLY, SequenceOf(r.bytes),
                              DiscoveryText("QR-5120G", "tulip", "198.51.100.1")));
    } else if (tag == kQueryLineRate) {
      peer.Reply(r, TextReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), LineRateText(0)));
    } else if (tag == kQueryPvc1) {
      Bytes record(kPvc1RecordSize);
      EncodePvc1Record(Pvc1RecordFromSettings(modem), record.data());
      peer.Reply(r, RawReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), record));
    }
  };
  const size_t logStart = rig.LogSize();
  rig.Start(STATE_DISCOVERY, peer.port());
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  EXPECT_EQ(rig.engine->state, STATE_QUERY_PVC1);
  EXPECT_EQ(peer.received().size(), 3u);
  EXPECT_EQ(rig.engine->modemSettings.connectionType, kConnectionPppoa);
  EXPECT_EQ(rig.engine->modemSettings.vci, 35);
  EXPECT_EQ(rig.engine->modemSettings.pppUserName, "alice@isp");
  EXPECT_EQ(rig.engine->Button1.caption(), "Set PVC-1");
  const std::vector<std::string> log = rig.LogSince(logStart);
  ASSERT_GE(log.size(), 4u);
  const std::vector<std::string> tail(log.end() - 4, log.end());
  EXPECT_EQ(tail,
            (std::vector<std::string>{"vpi=8 vci=35 protocol=1 encap=1", "dhcpc=0 ip=[] mask=[]",
                                      "autoGW=1 gw=[] autoDNS=1 dns=[0.0.0.0]",
                                      "pppUsername=[alice@isp] pppPassword=[secret]"}));
  EXPECT_FALSE(rig.engine->Timer.enabled());
}

TEST_F(EngineReplies, WirelessQueryLogsTheRecordAndDecodesIt) {
  Discover();
  ModemSettings modem;
  modem.wlSecurity = kSecurityWep64;
  modem.wlChannel = 6;
  modem.wlSsid = "home";
  modem.wlKey = "0123456789";
  modem.wlCountryCode = "DE";
  modem.wlKeyNumber = 2;
  Bytes record(kWirelessRecordSize);
  EncodeWirelessRecord(*WirelessRecordFromSettings(modem), record.data());
  peer.onRequest = [&](const ScriptedPeer::Received& r) {
    peer.Reply(r, RawReply(kMacA, MSG_QUERY_REPLY, SequenceOf(r.bytes), record));
  };
  const size_t logStart = rig.LogSize();
  rig.Start(STATE_QUERY_WIRELESS, peer.port());
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
  EXPECT_EQ(rig.engine->modemSettings.wlSecurity, kSecurityWep64);
  EXPECT_EQ(rig.engine->modemSettings.wlKey, "0123456789");
  EXPECT_EQ(rig.engine->modemSettings.wlKeyNumber, 2);
  EXPECT_EQ(rig.engine->Button1.caption(), "Set Wireless");
  const std::vector<std::string> log = rig.LogSince(logStart);
  ASSERT_EQ(log.size(), 9u);
  EXPECT_EQ(
      std::vector<std::string>(log.begin() + 1, log.end()),
      (std::vector<std::string>{"wlChannel=6", "wlSsid=home", "wlKeyBit=1", "wlKey=0123456789",
                                "wlWpaPsk=", "wlWep=enabled", "wlWpa=", "wlAuthMode=open"}));
}

TEST_F(EngineReplies, SetStepsAndTheSaveCommandSetTheirCaptions) {
  Discover();
  struct Step {
    int32_t state;
    uint16_t ack;
    std::string caption;
  };
  rig.engine->modemSettings.wlSecurity = kSecurityNone;
  for (const Step& step : {Step{STATE_SET_PVC1, MSG_SET_REPLY, "Button1"},
                           Step{STATE_SET_WIRELESS, MSG_SET_REPLY, "Save/Reboot"},
                           Step{STATE_CMD_SAVEREBOOT, MSG_COMMAND_REPLY, "wait 20sec"}}) {
    rig.engine->Button1.SetCaption("Button1");
    peer.onRequest = [&](const ScriptedPeer::Received& r) {
      peer.Reply(r, TextReply(kMacA, step.ack, SequenceOf(r.bytes), ""));
    };
    rig.Start(step.state, peer.port());
    ASSERT_TRUE(rig.RunUntilDone(100)) << step.state;
    EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded) << step.state;
    EXPECT_EQ(rig.engine->Button1.caption(), step.caption) << step.state;
    EXPECT_FALSE(rig.engine->Timer.enabled()) << step.state;
  }
  EXPECT_EQ(PayloadTextOf(Last().bytes), "<saveReboot>");
}

TEST_F(EngineReplies, AReplyWithAnotherCodeIsLoggedButIgnored) {
  Discover();
  rig.Start(STATE_SET_PVC1, peer.port());
  Settle();
  Answer(kMacA, MSG_COMMAND_REPLY, "odd");
  rig.backend.RunFor(100);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  EXPECT_EQ(rig.CountLog("receive payload :odd"), 1);
}

struct MalformedCase {
  int32_t state;
  std::string text;
  std::string errorLine;
};

TEST_F(EngineReplies, MalformedTokenRepliesAreReceiveErrorsAndTheRunWaits) {
  Discover();
  const MalformedCase cases[] = {
      {STATE_QUERY_LINERATE, "<lineRateDown=1><lineRateUp=1><lineDown=0>",
       "STATE_QUERY_LINERATE receive error"},
      {STATE_QUERY_LINERATE, "<lineRateUp=1><lineRateDown=1>",
       "STATE_QUERY_LINERATE receive error"},
      {STATE_QUERY_WANSTATUS, "<wanstatus=6>", "STATE_QUERY_WANSTATUS receive error"},
      {STATE_QUERY_WANSTATUS, "<wanStatus=6><x=1>", "STATE_QUERY_WANSTATUS receive error"},
      {STATE_QUERY_WANSTATUS, "<wanStatus=" + std::string(200, '6') + ">",
       "STATE_QUERY_WANSTATUS receive error"},
      // Last: a discovery that is not taken leaves the engine without a target modem.
      {STATE_DISCOVERY, "<modelName=QR><routerPassword=x>", "STATE_DISCOVERY receive error"},
  };
  for (const MalformedCase& c : cases) {
    rig.Start(c.state, peer.port());
    Settle();
    const uint16_t awaited = c.state == STATE_DISCOVERY ? MSG_DISCOVER_REPLY : MSG_QUERY_REPLY;
    Answer(kMacA, awaited, c.text);
    rig.backend.RunFor(100);
    EXPECT_EQ(rig.engine->sessionResult, kSessionRunning) << c.text;
    EXPECT_EQ(rig.engine->Memo1.Lines().back(), c.errorLine) << c.text;
    EXPECT_EQ(rig.engine->state, c.state) << c.text;
    rig.engine->sessionResult = kSessionFailed;  // abandon before the next case
  }
}

TEST_F(EngineReplies, RecordRepliesWithoutTheirTagOrCutShortAreIgnored) {
  Discover();
  ModemSettings modem;
  modem.connectionType = kConnectionBridge;
  Bytes record(kPvc1RecordSize);
  EncodePvc1Record(Pvc1RecordFromSettings(modem), record.data());
  const Bytes cut(record.begin(), record.begin() + kPvc1RecordSize / 2);
  Bytes untagged = record;
  untagged[1] = 'P';
  rig.Start(STATE_QUERY_PVC1, peer.port());
  Settle();
  for (const Bytes& payload : {cut, untagged}) {
    peer.Reply(Last(), RawReply(kMacA, MSG_QUERY_REPLY, SequenceOf(Last().bytes), payload));
    rig.backend.RunFor(100);
    EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  }
  EXPECT_EQ(rig.engine->modemSettings, ModemSettings{});
  peer.Reply(Last(), RawReply(kMacA, MSG_QUERY_REPLY, SequenceOf(Last().bytes), record));
  ASSERT_TRUE(rig.RunUntilDone(100));
  EXPECT_EQ(rig.engine->modemSettings.connectionType, kConnectionBridge);
}

TEST_F(EngineReplies, ALateAcknowledgementAfterTheTimeoutStillSucceeds) {
  Discover();
  rig.Start(STATE_SET_PVC1, peer.port());
  ASSERT_TRUE(rig.RunUntilDone());
  ASSERT_EQ(rig.engine->sessionResult, kSessionFailed);
  ASSERT_EQ(peer.received().size(), 1u + 7u);
  // The modem did take the settings: its acknowledgement of any of the step's sends tells so.
  const ScriptedPeer::Received& earlier = peer.received()[peer.received().size() - 3];
  peer.Reply(earlier, TextReply(kMacA, MSG_SET_REPLY, SequenceOf(earlier.bytes), ""));
  rig.backend.RunFor(100);
  EXPECT_EQ(rig.engine->sessionResult, kSessionSucceeded);
}

TEST_F(EngineReplies, AnAbandonedRunStopsAtItsNextTick) {
  rig.Start(STATE_DISCOVERY, peer.port());
  rig.backend.RunFor(1000);
  rig.engine->sessionResult = kSessionFailed;
  rig.backend.RunFor(60000);
  EXPECT_EQ(peer.received().size(), 1u);
  EXPECT_FALSE(rig.engine->Timer.enabled());
  EXPECT_EQ(rig.CountLog("STATE_DISCOVERY timeout"), 0);
}

TEST_F(EngineReplies, RebootDefaultIsOneDatagramThatChangesNothing) {
  Discover();
  rig.Start(STATE_SET_PVC1, peer.port());
  rig.backend.RunFor(1000);
  const int32_t attempts = rig.engine->attemptCounter;
  const uint16_t sequence = rig.engine->sequenceNumber;
  rig.engine->SendCommand(kCommandRebootDefault);
  Settle();
  ASSERT_EQ(peer.received().size(), 3u);
  const Bytes& command = Last().bytes;
  EXPECT_EQ(command.size(), 26u);
  EXPECT_EQ(MacOf(command), kMacA);
  EXPECT_EQ(CodeOf(command), MSG_COMMAND);
  EXPECT_EQ(SequenceOf(command), sequence + 1);
  EXPECT_EQ(PayloadTextOf(command), "<rebootDefault>");
  EXPECT_EQ(rig.engine->state, STATE_SET_PVC1);
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
  EXPECT_EQ(rig.engine->attemptCounter, attempts);
  EXPECT_TRUE(rig.engine->Timer.enabled());
  // The run's next resend is still its own request.
  rig.backend.RunFor(5000);
  ASSERT_EQ(peer.received().size(), 4u);
  EXPECT_EQ(CodeOf(Last().bytes), MSG_SET);
  EXPECT_EQ(SequenceOf(Last().bytes), sequence + 2);
}

TEST_F(EngineReplies, ADestinationThatIsNoAddressFailsTheRunAtOnce) {
  rig.engine->destinationAddress = "modem.local";
  rig.engine->state = STATE_DISCOVERY;
  rig.engine->StartSession();
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  rig.backend.RunFor(20000);
  EXPECT_EQ(rig.engine->sessionResult, kSessionFailed);
  EXPECT_TRUE(peer.received().empty());
}

TEST_F(EngineReplies, ARedirectKeepsABroadcastRunOnLoopback) {
  rig.engine->WSocket.redirect = platform::Ipv4Endpoint{platform::kLoopbackAddress, peer.port()};
  rig.engine->destinationAddress = "255.255.255.255";
  rig.engine->state = STATE_DISCOVERY;
  rig.engine->StartSession();
  Settle();
  ASSERT_EQ(peer.received().size(), 1u);
  EXPECT_EQ(rig.engine->WSocket.Addr, "255.255.255.255");
}

TEST_F(EngineReplies, TheButtonStartsARunWithTheCurrentStateAndFlags) {
  rig.engine->destinationPort = peer.port();
  rig.engine->state = STATE_QUERY_WANSTATUS;
  rig.engine->Button1.Click();
  Settle();
  ASSERT_EQ(peer.received().size(), 1u);
  EXPECT_EQ(PayloadTextOf(Last().bytes), "<wanStatus>");
  EXPECT_EQ(rig.engine->sessionResult, kSessionRunning);
}

// Which of the answers heard on several adapters the session talks to.
TEST(AnswerChoice, TheCableWinsARadioWaitsTwoCablesAreNotChosenBetween) {
  using platform::AdapterMedium;
  constexpr uint32_t kMask = 0xFFFFFF00, kPc = 0xC6336400 + 10, kModem = 0xC6336401;
  EXPECT_EQ(RankAnswer(AdapterMedium::kWired, kPc, kMask, kModem), AnswerRank::kCableSubnet);
  EXPECT_EQ(RankAnswer(AdapterMedium::kWired, 0, 0, kModem), AnswerRank::kCableSubnet);
  EXPECT_EQ(RankAnswer(AdapterMedium::kWired, 0xA9FE0102, 0xFFFF0000, kModem), AnswerRank::kCable);
  EXPECT_EQ(RankAnswer(AdapterMedium::kWireless, kPc, kMask, kModem), AnswerRank::kWireless);

  const MacAddress modem = {2, 0, 0, 0x51, 0x20, 1}, decoy = {2, 0, 0, 0xde, 0xc0, 1};
  const HeardAnswer cable{"eth0", modem, AnswerRank::kCableSubnet};
  const HeardAnswer radio{"wlan0", decoy, AnswerRank::kWireless};
  const auto choose = [](std::vector<HeardAnswer> answers, size_t cables, bool over) {
    const AnswerChoice choice = ChooseAnswer(answers, cables, over);
    return std::make_pair(choice.verdict, choice.chosen);
  };
  using V = AnswerVerdict;
  EXPECT_EQ(choose({}, 1, true).first, V::kWait);
  EXPECT_EQ(choose({cable}, 1, false), std::make_pair(V::kTake, size_t{0}));
  // The radio answered first; the cable's answer still wins, at once.
  EXPECT_EQ(choose({radio}, 1, false).first, V::kWait);
  EXPECT_EQ(choose({radio, cable}, 1, false), std::make_pair(V::kTake, size_t{1}));
  // A radio is never taken over a cable with a link, however long it stays silent; where no
  // cable was asked, at once.
  EXPECT_EQ(choose({radio}, 1, true).first, V::kWait);
  EXPECT_EQ(choose({radio}, 0, false), std::make_pair(V::kTake, size_t{0}));
  // An answer from outside the cable's subnet waits, then beats the radio.
  HeardAnswer automatic = cable;
  automatic.rank = AnswerRank::kCable;
  EXPECT_EQ(choose({radio, automatic}, 1, false).first, V::kWait);
  EXPECT_EQ(choose({radio, automatic}, 1, true), std::make_pair(V::kTake, size_t{1}));
  // Another cable was asked: wait for it; the same modem on both cables is one modem.
  EXPECT_EQ(choose({cable}, 2, false).first, V::kWait);
  EXPECT_EQ(choose({cable}, 2, true), std::make_pair(V::kTake, size_t{0}));
  const HeardAnswer sameModemOtherCable{"eth1", modem, AnswerRank::kCableSubnet};
  EXPECT_EQ(choose({cable, sameModemOtherCable}, 2, false), std::make_pair(V::kTake, size_t{0}));
  const HeardAnswer otherModemOtherCable{"eth1", decoy, AnswerRank::kCableSubnet};
  EXPECT_EQ(choose({cable, otherModemOtherCable}, 2, false).first, V::kSeveralModems);
  EXPECT_EQ(choose({cable, otherModemOtherCable}, 2, true).first, V::kSeveralModems);
  // Two modems on one cable stay the hardware check's business, as on a single adapter.
  const HeardAnswer otherModemSameCable{"eth0", decoy, AnswerRank::kCableSubnet};
  EXPECT_EQ(choose({cable, otherModemSameCable}, 1, false).first, V::kTake);
}

}  // namespace
}  // namespace quillon::modem::test
