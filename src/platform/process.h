#pragma once

#include <memory>
#include <string>

namespace platform {

// A named mutex that marks a running copy of the program. Creating it always succeeds in the sense
// that the caller gets an owner object; alreadyExisted() tells whether another copy holds it.
class NamedMutex {
 public:
  virtual ~NamedMutex() = default;
  virtual bool alreadyExisted() const = 0;
};

std::unique_ptr<NamedMutex> CreateNamedMutex(const std::string& name);

// The full path of the running executable.
std::string ExecutablePath();

// Gives the calling thread a name that debuggers and `ps -L` show (truncated where the OS limits
// it).
void SetCurrentThreadName(const std::string& name);

}  // namespace platform
