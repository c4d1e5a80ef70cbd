#pragma once

#include "sim_config.h"
#include "sim_log.h"
#include "sim_options.h"

namespace quillon::modemsim {

// Binds the socket, prints "listening ADDR:PORT" on standard output and answers datagrams
// until SIGTERM or SIGINT. Returns the process exit code.
int RunServer(const SimOptions& options, const SimConfig& factory, const SimConfig& saved,
              SimLog& log);

}  // namespace quillon::modemsim
