#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Waits up to `timeoutMs` (0: just looks) for any of the sockets to have data or a pending
// error; returns one flag per socket. A handle that is not an open socket reads as not ready.
std::vector<bool> PollReadable(const std::vector<std::intptr_t>& sockets, int timeoutMs);

}  // namespace platform
