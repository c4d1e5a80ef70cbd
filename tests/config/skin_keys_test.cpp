#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/setting_keys.h"
#include "config/skin_keys.h"
#include "config/system_config.h"

namespace quillon::config {
namespace {

TEST(SkinKeys, CountsOfKeysAndSlots) {
  std::set<std::string_view> layoutNames;
  std::set<int> slots;
  int widthKeys = 0;
  for (const LayoutKey& key : layoutKeys()) {
    layoutNames.insert(key.name);
    for (const char* attribute : {"Left", "Top", "Width"}) {
      const int slot = layoutSlot(key.name, attribute);
      if (slot < 0) continue;
      EXPECT_TRUE(slots.insert(slot).second) << key.name << "." << attribute;
    }
    widthKeys += key.hasWidth;
  }
  EXPECT_EQ(layoutNames.size(), 92u);
  EXPECT_EQ(widthKeys, 5);
  ASSERT_EQ(slots.size(), 189u);
  EXPECT_EQ(*slots.begin(), 0);
  EXPECT_EQ(*slots.rbegin(), kLayoutSlotCount - 1);

  std::set<int> pictureSlots;
  for (std::string_view key : pictureKeys()) pictureSlots.insert(pictureSlot(key));
  EXPECT_EQ(pictureSlots.size(), 89u);
  EXPECT_EQ(*pictureSlots.rbegin(), 88);  // the ninetieth slot has no key
  EXPECT_EQ(kPictureSlotCount, 90);

  EXPECT_EQ(stateKeys().size(), 3u);
  EXPECT_EQ(settingKeys().size(), 20u);
}

TEST(SkinKeys, WidthBelongsToTheComboAndProgressBarsOnly) {
  const std::set<std::string_view> withWidth = {
      "CB_Languages", "PB_CheckHWLinkStatus", "PB_CheckSWLinkStatus", "PB_InstallWlanDriverStatus",
      "PB_WlanInternetStatus"};
  for (const LayoutKey& key : layoutKeys())
    EXPECT_EQ(layoutSlot(key.name, "Width") >= 0, withWidth.count(key.name) == 1) << key.name;
}

TEST(SkinKeys, EveryPlacedPictureButtonHasAPicture) {
  // The two placed IMG_ keys without a Picture take variant files named by other keys.
  const std::set<std::string_view> placedOnly = {"IMG_EncryptOptField", "IMG_WirelessRemindKey"};
  for (const LayoutKey& key : layoutKeys()) {
    const bool picture = key.name.starts_with("IMG_") && placedOnly.count(key.name) == 0;
    EXPECT_EQ(pictureSlot(key.name) >= 0, picture) << key.name;
  }
}

// Which table takes a pair: 1 layout, 2 picture, 3 state, 0 none.
int tableOf(std::string_view key, std::string_view attribute) {
  if (layoutSlot(key, attribute) >= 0) return 1;
  if (attribute == "Picture" && pictureSlot(key) >= 0) return 2;
  if (stateSlot(key, attribute) >= 0) return 3;
  return 0;
}

struct PairCase {
  const char* key;
  const char* attribute;
  int table;
};

TEST(SkinKeys, OnlyListedPairsAreRecognised) {
  const PairCase cases[] = {
      {"IMG_CloseBT", "Left", 1},
      {"IMG_CloseBT", "Top", 1},
      {"IMG_CloseBT", "Width", 0},
      {"IMG_CloseBT", "Picture", 2},
      {"IMG_CloseBT", "Visible", 0},
      {"IMG_CloseBT", "left", 0},
      {"img_closebt", "Left", 0},
      {"IMG_CloseBT ", "Left", 0},
      {"CB_Languages", "Width", 1},
      {"CB_Languages", "Picture", 0},
      {"PB_WlanInternetStatus", "Width", 1},
      {"IMG_MainMenuDlgBG", "Left", 0},
      {"IMG_MainMenuDlgBG", "Picture", 2},
      {"IMG_DSLNotice_grey", "Picture", 2},
      {"IMG_DSLMTU_grey", "Picture", 0},
      {"IMG_WEPField", "Top", 0},
      {"IMG_EncryptOptField", "Top", 1},
      {"IMG_EncryptOptField", "Picture", 0},
      {"IMG_DSLCountry", "Visible", 3},
      {"IMG_DSLCountry", "Enabled", 0},
      {"CB_CountrySelector", "Visible", 3},
      {"PL_WRadioSettingDlg", "Enabled", 3},
      {"PL_WRadioSettingDlg", "Visible", 0},
      {"PL_WRadioSettingDlg", "Left", 0},
      {"", "", 0},
  };
  for (const PairCase& c : cases)
    EXPECT_EQ(tableOf(c.key, c.attribute), c.table) << c.key << "." << c.attribute;
}

}  // namespace
}  // namespace quillon::config
