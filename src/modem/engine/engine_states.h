#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "config/system_config.h"

namespace quillon::modem {

// The engine's states; each but the last sends one request and waits for its reply.
inline constexpr int32_t STATE_DISCOVERY = 1;
inline constexpr int32_t STATE_QUERY_LINERATE = 2;
inline constexpr int32_t STATE_QUERY_PVC1 = 3;
inline constexpr int32_t STATE_SET_PVC1 = 4;
inline constexpr int32_t STATE_QUERY_WIRELESS = 5;
inline constexpr int32_t STATE_SET_WIRELESS = 6;
inline constexpr int32_t STATE_CMD_SAVEREBOOT = 7;
inline constexpr int32_t STATE_QUERY_WANSTATUS = 8;
inline constexpr int32_t STATE_WAN_UP = 9;

// sessionResult values.
inline constexpr int32_t kSessionFailed = 0;
inline constexpr int32_t kSessionSucceeded = 1;
inline constexpr int32_t kSessionRunning = 2;

// The retry timer's interval in a state, from the configured time-outs; nothing for a state
// without a timer. A time-out of 0 or less counts as one second, so every step still ends.
std::optional<std::int64_t> StateIntervalMs(int32_t state, const config::Setup_Param& setup);

// How many times a state's request is sent again before the step fails.
int32_t ResendsAllowed(int32_t state);

// The reply code a state waits for; 0 for a state that waits for none.
uint16_t AwaitedReplyCode(int32_t state);

// The log lines written when a state's resends are used up.
std::vector<std::string_view> TimeoutLines(int32_t state);

}  // namespace quillon::modem
