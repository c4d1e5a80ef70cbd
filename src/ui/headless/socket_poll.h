#pragma once

#include <vector>

#include "ui/backend.h"

namespace ui::headless {

// Waits up to `timeoutMs` (0: just looks) for any of the sockets to have data or a pending
// error; returns one flag per socket. A handle that is not an open socket reads as not ready.
std::vector<bool> PollReadable(const std::vector<SocketHandle>& sockets, int timeoutMs);

}  // namespace ui::headless
