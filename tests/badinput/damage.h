#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace badinput {

// The ways a file of the CD can arrive damaged.
enum class Damage { kMissing, kEmpty, kTruncated, kCorrupted, kBinary, kHuge };

inline constexpr std::array<Damage, 6> kAllDamages = {Damage::kMissing,   Damage::kEmpty,
                                                      Damage::kTruncated, Damage::kCorrupted,
                                                      Damage::kBinary,    Damage::kHuge};

// The line the huge damage adds: 10 MiB without a line break, a separator or a marker any of the
// readers gives a meaning to.
inline constexpr std::size_t kHugeLineBytes = std::size_t{10} << 20;

const char* DamageName(Damage damage);
// A hash of a text that stays the same from run to run and machine to machine (FNV-1a).
std::uint32_t StableHash(std::string_view text);
std::optional<Damage> DamageFromName(std::string_view name);

// The damaged content of a file whose original bytes are `original`; none for kMissing. The
// damage is the same on every run: its random parts are seeded by `seedText` (the file's path
// within the CD), so a failure can be reproduced.
//   kTruncated  the first half of the bytes
//   kCorrupted  about one byte in a hundred (at least one, at most 256) flipped at random places
//   kBinary     random bytes, as many as the original (at least 256)
//   kHuge       the 10 MiB line inserted at the first line boundary past the middle, ended the
//               way the file ends its lines
std::optional<std::string> Damaged(Damage damage, const std::string& original,
                                   std::string_view seedText);

}  // namespace badinput
