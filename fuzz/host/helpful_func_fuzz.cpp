// The static IP page's address checks and the wireless key checks on whatever a user types:
// every answer is a plain yes or no, and a part that is no number is the conversion error the
// page turns into its message, never anything else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/modhelpfulfunc.h"

namespace {

std::vector<std::string> Fields(const uint8_t* data, size_t size) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n' && fields.size() < 4)
      fields.emplace_back();
    else
      fields.back() += static_cast<char>(data[i]);
  }
  fields.resize(4);
  return fields;
}

template <typename Check>
void Guarded(Check check) {
  try {
    check();
  } catch (const host::ConversionError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> f = Fields(data, size);
  host::HelpfulFunc helpers;
  Guarded([&] {
    if (helpers.IsValidHostAddress(f[0])) {
      // A host address has four parts, each within an octet.
      for (std::int32_t octet : helpers.octets)
        if (octet < 0 || octet > 255) std::abort();
    }
  });
  Guarded([&] {
    if (helpers.IsValidSubnetMask(f[1])) {
      // A mask is ones then zeros: its value is a run of leading ones.
      std::uint32_t mask = 0;
      for (std::int32_t octet : helpers.octets)
        mask = mask << 8 | static_cast<std::uint32_t>(octet);
      if (mask == 0 || ((~mask + 1) & ~mask) != 0) std::abort();
    }
  });
  Guarded([&] { (void)helpers.IsNotEdgeAddress(f[0], f[1], 0); });
  Guarded([&] { (void)helpers.IsNotEdgeAddress(f[0], f[1], 1); });

  const int length = f[3].empty() ? 0 : static_cast<unsigned char>(f[3][0]) % 70;
  if (helpers.IsHexKey(f[2], length) && f[2].size() != static_cast<size_t>(length)) std::abort();
  (void)helpers.IsPassphraseLength(f[2]);
  const std::string delimiter = f[3].substr(0, 1);
  const int count = helpers.CountChar(f[2], delimiter);
  const int first = helpers.FindChar(f[2], delimiter);
  if ((count == 0) != (first == 0) || first > static_cast<int>(f[2].size())) std::abort();
  const std::string head = helpers.FirstItem(f[2], delimiter);
  const std::string rest = helpers.RestAfterFirst(f[2], delimiter);
  if (first != 0 && head.size() + rest.size() + 1 != f[2].size()) std::abort();
  const std::string replaced = helpers.ReplaceAll(f[2], f[3], f[1]);
  (void)helpers.IsWrappedIn(f[2], f[0], f[1]);
  (void)helpers.DirectoryOf(replaced);
  for (int value = -2; value < 260; value += 37) {
    const int ones = helpers.CountLeadingOnes(value);
    const int lowest = helpers.LowestSetBit(value);
    if (ones < 0 || ones > 8 || lowest < -1 || lowest > 7) std::abort();
  }
  return 0;
}
