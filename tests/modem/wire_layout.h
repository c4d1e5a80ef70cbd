#pragma once

// The record layouts written out again, independently of the encoder, so golden bytes in the
// tests are built from the published table and never from the code under test.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::modem::test {

using Bytes = std::vector<uint8_t>;

struct Slot {
  size_t offset;
  size_t size;
};

namespace pvc1 {
inline constexpr size_t kSize = 444;
inline constexpr Slot kTag{0, 48}, kVpi{48, 4}, kVci{52, 4}, kProtocol{56, 4}, kEncap{60, 4},
    kDhcpc{64, 4}, kUser{68, 264}, kPassword{332, 40}, kIp{372, 16}, kMask{388, 16}, kGw{404, 16},
    kAutoGw{420, 4}, kAutoDns{424, 4}, kDns{428, 16};
}  // namespace pvc1

namespace wireless {
inline constexpr size_t kSize = 232;
inline constexpr Slot kTag{0, 12}, kChannel{12, 4}, kSsid{16, 48}, kKeyBit{64, 4}, kKey{68, 32},
    kWpaPsk{100, 72}, kWep{172, 16}, kWpa{188, 16}, kAuthMode{204, 8}, kCountry{212, 16},
    kKeyNumber{228, 4};
}  // namespace wireless

inline void PutText(Bytes& bytes, Slot slot, std::string_view text) {
  for (size_t i = 0; i < text.size() && i < slot.size; ++i)
    bytes[slot.offset + i] = static_cast<uint8_t>(text[i]);
}

inline void PutU32(Bytes& bytes, Slot slot, uint32_t value) {
  bytes[slot.offset] = static_cast<uint8_t>(value >> 24);
  bytes[slot.offset + 1] = static_cast<uint8_t>(value >> 16);
  bytes[slot.offset + 2] = static_cast<uint8_t>(value >> 8);
  bytes[slot.offset + 3] = static_cast<uint8_t>(value);
}

inline Bytes TextBytes(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace quillon::modem::test
