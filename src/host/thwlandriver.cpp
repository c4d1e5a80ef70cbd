#include "host/thwlandriver.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <limits>

#include "host/bkitlib.h"
#include "platform/drive_path.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/windows.h"

namespace host {
namespace {

// A log this large is not the installer's; only its beginning is read.
constexpr std::size_t kMaxLogBytes = 1 << 20;

// Guards the utility restart against a second run at the same time in this process.
std::atomic<bool> restartUnderWay{false};

// Takes the restart mark if it is free and gives it back on every way out of the restart, also
// when the utility program is missing or the thread is terminated. A mark left set would make
// every later attempt in this run fail at once, although nothing is running any more.
class RestartMark {
 public:
  bool Take() { return taken_ = !restartUnderWay.exchange(true); }
  ~RestartMark() {
    if (taken_) restartUnderWay = false;
  }

 private:
  bool taken_ = false;
};

std::string Trimmed(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}

// The number at the start of `text` as atol reads it (leading blanks, a sign, digits), clamped to
// 32 bits; nothing when there are no digits, so that an empty or garbled value never reads as 0.
std::optional<long long> LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digitsFrom = i;
  long long value = 0;
  constexpr long long kLimit = std::numeric_limits<std::int32_t>::max();
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    if (value <= kLimit) value = value * 10 + (text[i] - '0');
  if (i == digitsFrom) return std::nullopt;
  if (value > kLimit) value = kLimit;
  return negative ? -value : value;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::size_t total = 0;
  std::string line;
  while (total < kMaxLogBytes && std::getline(in, line)) {
    total += line.size() + 1;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string InstallerPath(const std::string& sourceFolder) {
  return sourceFolder + kInstallerFolder + platform::kPathSeparator + kInstallerProgram;
}

bool InstallerLogReportsSuccess(const std::vector<std::string>& lines) {
  for (const std::string& raw : lines) {
    const std::string line = Trimmed(raw);
    const std::size_t marker = line.find(kResultMarker);
    if (marker == std::string::npos) continue;
    const std::size_t equals = line.find('=', marker);
    if (equals == std::string::npos) return false;
    const std::optional<long long> code = LeadingNumber(line.substr(equals + 1));
    return code && *code == 0;
  }
  return false;
}

THWlanDriverThread::THWlanDriverThread(ui::Backend& backend)
    : TThread(backend, "WlanDriverThread") {}

THWlanDriverThread::~THWlanDriverThread() {
  WaitFor();
}

bool THWlanDriverThread::RestartUnderWay() {
  return restartUnderWay.load();
}

void THWlanDriverThread::Execute() {
  result = 0;
  const std::optional<bool> outcome =
      isAdapterSoftwareInstalled() ? RestartUtility() : RunInstaller();
  if (!outcome) return;
  result = *outcome ? 1 : 2;
}

// Closing the running utility and starting it again with "-w" makes it take over the wireless
// profile; the leases are released in between so the adapter asks the modem for a new one.
std::optional<bool> THWlanDriverThread::RestartUtility() {
  if (!SleepUnlessTerminated(kRestartFirstWaitMs)) return std::nullopt;
  RestartMark mark;
  if (!mark.Take()) return false;

  auto& windows = platform::CurrentWindows();
  if (const platform::WindowHandle utility = windows.FindTopLevelWindow(kUtilityTitle)) {
    if (!SleepUnlessTerminated(kBeforeCommandWaitMs)) return std::nullopt;
    windows.SendCommand(utility, kUtilityCloseCommand);
  }
  if (!SleepUnlessTerminated(kAfterCommandWaitMs)) return std::nullopt;

  const std::string folder = adapterInstallLocation();
  if (!platform::FileExists(folder + platform::kPathSeparator + kUtilityProgram)) return false;

  platform::ShellOpen("ipconfig.exe", "/release all", "", platform::ShowMode::kHidden, "");
  if (!SleepUnlessTerminated(kAfterReleaseWaitMs)) return std::nullopt;
  const bool tookOver = platform::ShellSucceeded(
      platform::ShellOpen(kUtilityName, "-w", folder, platform::ShowMode::kHidden, "open"));
  if (!SleepUnlessTerminated(kAfterTakeOverWaitMs)) return std::nullopt;
  if (tookOver) platform::ShellOpen(kUtilityName, "", folder, platform::ShowMode::kHidden, "open");
  if (!SleepUnlessTerminated(kRestartLastWaitMs)) return std::nullopt;
  return tookOver;
}

std::optional<bool> THWlanDriverThread::RunInstaller() {
  const std::string installer = InstallerPath(sourceFolder);
  if (!platform::FileExists(installer)) return false;
  // A log left behind by an interrupted run must not be read as this run's verdict.
  const std::string log = platform::LocalDrivePath(kInstallerLog);
  std::remove(log.c_str());

  platform::ShellOpen(installer, kInstallerParameters, "", platform::ShowMode::kMinimized, "");
  if (!SleepUnlessTerminated(kInstallerWaitMs)) return std::nullopt;
  bool logFound = false;
  for (int check = 1; check <= kLogChecks; ++check) {
    if ((logFound = platform::FileExists(log))) break;
    if (check < kLogChecks && !SleepUnlessTerminated(kLogCheckIntervalMs)) return std::nullopt;
  }
  if (!logFound) return false;

  const bool success = InstallerLogReportsSuccess(ReadLines(log));
  std::remove(log.c_str());
  if (!SleepUnlessTerminated(kAfterLogWaitMs)) return std::nullopt;
  return success;
}

}  // namespace host
