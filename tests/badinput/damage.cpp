#include "damage.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace badinput {
namespace {

constexpr std::array<const char*, 6> kNames = {"missing",   "empty",  "truncated",
                                               "corrupted", "binary", "huge"};

std::string Corrupted(std::string bytes, std::mt19937& random) {
  if (bytes.empty()) return bytes;
  const std::size_t flips = std::clamp<std::size_t>(bytes.size() / 100, 1, 256);
  std::uniform_int_distribution<std::size_t> where(0, bytes.size() - 1);
  std::uniform_int_distribution<int> mask(1, 255);
  for (std::size_t i = 0; i < flips; ++i) {
    const std::size_t at = where(random);
    bytes[at] = static_cast<char>(bytes[at] ^ mask(random));
  }
  return bytes;
}

std::string RandomBytes(std::size_t count, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(byte(random));
  return bytes;
}

std::string WithHugeLine(const std::string& original) {
  const std::string ending = original.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::size_t at = original.find('\n', original.size() / 2);
  std::string prefix;
  if (at == std::string::npos) {
    // No line boundary past the middle: the line goes last, on a line of its own.
    at = original.size();
    if (!original.empty() && original.back() != '\n') prefix = ending;
  } else {
    ++at;
  }
  std::string out;
  out.reserve(original.size() + kHugeLineBytes + 4);
  out.append(original, 0, at);
  out += prefix;
  out.append(kHugeLineBytes, 'x');
  out += ending;
  out.append(original, at, std::string::npos);
  return out;
}

}  // namespace

std::uint32_t StableHash(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

const char* DamageName(Damage damage) {
  return kNames[static_cast<std::size_t>(damage)];
}

std::optional<Damage> DamageFromName(std::string_view name) {
  for (Damage damage : kAllDamages)
    if (name == DamageName(damage)) return damage;
  return std::nullopt;
}

std::optional<std::string> Damaged(Damage damage, const std::string& original,
                                   std::string_view seedText) {
  std::mt19937 random(StableHash(seedText));
  switch (damage) {
    case Damage::kMissing:
      return std::nullopt;
    case Damage::kEmpty:
      return std::string();
    case Damage::kTruncated:
      return original.substr(0, original.size() / 2);
    case Damage::kCorrupted:
      return Corrupted(original, random);
    case Damage::kBinary:
      return RandomBytes(std::max<std::size_t>(original.size(), 256), random);
    case Damage::kHuge:
      return WithHugeLine(original);
  }
  return std::nullopt;
}

}  // namespace badinput
