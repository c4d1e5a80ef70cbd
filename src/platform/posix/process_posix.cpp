#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/posix/dhclient_setup.h"
#include "platform/posix/private_folder.h"
#include "platform/process.h"

namespace platform {
namespace {

// The mutex is an advisory lock on a file in the user's private runtime folder (never a shared
// one, where another user could make the file first and keep the wizard from starting). Unlike an
// abstract socket it is seen across network namespaces, and the kernel drops it when the process
// ends, however it ends, so a crashed copy never blocks the next one.
class LockFileMutex : public NamedMutex {
 public:
  explicit LockFileMutex(const std::string& name) {
    const std::string folder = posix::RuntimeFolder();
    if (folder.empty()) return;  // no lock possible: behave as the only copy rather than refuse
    const std::string path = folder + "/" + name + ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      existed_ = errno == EWOULDBLOCK;
      return;
    }
    // The only copy owns what an earlier copy that was killed left running.
    posix::EndDhcpClients();
  }
  ~LockFileMutex() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool alreadyExisted() const override { return existed_; }

 private:
  int fd_ = -1;
  bool existed_ = false;
};

}  // namespace

std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name) {
  return std::make_unique<LockFileMutex>(name);
}

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

void SetCurrentThreadName(const std::string& name) {
  // Linux keeps 15 characters and the terminating zero.
  ::pthread_setname_np(::pthread_self(), name.substr(0, 15).c_str());
}

}  // namespace platform
