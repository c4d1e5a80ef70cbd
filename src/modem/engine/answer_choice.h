#pragma once

// Which modem a broadcast discovery over several adapters settles on, apart from the sockets and
// timers, so that every case can be checked by itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modem/protocol/control_header.h"
#include "platform/network_adapters.h"

namespace quillon::modem {

// How surely an answer comes from the modem on the PC's cable; a lower rank wins.
enum class AnswerRank {
  kCableSubnet,  // on a wired adapter, from its subnet (or the adapter has no address yet)
  kCable,        // on a wired adapter, from outside its subnet (an automatic 169.254 address)
  kWireless,     // on a wireless adapter: the modem's own radio, or another network's device
};

AnswerRank RankAnswer(platform::AdapterMedium medium, std::uint32_t adapterAddress,
                      std::uint32_t mask, std::uint32_t source);

struct HeardAnswer {
  std::string adapter;
  MacAddress mac{};
  AnswerRank rank = AnswerRank::kWireless;
};

enum class AnswerVerdict {
  kWait,          // a better answer may still come: hold what was heard
  kTake,          // talk to `chosen` for the rest of the session
  kSeveralModems  // two modems answered on two cables: the user must say which (by unplugging)
};

struct AnswerChoice {
  AnswerVerdict verdict = AnswerVerdict::kWait;
  std::size_t chosen = 0;
};

// Decides among the answers heard so far, in the order heard. A cable's answer from its own
// subnet is taken at once unless another cable was asked too and may still answer; one from
// outside it waits for the step's wait to end (`waitOver`). A radio's answer is taken only where
// no cable with a link was asked, and then at once. Two different modems on two cables are never
// chosen between.
AnswerChoice ChooseAnswer(const std::vector<HeardAnswer>& answers, std::size_t cablesAsked,
                          bool waitOver);

std::string_view Describe(AnswerRank rank);

}  // namespace quillon::modem
