#pragma once

#include <string>

namespace app {

// The executable's path as the start-up sees it. Tests that run the wizard in-process on a CD
// image of their own point it there; the product always uses the real one.
std::string ExecutablePath();
void SetExecutablePathForTests(std::string path);

}  // namespace app
