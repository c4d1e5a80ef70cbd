#pragma once

#include <span>
#include <string_view>

namespace quillon::config {

// The skin keys of the settings file. Every (key, attribute) pair has a fixed slot in the record
// that holds its value: layout values in systemConfig::layout, picture names in
// IMG_Location::files, state texts in UI_Components.
inline constexpr int kLayoutKeyCount = 92;
inline constexpr int kLayoutSlotCount = 189;
inline constexpr int kPictureKeyCount = 89;
inline constexpr int kPictureSlotCount = 90;  // the last slot has no key
inline constexpr int kStateKeyCount = 3;

// A key with Left and Top values, and Width when hasWidth is set; its slots are consecutive in
// that order.
struct LayoutKey {
  std::string_view name;
  bool hasWidth;
};

struct StateKey {
  std::string_view name;
  std::string_view attribute;  // "Enabled" or "Visible"
};

// The tables in their fixed order, page by page.
std::span<const LayoutKey> layoutKeys();
std::span<const std::string_view> pictureKeys();
std::span<const StateKey> stateKeys();

// The slot of a recognised pair, or -1. Names and attributes compare exactly.
int layoutSlot(std::string_view key, std::string_view attribute);
int pictureSlot(std::string_view key);
int stateSlot(std::string_view key, std::string_view attribute);

}  // namespace quillon::config
