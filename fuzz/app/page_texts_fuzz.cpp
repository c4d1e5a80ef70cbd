// What the ISP page reads from its VPI and VCI fields (typed, or filled from the ISP database):
// a field is a whole number only when the C library reads all of it as the same number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/connection_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  int value = 0;
  if (app::IsWholeNumber(text, &value)) {
    if (text.find('\0') != std::string::npos) std::abort();
    char* end = nullptr;
    const long long reference = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || reference != value) std::abort();
    int again = 0;
    if (!app::IsWholeNumber(std::to_string(value), &again) || again != value) std::abort();
  }
  return 0;
}
