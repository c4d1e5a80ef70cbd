// Stands in for the edition's driver copier: writes its own path to ran.txt in the folder it was
// started in, so a test sees both the folder the wizard gave it and which copy the wizard started.
// A windowed program, so that starting it makes no console for Wine to keep open.
#include <fstream>

#include "platform/process.h"

int main() {
  return std::ofstream("ran.txt") << platform::ExecutablePath() ? 0 : 1;
}
