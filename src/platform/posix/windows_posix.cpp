#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "platform/posix/private_folder.h"
#include "platform/windows.h"

namespace platform {
namespace {

// There is no shared window list to search here, so a program that wants to be commanded like a
// window listens on a FIFO named after its title in the user's runtime folder:
// $XDG_RUNTIME_DIR/norvane-windows/<title>, or in the program's private state folder when there
// is no runtime folder of this user alone (never a shared one, where another user could listen).
// The window exists while the program has the FIFO open for reading; a command is the line
// "WM_COMMAND <id>". A FIFO left behind by a program that ended is no window: opening it for
// writing fails with ENXIO.
std::string WindowFolder() {
  const std::string runtime = posix::RuntimeFolder();
  return runtime.empty() ? std::string() : runtime + "/norvane-windows";
}

std::string FifoPath(const std::string& title) {
  const std::string folder = WindowFolder();
  if (folder.empty()) return {};
  std::string name = title;
  for (char& c : name)
    if (c == '/') c = '_';
  return folder + "/" + name;
}

// Opens the window's FIFO for writing without waiting for a reader; -1 when nobody listens.
int OpenListening(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISFIFO(st.st_mode)) return -1;
  return ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
}

// A listener that quits between our open and our write must not take the wizard down with
// SIGPIPE: the signal is blocked for this thread during the write and a pending one is consumed.
bool WriteWithoutSigpipe(int fd, const std::string& line) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  const ssize_t written = ::write(fd, line.data(), line.size());
  const int error = errno;
  if (written < 0 && error == EPIPE) {
    const timespec zero{};
    ::sigtimedwait(&pipeSignal, nullptr, &zero);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return written == static_cast<ssize_t>(line.size());
}

class FifoWindows final : public WindowService {
 public:
  WindowHandle FindTopLevelWindow(const std::string& title) override {
    const std::string path = FifoPath(title);
    const int fd = OpenListening(path);
    if (fd < 0) return 0;
    ::close(fd);
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < found_.size(); ++i)
      if (found_[i] == path) return i + 1;
    found_.push_back(path);
    return found_.size();
  }

  bool SendCommand(WindowHandle window, int commandId) override {
    std::string path;
    {
      std::lock_guard lock(mutex_);
      if (window == 0 || window > found_.size()) return false;
      path = found_[window - 1];
    }
    const int fd = OpenListening(path);
    if (fd < 0) return false;
    // One line is far below PIPE_BUF, so it arrives whole even with other writers.
    const bool sent = WriteWithoutSigpipe(fd, "WM_COMMAND " + std::to_string(commandId) + "\n");
    ::close(fd);
    return sent;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> found_;  // a handle is an index into this list, plus one
};

}  // namespace

WindowService& SystemWindows() {
  static FifoWindows windows;
  return windows;
}

}  // namespace platform
