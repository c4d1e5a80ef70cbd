#include "modem/engine/log_memo.h"

namespace quillon::modem {

void LogMemo::Add(std::string line) {
  if (onAdd) onAdd(line);
  lines_.push_back(std::move(line));
  while (lines_.size() > kMaxLines) lines_.pop_front();
}

}  // namespace quillon::modem
