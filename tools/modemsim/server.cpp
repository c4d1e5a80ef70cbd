// The thin socket shell around ModemFirmware: Linux UDP, signals through a signalfd, and a
// queue of replies waiting for their send time.
#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "firmware.h"
#include "persistence.h"

namespace quillon::modemsim {

namespace {

struct PendingSend {
  std::vector<uint8_t> bytes;
  sockaddr_in to{};
};

std::string AddressText(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

class Server {
 public:
  Server(const SimOptions& options, SimLog& log) : options_(options), log_(log) {}
  ~Server() {
    if (socket_ >= 0) close(socket_);
    if (signals_ >= 0) close(signals_);
  }

  bool Open();
  int Run(ModemFirmware& firmware);

 private:
  bool HandleSignal(ModemFirmware& firmware);
  void Receive(ModemFirmware& firmware);
  void SendDue();
  void WriteState(const ModemFirmware& firmware, const char* why);

  const SimOptions& options_;
  SimLog& log_;
  int socket_ = -1;
  int signals_ = -1;
  std::multimap<long long, PendingSend> queue_;
};

bool Server::Open() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGUSR1, SIGUSR2, SIGHUP, SIGTERM, SIGINT}) sigaddset(&set, signal);
  if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return false;
  signals_ = signalfd(-1, &set, SFD_CLOEXEC);
  socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (signals_ < 0 || socket_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(options_.port);
  if (inet_pton(AF_INET, options_.bindAddress.c_str(), &address.sin_addr) != 1) {
    std::fprintf(stderr, "modemsim: --bind needs a numeric IPv4 address\n");
    return false;
  }
  if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::fprintf(stderr, "modemsim: cannot bind %s:%u: %s\n", options_.bindAddress.c_str(),
                 options_.port, std::strerror(errno));
    return false;
  }
  socklen_t length = sizeof address;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  std::printf("listening %s\n", AddressText(address).c_str());
  std::fflush(stdout);
  log_.Write("listening " + AddressText(address));
  return true;
}

int Server::Run(ModemFirmware& firmware) {
  uint32_t writtenGeneration = firmware.savedGeneration();
  for (;;) {
    SendDue();
    int timeout = -1;
    if (!queue_.empty())
      timeout = static_cast<int>(std::max(0LL, queue_.begin()->first - MonotonicMs()));
    pollfd fds[2] = {{signals_, POLLIN, 0}, {socket_, POLLIN, 0}};
    if (poll(fds, 2, timeout) < 0 && errno != EINTR) return 1;
    if ((fds[0].revents & POLLIN) && !HandleSignal(firmware)) return 0;
    if (fds[1].revents & POLLIN) Receive(firmware);
    if (firmware.savedGeneration() != writtenGeneration) {
      writtenGeneration = firmware.savedGeneration();
      WriteState(firmware, "saved configuration changed");
    }
  }
}

// False when the signal asks the simulator to end.
bool Server::HandleSignal(ModemFirmware& firmware) {
  signalfd_siginfo info{};
  if (read(signals_, &info, sizeof info) != sizeof info) return true;
  switch (info.ssi_signo) {
    case SIGUSR1:
      firmware.SetLineUp(true);
      return true;
    case SIGUSR2:
      firmware.SetLineUp(false);
      return true;
    case SIGHUP:
      WriteState(firmware, "SIGHUP");
      return true;
    default:
      WriteState(firmware, "exit");
      log_.Write("exiting");
      return false;
  }
}

void Server::Receive(ModemFirmware& firmware) {
  // Larger than any request, so an oversized datagram is seen whole and logged as such.
  uint8_t buffer[2048];
  sockaddr_in from{};
  socklen_t fromLength = sizeof from;
  const ssize_t length =
      recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (length < 0) return;
  log_.Write("from " + AddressText(from));
  const long long now = MonotonicMs();
  for (OutgoingReply& reply : firmware.Handle(buffer, static_cast<size_t>(length), now))
    queue_.emplace(reply.dueMs, PendingSend{std::move(reply.bytes), from});
}

void Server::SendDue() {
  const long long now = MonotonicMs();
  while (!queue_.empty() && queue_.begin()->first <= now) {
    const PendingSend& send = queue_.begin()->second;
    const ssize_t sent = sendto(socket_, send.bytes.data(), send.bytes.size(), 0,
                                reinterpret_cast<const sockaddr*>(&send.to), sizeof send.to);
    const uint8_t* bytes = send.bytes.data();
    log_.Write("tx to " + AddressText(send.to) +
               " code=" + std::to_string(send.bytes.size() >= 10 ? modem::ReadBe16(bytes + 6) : 0) +
               " seq=" + std::to_string(send.bytes.size() >= 10 ? modem::ReadBe16(bytes + 8) : 0) +
               " len=" + std::to_string(send.bytes.size()) +
               (sent < 0 ? std::string(" failed: ") + std::strerror(errno) : std::string()));
    queue_.erase(queue_.begin());
  }
}

void Server::WriteState(const ModemFirmware& firmware, const char* why) {
  if (options_.stateFile.empty()) return;
  const bool written = WriteFileAtomically(
      options_.stateFile, FormatState(firmware.saved(), firmware.pending(), firmware.counters()));
  log_.Write(std::string(written ? "state written (" : "state NOT written (") + why + ")");
}

}  // namespace

int RunServer(const SimOptions& options, const SimConfig& factory, const SimConfig& saved,
              SimLog& log) {
  Server server(options, log);
  if (!server.Open()) return 1;
  ModemFirmware firmware(options.firmware, options.faults, factory, saved, MonotonicMs(),
                         [&log](const std::string& line) { log.Write(line); });
  return server.Run(firmware);
}

}  // namespace quillon::modemsim
