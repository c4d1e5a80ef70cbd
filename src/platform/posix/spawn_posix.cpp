#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include "platform/posix/spawn.h"

extern char** environ;

namespace platform::posix {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const auto& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// The file actions and attributes of a spawn, released whatever way the spawn goes.
class SpawnSetup {
 public:
  SpawnSetup() {
    ::posix_spawn_file_actions_init(&actions_);
    ::posix_spawnattr_init(&attributes_);
  }
  ~SpawnSetup() {
    ::posix_spawn_file_actions_destroy(&actions_);
    ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  void NullStream(int fd, int flags) {
    ::posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", flags, 0);
  }
  void Duplicate(int from, int to) { ::posix_spawn_file_actions_adddup2(&actions_, from, to); }
  void ChangeFolder(const std::string& folder) {
    if (!folder.empty()) ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
  }
  void NewSession() { ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID); }

  int Spawn(const std::vector<std::string>& argv, pid_t* pid) {
    if (argv.empty()) return EINVAL;
    auto pointers = ArgumentPointers(argv);
    return ::posix_spawn(pid, argv.front().c_str(), &actions_, &attributes_, pointers.data(),
                         environ);
  }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

void Reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

// Waits for the child until the deadline; kills it when the deadline passes.
bool WaitUntil(pid_t pid, Clock::time_point deadline, int* exitCode) {
  for (;;) {
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status)) *exitCode = WEXITSTATUS(status);
      return WIFEXITED(status);
    }
    if (done < 0 && errno != EINTR) return false;
    if (Clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      Reap(pid);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ReadUntil(int fd, Clock::time_point deadline, std::string* output) {
  char buffer[4096];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return;
    pollfd entry{fd, POLLIN, 0};
    int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    output->append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

int SpawnDetached(const std::vector<std::string>& argv, const std::string& workingFolder) {
  SpawnSetup setup;
  setup.NullStream(0, O_RDONLY);
  setup.NullStream(1, O_WRONLY);
  setup.NullStream(2, O_WRONLY);
  setup.ChangeFolder(workingFolder);
  // A session of its own keeps a document viewer alive when the wizard's terminal goes away.
  setup.NewSession();
  pid_t pid = 0;
  if (int error = setup.Spawn(argv, &pid); error != 0) return error;
  try {
    std::thread(Reap, pid).detach();
  } catch (const std::system_error&) {
    // Without a thread the child stays a zombie until the wizard ends; it was started all the same.
  }
  return 0;
}

RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs, bool captureOutput) {
  RunResult result;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int pipeFds[2] = {-1, -1};
  if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
    result.startError = errno;
    return result;
  }
  SpawnSetup setup;
  setup.NullStream(0, O_RDONLY);
  if (captureOutput)
    setup.Duplicate(pipeFds[1], 1);
  else
    setup.NullStream(1, O_WRONLY);
  setup.NullStream(2, O_WRONLY);
  pid_t pid = 0;
  result.startError = setup.Spawn(argv, &pid);
  if (captureOutput) ::close(pipeFds[1]);
  if (result.startError == 0) {
    if (captureOutput) ReadUntil(pipeFds[0], deadline, &result.output);
    result.exited = WaitUntil(pid, deadline, &result.exitCode);
  }
  if (captureOutput) ::close(pipeFds[0]);
  return result;
}

}  // namespace platform::posix
