#include "ui/fltk/first_frame.h"

#include <FL/Fl.H>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace ui::fltk {

namespace {

constexpr double kProcTicksPerSecond = 100.0;  // USER_HZ, fixed for /proc on Linux

double FromProcFiles() {
  std::ifstream statFile("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  // The command name may hold blanks; the fields after it start past the last ')'.
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  // starttime is field 22 of the line; field 3 (the state) is the first one after the name.
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  std::ifstream uptimeFile("/proc/uptime");
  double uptime = 0;
  if (!(uptimeFile >> uptime) || field.empty()) return -1;
  return (uptime - std::stod(field) / kProcTicksPerSecond) * 1000.0;
}

}  // namespace

double MsSinceProcessStart() {
  if (const char* start = std::getenv("QUILLON_START_NS")) {
    using namespace std::chrono;
    const long long now =
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<double>(now - std::atoll(start)) / 1e6;
  }
  return FromProcFiles();
}

void ExitAfterFirstFrame() {
  // XQueryPointer is a round trip: when it returns, the server has executed every request sent
  // before it, the copy of the first frame to the window included.
  int x = 0, y = 0;
  Fl::get_mouse(x, y);
  std::printf("first-frame-ms %.0f\n", MsSinceProcessStart());
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace ui::fltk
