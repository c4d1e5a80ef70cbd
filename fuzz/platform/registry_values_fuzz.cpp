// The file registry's key files, which another process or a damaged disk may have written:
// any text reads to values that write back to a file reading the same, and no key path taken
// from the input may name a file outside the registry's root.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform::posix;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RegistryValues values = ParseRegistryValues(text);
  for (size_t i = 0; i < values.size(); ++i)
    for (size_t k = i + 1; k < values.size(); ++k)
      if (values[i].first == values[k].first) std::abort();
  if (ParseRegistryValues(FormatRegistryValues(values)) != values) std::abort();

  const std::string root = "/var/lib/quillon-fuzz-root";
  const std::string keyPath(text.substr(0, 200));
  if (const auto file = RegistryKeyFile(root, keyPath)) {
    if (file->rfind(root + "/", 0) != 0 || file->size() < root.size() + 6) std::abort();
    if (file->compare(file->size() - 4, 4, ".reg") != 0) std::abort();
    const std::string inside = file->substr(root.size());
    if (inside.find("/../") != std::string::npos || inside.find("/./") != std::string::npos ||
        inside.find("//") != std::string::npos || inside.find('\0') != std::string::npos)
      std::abort();
  }
  return 0;
}
