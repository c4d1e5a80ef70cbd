#pragma once

#include <string>

namespace win32_test {

// A name no other test run uses: the prefix, this process's id and a counter.
std::string UniqueName(const std::string& prefix);

// The folder of the test executable, with its trailing backslash.
std::string TestFolder();

// Runs the probe program beside the test executable with the arguments and returns its exit
// code; -1 when it could not be started or did not end within 30 s.
int RunProbe(const std::string& arguments);
// The same with a copy of the probe at `program` (a full path).
int RunProgram(const std::string& program, const std::string& arguments);

// What a debugger saw of the probe run under it: the thread names the probe announced through the
// naming exception, and how the probe ended.
struct DebuggedRun {
  bool ended = false;
  unsigned exitCode = 0;
  std::string announcedName;
};

// Runs the probe under this process as its debugger. Like a debugger that does not know the
// naming exception, it passes every exception back to the probe unhandled.
DebuggedRun RunProbeUnderDebugger(const std::string& arguments);

// Whether the tests run under Wine rather than on Windows itself.
bool UnderWine();

// Wine's per-program setting of the Windows version a program is told, as a compatibility mode
// sets it on Windows; it reaches only programs of the given file name, and goes at the end.
class WineVersionSetting {
 public:
  explicit WineVersionSetting(const std::string& programName);
  ~WineVersionSetting();
  WineVersionSetting(const WineVersionSetting&) = delete;
  WineVersionSetting& operator=(const WineVersionSetting&) = delete;
  bool ready() const { return key_ != nullptr; }
  void Set(const std::string& version);  // "winxp", "vista", "win7", "win10", ...

 private:
  std::string path_;
  void* key_ = nullptr;  // the registry key's handle
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::string& path() const { return path_; }  // ends with a backslash

 private:
  std::string path_;
};

}  // namespace win32_test
