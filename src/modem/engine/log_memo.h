#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace quillon::modem {

// The engine's diagnostic log, the memo of its hidden window: fixed English lines, newest last.
// It keeps the latest kMaxLines lines, as a memo control has a limit too.
class LogMemo {
 public:
  static constexpr std::size_t kMaxLines = 5000;

  // A memo control starts with its own name as its text; an empty name starts it empty.
  explicit LogMemo(const std::string& name = "Memo1") {
    if (!name.empty()) lines_.push_back(name);
  }

  void Add(std::string line);
  void Clear() { lines_.clear(); }
  const std::deque<std::string>& Lines() const { return lines_; }

  // Called with every line as it is added (the command-line tool prints them).
  std::function<void(const std::string&)> onAdd;

 private:
  std::deque<std::string> lines_;
};

}  // namespace quillon::modem
