#include "modem/engine/engine_states.h"

#include "modem/protocol/control_header.h"

namespace quillon::modem {

namespace {

struct StateRow {
  int32_t (*seconds)(const config::Setup_Param&);
  int32_t millisPerSecond;  // the set steps wait one and a half times the configured time-out
  int32_t resends;
  uint16_t awaited;
  std::string_view timeoutLine;
};

// Rows for states 1 to 8.
const StateRow kRows[] = {
    {[](const config::Setup_Param& s) { return s.DiscoverTimeout; }, 1000, 2, MSG_DISCOVER_REPLY,
     "STATE_DISCOVERY timeout"},
    {[](const config::Setup_Param& s) { return s.DSLSetTimeout; }, 1000, 4, MSG_QUERY_REPLY,
     "STATE_QUERY_LINERATE timeout"},
    {[](const config::Setup_Param& s) { return s.DefaultTimeout; }, 1000, 3, MSG_QUERY_REPLY,
     "STATE_QUERY_PVC1 timeout"},
    {[](const config::Setup_Param& s) { return s.PPPSetTimeout; }, 1500, 6, MSG_SET_REPLY,
     "STATE_SET_PVC1 timeout"},
    {[](const config::Setup_Param& s) { return s.DefaultTimeout; }, 1000, 3, MSG_QUERY_REPLY,
     "STATE_QUERY_WIRELESS timeout"},
    {[](const config::Setup_Param& s) { return s.WirelessSetTimeout; }, 1500, 6, MSG_SET_REPLY,
     "STATE_SET_WIRELESS timeout"},
    {[](const config::Setup_Param& s) { return s.ConfigSaveTimeout; }, 1000, 1, MSG_COMMAND_REPLY,
     "STATE_CMD_SAVEREBOOT timeout"},
    {[](const config::Setup_Param& s) { return s.DefaultTimeout; }, 1000, 20, MSG_QUERY_REPLY,
     "STATE_QUERY_WANSTATUS timeout"},
};

const StateRow* Row(int32_t state) {
  if (state < STATE_DISCOVERY || state > STATE_QUERY_WANSTATUS) return nullptr;
  return &kRows[state - STATE_DISCOVERY];
}

}  // namespace

std::optional<std::int64_t> StateIntervalMs(int32_t state, const config::Setup_Param& setup) {
  const StateRow* row = Row(state);
  if (row == nullptr) return std::nullopt;
  const int32_t seconds = row->seconds(setup);
  return std::int64_t{seconds > 0 ? seconds : 1} * row->millisPerSecond;
}

int32_t ResendsAllowed(int32_t state) {
  const StateRow* row = Row(state);
  return row ? row->resends : 0;
}

uint16_t AwaitedReplyCode(int32_t state) {
  const StateRow* row = Row(state);
  return row ? row->awaited : 0;
}

std::vector<std::string_view> TimeoutLines(int32_t state) {
  const StateRow* row = Row(state);
  if (row == nullptr) return {};
  // The save step writes a second line after its time-out line.
  if (state == STATE_CMD_SAVEREBOOT) return {row->timeoutLine, "Query WAN Status"};
  return {row->timeoutLine};
}

}  // namespace quillon::modem
