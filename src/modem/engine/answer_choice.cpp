#include "modem/engine/answer_choice.h"

#include <algorithm>

namespace quillon::modem {

AnswerRank RankAnswer(platform::AdapterMedium medium, std::uint32_t adapterAddress,
                      std::uint32_t mask, std::uint32_t source) {
  if (medium != platform::AdapterMedium::kWired) return AnswerRank::kWireless;
  if (adapterAddress == 0 || (adapterAddress & mask) == (source & mask))
    return AnswerRank::kCableSubnet;
  return AnswerRank::kCable;
}

AnswerChoice ChooseAnswer(const std::vector<HeardAnswer>& answers, std::size_t cablesAsked,
                          bool waitOver) {
  if (answers.empty()) return {};
  std::vector<std::string> cablesHeard;
  std::size_t best = 0;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const HeardAnswer& answer = answers[i];
    if (answer.rank < answers[best].rank) best = i;
    if (answer.rank == AnswerRank::kWireless) continue;
    for (const HeardAnswer& other : answers)
      if (other.rank != AnswerRank::kWireless && other.adapter != answer.adapter &&
          other.mac != answer.mac)
        return {AnswerVerdict::kSeveralModems, i};
    if (std::find(cablesHeard.begin(), cablesHeard.end(), answer.adapter) == cablesHeard.end())
      cablesHeard.push_back(answer.adapter);
  }
  const bool otherCablesMayAnswer = cablesAsked > cablesHeard.size();
  // A radio's answer is never taken over a cable with a link: the modem may be silent there for
  // a while (starting up), and the radio's device may be anyone's.
  if (answers[best].rank == AnswerRank::kWireless && cablesAsked > 0)
    return {AnswerVerdict::kWait, best};
  if (waitOver || cablesAsked == 0 ||
      (answers[best].rank == AnswerRank::kCableSubnet && !otherCablesMayAnswer))
    return {AnswerVerdict::kTake, best};
  return {AnswerVerdict::kWait, best};
}

std::string_view Describe(AnswerRank rank) {
  switch (rank) {
    case AnswerRank::kCableSubnet:
      return "a wired adapter, from its subnet";
    case AnswerRank::kCable:
      return "a wired adapter, from outside its subnet";
    case AnswerRank::kWireless:
      return "a wireless adapter";
  }
  return "unknown";
}

}  // namespace quillon::modem
