#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon::config {

// A fixed table of names with a lookup by binary search. The order is sorted at compile time,
// so the table costs nothing at start and a lookup is a handful of comparisons.
template <std::size_t N>
class NameIndex {
 public:
  constexpr explicit NameIndex(const std::array<std::string_view, N>& names) : names_(names) {
    for (std::size_t i = 0; i < N; ++i) order_[i] = static_cast<uint16_t>(i);
    std::sort(order_.begin(), order_.end(),
              [this](uint16_t a, uint16_t b) { return names_[a] < names_[b]; });
  }

  // Position of name in the original table, or -1.
  constexpr int find(std::string_view name) const {
    const auto it =
        std::lower_bound(order_.begin(), order_.end(), name,
                         [this](uint16_t i, std::string_view n) { return names_[i] < n; });
    return (it != order_.end() && names_[*it] == name) ? *it : -1;
  }

  // Every name given and none twice; a table shorter than N would leave empty names behind.
  constexpr bool wellFormed() const {
    for (std::size_t i = 0; i < N; ++i)
      if (names_[i].empty()) return false;
    for (std::size_t i = 1; i < N; ++i)
      if (names_[order_[i - 1]] == names_[order_[i]]) return false;
    return true;
  }

 private:
  std::array<std::string_view, N> names_;
  std::array<uint16_t, N> order_{};
};

}  // namespace quillon::config
