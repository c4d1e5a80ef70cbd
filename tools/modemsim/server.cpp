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
  int interfaceIndex = 0;  // where the request came in; a broadcast answer goes out there
};

// A PC without an address of its own (0.0.0.0, as a DHCP client sends) or with only an automatic
// one (169.254/16) cannot be reached by unicast from the modem's subnet: the firmware answers it
// by broadcast on the link the request came in on.
bool AnsweredByBroadcast(const sockaddr_in& from) {
  const uint32_t address = ntohl(from.sin_addr.s_addr);
  return address == 0 || (address >> 16) == 0xA9FE;
}

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
  const int on = 1;
  if (setsockopt(socket_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0 ||
      setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
    return false;
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
  alignas(cmsghdr) uint8_t control[CMSG_SPACE(sizeof(in_pktinfo))];
  iovec data{buffer, sizeof buffer};
  msghdr message{};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t length = recvmsg(socket_, &message, 0);
  if (length < 0) return;
  int interfaceIndex = 0;
  for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header))
    if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO)
      interfaceIndex = reinterpret_cast<const in_pktinfo*>(CMSG_DATA(header))->ipi_ifindex;
  log_.Write("from " + AddressText(from));
  sockaddr_in to = from;
  if (AnsweredByBroadcast(from)) to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
  const long long now = MonotonicMs();
  for (OutgoingReply& reply : firmware.Handle(buffer, static_cast<size_t>(length), now))
    queue_.emplace(reply.dueMs, PendingSend{std::move(reply.bytes), to, interfaceIndex});
}

void Server::SendDue() {
  const long long now = MonotonicMs();
  while (!queue_.empty() && queue_.begin()->first <= now) {
    const PendingSend& send = queue_.begin()->second;
    alignas(cmsghdr) uint8_t control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    iovec data{const_cast<uint8_t*>(send.bytes.data()), send.bytes.size()};
    msghdr message{};
    message.msg_name = const_cast<sockaddr_in*>(&send.to);
    message.msg_namelen = sizeof send.to;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    if (send.to.sin_addr.s_addr == htonl(INADDR_BROADCAST) && send.interfaceIndex != 0) {
      message.msg_control = control;
      message.msg_controllen = sizeof control;
      cmsghdr* header = CMSG_FIRSTHDR(&message);
      header->cmsg_level = IPPROTO_IP;
      header->cmsg_type = IP_PKTINFO;
      header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
      reinterpret_cast<in_pktinfo*>(CMSG_DATA(header))->ipi_ifindex = send.interfaceIndex;
    }
    const ssize_t sent = sendmsg(socket_, &message, 0);
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
