#include "datagram_flood.h"

#include <array>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "modem/protocol/pvc1_record.h"
#include "platform/udp_socket.h"

namespace faults {

namespace {

using namespace quillon::modem;
using Clock = std::chrono::steady_clock;

constexpr MacAddress kStrangerMac = {0x02, 0x00, 0x00, 0x0e, 0x0e, 0x0e};

// Replies that would each derail the check if the engine took them: another model, a line
// that is down, a WAN that is not up, somebody else's account.
std::vector<std::uint8_t> StalePayload(std::uint16_t code) {
  std::string text;
  switch (code) {
    case MSG_DISCOVER_REPLY:
      text =
          "<macAddress=02:00:00:0e:0e:0e><fwVersion=9><modelName=QR-0000><hwVersion=A1>"
          "<routerPassword=stolen><ipAddress=203.0.113.66>";
      break;
    case MSG_QUERY_REPLY:
      text = "<lineRateUp=0><lineRateDown=0><lineDown=1>";
      break;
    default:
      text = "<result=ok>";
      break;
  }
  std::vector<std::uint8_t> payload(text.begin(), text.end());
  payload.push_back(0);
  return payload;
}

std::vector<std::uint8_t> ForeignPvc1Record() {
  Pvc1Record record;
  record.pppUsername = "mallory@elsewhere.example";
  record.pppPassword = "not yours";
  std::vector<std::uint8_t> payload(kPvc1RecordSize);
  EncodePvc1Record(record, payload.data());
  return payload;
}

}  // namespace

DatagramFlood::DatagramFlood(int perSecond, const MacAddress& modemMac)
    : perSecond_(perSecond), modemMac_(modemMac) {}

DatagramFlood::~DatagramFlood() {
  Stop();
}

void DatagramFlood::Start() {
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
}

void DatagramFlood::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

// Three kinds in turn: random bytes of random length; a stale reply from the real modem; the
// same from a stranger. Stale sequence numbers lie up to eight below the engine's last one.
void DatagramFlood::Run() {
  const platform::UdpOpenResult opened =
      platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false);
  if (opened.socket == platform::kNoSocket) return;
  std::mt19937 random(20000);
  const std::array<std::uint16_t, 4> codes = {MSG_DISCOVER_REPLY, MSG_QUERY_REPLY, MSG_SET_REPLY,
                                              MSG_COMMAND_REPLY};
  const std::vector<std::uint8_t> record = ForeignPvc1Record();
  std::vector<std::uint8_t> datagram;
  const auto begin = Clock::now();
  auto start = begin;
  long n = 0;
  while (!stop_) {
    const auto due = start + std::chrono::microseconds(n * 1000000 / perSecond_);
    if (Clock::now() < due) {
      std::this_thread::sleep_until(due);
      continue;
    }
    const std::uint16_t port = targetPort.load();
    if (port == 0) {
      // Held fire is not made up for later in one burst.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      start = Clock::now() - std::chrono::microseconds(n * 1000000 / perSecond_);
      continue;
    }
    if (n % 3 == 0) {
      datagram.resize(1 + random() % 200);
      for (auto& byte : datagram) byte = static_cast<std::uint8_t>(random());
    } else {
      const std::uint16_t code = codes[(n / 3) % codes.size()];
      const auto sequence = static_cast<std::uint16_t>(engineSequence.load() - 1 - (n / 3) % 8);
      std::vector<std::uint8_t> payload =
          code == MSG_QUERY_REPLY && (n / 12) % 2 == 0 ? record : StalePayload(code);
      datagram.assign(kHeaderSize, 0);
      EncodeControlHeader({n % 3 == 1 ? modemMac_ : kStrangerMac, code, sequence}, datagram.data());
      datagram.insert(datagram.end(), payload.begin(), payload.end());
    }
    const int result = platform::SendDatagram(opened.socket, datagram.data(), datagram.size(),
                                              {platform::kLoopbackAddress, port});
    ++n;
    if (result < 0) ++failed_;
  }
  seconds_ = std::chrono::duration<double>(Clock::now() - begin).count();
  sent_ = n;
  platform::CloseSocket(opened.socket);
}

}  // namespace faults
