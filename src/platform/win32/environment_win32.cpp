#include <cstdlib>

#include "platform/environment.h"

namespace platform {

// The C runtime's copy is what getenv reads; _putenv_s keeps it and the process block in step.
void SetEnvVar(const std::string& name, const std::string& value) {
  ::_putenv_s(name.c_str(), value.c_str());
}

// An empty value removes the variable.
void UnsetEnvVar(const std::string& name) {
  ::_putenv_s(name.c_str(), "");
}

}  // namespace platform
