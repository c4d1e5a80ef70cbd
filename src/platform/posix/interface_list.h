#pragma once

#include <vector>

#include "platform/posix/dhclient_setup.h"

namespace platform::posix {

// Every interface the kernel has, loopback included, with what its flags and sysfs entries tell
// of its link, ordered by index.
std::vector<InterfaceFacts> ListInterfaces();

}  // namespace platform::posix
