// A second program for the platform tests. "mutex NAME" exits with 183 when another process
// already holds the named mutex, else 0; "version" exits with major * 100 + minor of the version
// the system reports to this program; "name NAME" names its thread NAME and exits with 0;
// "touch NAME" creates the file NAME in the working folder and exits with 0; "dhcp-adapters NAME"
// writes the adapters the DHCP renewal would act on to the file NAME, one a line, and exits with
// 0 (nothing is renewed). Anything else exits with 2. It is a windowed (not a console) program, so
// starting it makes no console for Wine to keep open.
#include <fstream>
#include <string>

#include "platform/dhcp.h"
#include "platform/os_version.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "mutex" && argc > 2)
    return platform::CreateNamedMutex(argv[2])->alreadyExisted() ? 183 : 0;
  if (command == "name" && argc > 2) {
    platform::SetCurrentThreadName(argv[2]);
    return 0;
  }
  if (command == "touch" && argc > 2) return std::ofstream(argv[2]) << "started" ? 0 : 1;
  if (command == "dhcp-adapters" && argc > 2) {
    auto session = platform::SystemDhcp().OpenSession();
    if (!session) return 1;
    std::ofstream out(argv[2]);
    for (const auto& adapter : session->Adapters()) out << adapter.name << '\n';
    return out ? 0 : 1;
  }
  if (command == "version") {
    const auto version = platform::CurrentWindowsVersion();
    return version ? version->major * 100 + version->minor : 1;
  }
  return 2;
}
