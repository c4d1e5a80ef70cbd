#include "app/executable_path.h"

#include "platform/process.h"

namespace app {
namespace {

std::string& Override() {
  static std::string path;
  return path;
}

}  // namespace

std::string ExecutablePath() {
  return Override().empty() ? platform::ExecutablePath() : Override();
}

void SetExecutablePathForTests(std::string path) {
  Override() = std::move(path);
}

}  // namespace app
