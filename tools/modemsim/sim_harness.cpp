#include "sim_harness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace quillon::modemsim {

namespace {

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Reads one line from fd before the deadline; nothing on time-out or end of file.
std::optional<std::string> ReadLine(int fd, long long deadline) {
  std::string line;
  for (;;) {
    const long long left = deadline - NowMs();
    if (left <= 0) return std::nullopt;
    pollfd readable{fd, POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left)) <= 0) continue;
    char c = 0;
    if (read(fd, &c, 1) != 1) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
}

// Waits for the child up to the deadline; its exit code, or -1 when it died by a signal.
std::optional<int> WaitUntil(int pid, long long deadline) {
  for (;;) {
    int status = 0;
    const int done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 || NowMs() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

std::unique_ptr<SimProcess> SimProcess::Start(const std::string& executable,
                                              const std::vector<std::string>& args,
                                              std::string& error, int timeoutMs) {
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) {
    error = "pipe failed";
    return nullptr;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  pid_t pid = -1;
  const int spawned =
      posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (spawned != 0) {
    close(output[0]);
    error = "cannot start " + executable + ": " + std::strerror(spawned);
    return nullptr;
  }
  const std::optional<std::string> line = ReadLine(output[0], NowMs() + timeoutMs);
  const size_t colon = line ? line->rfind(':') : std::string::npos;
  if (!line || !line->starts_with("listening ") || colon == std::string::npos) {
    kill(pid, SIGKILL);
    const std::optional<int> code = WaitUntil(pid, NowMs() + timeoutMs);
    close(output[0]);
    error = "modemsim did not start listening (exit code " +
            (code ? std::to_string(*code) : std::string("unknown")) + ")";
    return nullptr;
  }
  const auto port = static_cast<uint16_t>(std::stoul(line->substr(colon + 1)));
  return std::unique_ptr<SimProcess>(new SimProcess(pid, output[0], port));
}

SimProcess::~SimProcess() {
  Stop();
  if (output_ >= 0) close(output_);
}

bool SimProcess::Send(SimSignal which) {
  if (pid_ < 0) return false;
  int number = SIGTERM;
  switch (which) {
    case SimSignal::kLineUp:
      number = SIGUSR1;
      break;
    case SimSignal::kLineDown:
      number = SIGUSR2;
      break;
    case SimSignal::kWriteState:
      number = SIGHUP;
      break;
    case SimSignal::kTerminate:
      break;
  }
  return kill(pid_, number) == 0;
}

std::optional<int> SimProcess::Stop(int timeoutMs) {
  if (pid_ < 0) return std::nullopt;
  kill(pid_, SIGTERM);
  std::optional<int> code = WaitUntil(pid_, NowMs() + timeoutMs);
  if (!code) {
    kill(pid_, SIGKILL);
    WaitUntil(pid_, NowMs() + timeoutMs);
  }
  pid_ = -1;
  return code;
}

LoopbackProbe::LoopbackProbe(uint16_t port) : port_(port) {
  socket_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (socket_ >= 0 && bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    close(socket_);
    socket_ = -1;
  }
}

LoopbackProbe::~LoopbackProbe() {
  if (socket_ >= 0) close(socket_);
}

bool LoopbackProbe::Send(const uint8_t* data, size_t length) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  to.sin_port = htons(port_);
  return sendto(socket_, data, length, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
         static_cast<ssize_t>(length);
}

std::optional<std::vector<uint8_t>> LoopbackProbe::Receive(int timeoutMs) {
  const long long deadline = NowMs() + timeoutMs;
  for (;;) {
    const long long left = deadline - NowMs();
    pollfd readable{socket_, POLLIN, 0};
    if (left < 0 || poll(&readable, 1, static_cast<int>(left)) <= 0) {
      if (NowMs() >= deadline) return std::nullopt;
      continue;
    }
    std::vector<uint8_t> buffer(2048);
    const ssize_t length = recv(socket_, buffer.data(), buffer.size(), 0);
    if (length < 0) return std::nullopt;
    buffer.resize(static_cast<size_t>(length));
    return buffer;
  }
}

std::vector<std::vector<uint8_t>> LoopbackProbe::ReceiveFor(int windowMs) {
  std::vector<std::vector<uint8_t>> all;
  const long long deadline = NowMs() + windowMs;
  for (long long left = windowMs; left > 0; left = deadline - NowMs()) {
    std::optional<std::vector<uint8_t>> datagram = Receive(static_cast<int>(left));
    if (!datagram) break;
    all.push_back(std::move(*datagram));
  }
  return all;
}

}  // namespace quillon::modemsim
