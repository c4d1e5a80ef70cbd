#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/tthread.h"

namespace host {

// The adapter's installer package and utility, by the names they ship with.
inline constexpr const char* kInstallerFolder = "KXU-300_v1.10b05_20070529";
inline constexpr const char* kInstallerProgram = "setup.exe";
// Silent, language 0009, result log on drive C.
inline constexpr const char* kInstallerParameters = "/s /L0009 /f2C:Setup.log";
inline constexpr const char* kInstallerLog = "C:Setup.log";
inline constexpr const char* kResultMarker = "ResultCode";
inline constexpr const char* kUtilityTitle = "Norvane KXU-300 Wireless G USB Adapter";
inline constexpr const char* kUtilityProgram = "wirelesscm.exe";
inline constexpr const char* kUtilityName = "wirelesscm";
// The utility's menu command that closes it.
inline constexpr int kUtilityCloseCommand = 32772;

// Brings the kit's wireless USB adapter online. When the adapter software is installed already
// it restarts the adapter's utility, so that the utility takes over the wireless profile the
// wizard recorded; otherwise it runs the adapter's installer silently and reads the installer's
// log. result: 0 running, 1 success, 2 failure, set once at the end. A terminated thread ends at
// its next wait and leaves result alone.
class THWlanDriverThread final : public ui::TThread {
 public:
  static constexpr std::int64_t kRestartFirstWaitMs = 10000;
  static constexpr std::int64_t kBeforeCommandWaitMs = 5000;
  static constexpr std::int64_t kAfterCommandWaitMs = 30000;
  static constexpr std::int64_t kAfterReleaseWaitMs = 10000;
  static constexpr std::int64_t kAfterTakeOverWaitMs = 30000;
  static constexpr std::int64_t kRestartLastWaitMs = 10000;
  static constexpr std::int64_t kInstallerWaitMs = 50000;
  static constexpr std::int64_t kLogCheckIntervalMs = 5000;
  static constexpr int kLogChecks = 5;
  static constexpr std::int64_t kAfterLogWaitMs = 20000;

  explicit THWlanDriverThread(ui::Backend& backend);
  ~THWlanDriverThread() override;

  std::atomic<std::int32_t> result{0};
  // The folder that holds the installer's folder, ending with the path separator.
  std::string sourceFolder;

  // Whether a utility restart is under way in this process (it runs once at a time).
  static bool RestartUnderWay();

 protected:
  void Execute() override;

 private:
  // Each gives the outcome, or nothing when the thread was terminated.
  std::optional<bool> RestartUtility();
  std::optional<bool> RunInstaller();
};

// sourceFolder + the installer's folder + the installer.
std::string InstallerPath(const std::string& sourceFolder);

// The installer's verdict from its log: the first line (trimmed) that holds kResultMarker
// decides, by the number after the first "=" that follows the marker; 0 is success. A log
// without such a line, or whose line carries no number there, reports failure.
bool InstallerLogReportsSuccess(const std::vector<std::string>& lines);

}  // namespace host
