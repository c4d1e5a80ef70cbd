#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "config/settings_file_reader.h"
#include "config/system_config.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

constexpr int32_t kPreset = 77;

// A record as a previous language's file left it, so that a dropped line (value kept) can be
// told from a line that sets 0.
systemConfig presetConfig() {
  systemConfig config;
  config.layout[static_cast<std::size_t>(layoutSlot("IMG_CloseBT", "Left"))] = kPreset;
  config.setup.DefaultTimeout = kPreset;
  config.setup.AppliedModules = "preset";
  return config;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\n";
  return bytes;
}

// One expectation on the record after parsing: kind L layout, P picture, S state, I integer
// setting, T text setting.
struct Expect {
  char kind;
  const char* key;
  const char* attribute;
  int32_t number;
  std::string text;
};

Expect layoutIs(const char* key, const char* attribute, int32_t n) {
  return {'L', key, attribute, n, ""};
}
Expect pictureIs(const char* key, std::string file) {
  return {'P', key, "", 0, std::move(file)};
}
Expect stateIs(const char* key, const char* attribute, std::string text) {
  return {'S', key, attribute, 0, std::move(text)};
}
Expect settingIs(const char* key, int32_t n) {
  return {'I', key, "", n, ""};
}
Expect textIs(const char* key, std::string text) {
  return {'T', key, "", 0, std::move(text)};
}

void check(const systemConfig& config, const Expect& e, const std::string& where) {
  switch (e.kind) {
    case 'L':
      EXPECT_EQ(layoutValue(config, e.key, e.attribute), e.number) << where << e.key;
      break;
    case 'P':
      EXPECT_EQ(pictureFile(config, e.key), e.text) << where << e.key;
      break;
    case 'S':
      EXPECT_EQ(stateValue(config, e.key, e.attribute), e.text) << where << e.key;
      break;
    case 'I':
      EXPECT_EQ(settingInt(config.setup, e.key), e.number) << where << e.key;
      break;
    default:
      EXPECT_EQ(settingText(config.setup, e.key), e.text) << where << e.key;
  }
}

struct ChainCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<Expect> expects;
};

TEST(SettingsFile, StageChainAndSplitting) {
  const ChainCase cases[] = {
      {"a layout line right after a setting is dropped, the next one taken",
       {"DefaultTimeout=5", "IMG_CloseBT.Left=12", "IMG_CloseBT.Top=7"},
       {settingIs("DefaultTimeout", 5), layoutIs("IMG_CloseBT", "Left", kPreset),
        layoutIs("IMG_CloseBT", "Top", 7)}},
      {"the same line repeated is accepted",
       {"DefaultTimeout=5", "IMG_CloseBT.Left=12", "IMG_CloseBT.Left=12"},
       {layoutIs("IMG_CloseBT", "Left", 12)}},
      {"skipped lines keep the current stage",
       {"IMG_CloseBT.Picture=a.bmp", "; note", "[Skin]", "*** banner ***", "", "  \t ",
        "IMG_CloseBT.Left=3", "IMG_CloseBT.Top=4"},
       {pictureIs("IMG_CloseBT", "a.bmp"), layoutIs("IMG_CloseBT", "Left", kPreset),
        layoutIs("IMG_CloseBT", "Top", 4)}},
      {"comment, section and banner lines set nothing",
       {";DefaultTimeout=1", "[DefaultTimeout=2]", "***DefaultTimeout=3***", "***",
        "  ;AppliedModules=x"},
       {settingIs("DefaultTimeout", kPreset), textIs("AppliedModules", "preset")}},
      {"half a frame is not a frame",
       {"[DefaultTimeout=2", "***AppliedModules=x", "DiscoverTimeout=5***"},
       {settingIs("DefaultTimeout", kPreset), textIs("AppliedModules", "preset"),
        settingIs("DiscoverTimeout", 5)}},
      {"a half-framed line is dropped, not skipped, so the chain starts again",
       {"IMG_CloseBT.Picture=a.bmp", "***x", "IMG_CloseBT.Left=3", "IMG_CloseBT.Picture=b.bmp",
        "[x", "IMG_CloseBT.Top=4"},
       {layoutIs("IMG_CloseBT", "Left", 3), layoutIs("IMG_CloseBT", "Top", 4)}},
      {"a blank before = makes the key unknown",
       {"DefaultTimeout = 9"},
       {settingIs("DefaultTimeout", kPreset)}},
      {"integers read like atol",
       {"DefaultTimeout=9s", "DiscoverTimeout=abc", "DSLSetTimeout= 8", "PPPSetTimeout=-3",
        "ResetWaitTime=99999999999", "ConfigSaveTimeout=+6", "WirelessSetTimeout="},
       {settingIs("DefaultTimeout", 9), settingIs("DiscoverTimeout", 0),
        settingIs("DSLSetTimeout", 8), settingIs("PPPSetTimeout", -3),
        settingIs("ResetWaitTime", std::numeric_limits<int32_t>::max()),
        settingIs("ConfigSaveTimeout", 6), settingIs("WirelessSetTimeout", 0)}},
      {"the line is trimmed, the value after = is not",
       {"   DefaultTimeout=4  ", "\tAppliedModules=  QN-500:ADSL,WAP  \t"},
       {settingIs("DefaultTimeout", 4), textIs("AppliedModules", "  QN-500:ADSL,WAP")}},
      {"a value may hold = and dots",
       {"IMG_CloseBT.Left=5=6", "IMG_CloseBT.Picture=close.v2=b.bmp",
        "InternetTestIPAddresses=198.51.100.1;198.51.100.2", "AppliedModules=A=B"},
       {layoutIs("IMG_CloseBT", "Left", 5), pictureIs("IMG_CloseBT", "close.v2=b.bmp"),
        textIs("InternetTestIPAddresses", "198.51.100.1;198.51.100.2"),
        textIs("AppliedModules", "A=B")}},
      {"without = the value is the whole remaining text",
       {"IMG_CloseBT.Left", "IMG_CloseBT.Picture", "AppliedModules"},
       {layoutIs("IMG_CloseBT", "Left", 0), pictureIs("IMG_CloseBT", "Picture"),
        textIs("AppliedModules", "AppliedModules")}},
      {"an empty text value is stored", {"AppliedModules="}, {textIs("AppliedModules", "")}},
      {"a pair that does not exist falls through and resets the chain",
       {"IMG_CloseBT.Picture=c.bmp", "IMG_CloseBT.Width=10", "IMG_CloseBT.Left=4"},
       {pictureIs("IMG_CloseBT", "c.bmp"), layoutIs("IMG_CloseBT", "Width", 0),
        layoutIs("IMG_CloseBT", "Left", 4)}},
      {"a picture of a key without one is dropped",
       {"CB_Languages.Picture=x.bmp", "IMG_CloseBT.Left=1"},
       {pictureIs("CB_Languages", ""), layoutIs("CB_Languages", "Left", 0),
        layoutIs("IMG_CloseBT", "Left", 1)}},
      {"state texts are stored as written",
       {"IMG_DSLCountry.Visible=false", "CB_CountrySelector.Visible= yes",
        "PL_WRadioSettingDlg.Enabled=True"},
       {stateIs("IMG_DSLCountry", "Visible", "false"),
        stateIs("CB_CountrySelector", "Visible", " yes"),
        stateIs("PL_WRadioSettingDlg", "Enabled", "True")}},
      {"the later line wins",
       {"IMG_CloseBT.Left=1", "IMG_CloseBT.Left=2", "AppliedModules=a", "AppliedModules=b"},
       {layoutIs("IMG_CloseBT", "Left", 2), textIs("AppliedModules", "b")}},
      {"an earlier kind after a later one: only its first line is lost",
       {"IMG_CloseBT.Picture=a.bmp", "IMG_CloseBT.Left=5", "IMG_CloseBT.Top=6"},
       {layoutIs("IMG_CloseBT", "Left", kPreset), layoutIs("IMG_CloseBT", "Top", 6)}},
      {"a state line after a setting is dropped",
       {"DefaultTimeout=1", "IMG_DSLCountry.Visible=false", "CB_CountrySelector.Visible=x"},
       {stateIs("IMG_DSLCountry", "Visible", ""), stateIs("CB_CountrySelector", "Visible", "x")}},
      {"a picture line after a state is dropped",
       {"IMG_DSLCountry.Visible=v", "IMG_CloseBT.Picture=a.bmp", "IMG_ViewQIGBT.Picture=b.bmp"},
       {pictureIs("IMG_CloseBT", ""), pictureIs("IMG_ViewQIGBT", "b.bmp")}},
      {"all four kinds in order",
       {"IMG_CloseBT.Left=1", "CB_Languages.Width=120", "IMG_CloseBT.Picture=c.bmp",
        "IMG_DSLCountry.Visible=yes", "DefaultTimeout=2"},
       {layoutIs("IMG_CloseBT", "Left", 1), layoutIs("CB_Languages", "Width", 120),
        pictureIs("IMG_CloseBT", "c.bmp"), stateIs("IMG_DSLCountry", "Visible", "yes"),
        settingIs("DefaultTimeout", 2)}},
      {"keys and attributes are case-sensitive and untrimmed",
       {"img_closebt.Left=3", "IMG_CloseBT.left=3", "IMG_CloseBT .Left=3", "IMG_CloseBT. Left=3",
        "defaulttimeout=3", "IMG_CloseBT.Left.x=3"},
       {layoutIs("IMG_CloseBT", "Left", kPreset), settingIs("DefaultTimeout", kPreset)}},
      {"odd lines are dropped quietly",
       {"=", ".", "..=", "=.=", "@", "IMG_CloseBT."},
       {layoutIs("IMG_CloseBT", "Left", kPreset), settingIs("DefaultTimeout", kPreset)}},
      {"a NUL ends an integer like any other character",
       {std::string("DefaultTimeout=4\0x", 18), std::string("AppliedModules=a\0b", 18)},
       {settingIs("DefaultTimeout", 4), textIs("AppliedModules", std::string("a\0b", 3))}},
  };
  for (const ChainCase& c : cases) {
    systemConfig config = presetConfig();
    parseSettingsFile(config, joinLines(c.lines));
    for (const Expect& e : c.expects) check(config, e, std::string(c.name) + ": ");
  }
}

TEST(SettingsFile, SettingsAloneFillEveryField) {
  systemConfig config;
  parseSettingsFile(config,
                    "AppliedModules=QN-500:ADSL,WAP\nISPFileList=isp.txt\nEnableLocalDHCP=3\n"
                    "UseDSLConnectionTableEx=4\nCheckHWLinkByCmpNEQDSLLink=5\nWPAKeySupport=6\n"
                    "PPPDisconnectBeforeReset=7\nDefaultTimeout=8\nDiscoverTimeout=9\n"
                    "CheckHWLinkTimeout=10\nDSLSetTimeout=11\nStaticIPSetTimeout=12\n"
                    "PPPSetTimeout=13\nWirelessSetTimeout=14\nConfigSaveTimeout=15\n"
                    "ConfigSavedWaitTime=16\nResetWaitTime=17\nCheckSWLinkStatusTimes=18\n"
                    "CheckSWLinkStatusInterval=19\nInternetTestIPAddresses=198.51.100.1\n");
  const Setup_Param& s = config.setup;
  EXPECT_EQ(s.AppliedModules, "QN-500:ADSL,WAP");
  EXPECT_EQ(s.ISPFileList, "isp.txt");
  EXPECT_EQ(s.EnableLocalDHCP, 3);
  EXPECT_EQ(s.UseDSLConnectionTableEx, 4);
  EXPECT_EQ(s.CheckHWLinkByCmpNEQDSLLink, 5);
  EXPECT_EQ(s.WPAKeySupport, 6);
  EXPECT_EQ(s.PPPDisconnectBeforeReset, 7);
  EXPECT_EQ(s.DefaultTimeout, 8);
  EXPECT_EQ(s.DiscoverTimeout, 9);
  EXPECT_EQ(s.CheckHWLinkTimeout, 10);
  EXPECT_EQ(s.DSLSetTimeout, 11);
  EXPECT_EQ(s.StaticIPSetTimeout, 12);
  EXPECT_EQ(s.PPPSetTimeout, 13);
  EXPECT_EQ(s.WirelessSetTimeout, 14);
  EXPECT_EQ(s.ConfigSaveTimeout, 15);
  EXPECT_EQ(s.ConfigSavedWaitTime, 16);
  EXPECT_EQ(s.ResetWaitTime, 17);
  EXPECT_EQ(s.CheckSWLinkStatusTimes, 18);
  EXPECT_EQ(s.CheckSWLinkStatusInterval, 19);
  EXPECT_EQ(s.InternetTestIPAddresses, "198.51.100.1");
  EXPECT_EQ(settingText(s, "DefaultTimeout"), std::nullopt);  // an integer, not a text
  EXPECT_EQ(settingInt(s, "AppliedModules"), std::nullopt);
  EXPECT_EQ(settingInt(s, "NoSuchSetting"), std::nullopt);
}

TEST(SettingsFile, EverySkinPairRoundTrips) {
  std::string bytes;
  int32_t next = 1000;
  for (const LayoutKey& key : layoutKeys()) {
    bytes += std::string(key.name) + ".Left=" + std::to_string(next++) + "\n";
    bytes += std::string(key.name) + ".Top=" + std::to_string(next++) + "\n";
    if (key.hasWidth) bytes += std::string(key.name) + ".Width=" + std::to_string(next++) + "\n";
  }
  for (std::string_view key : pictureKeys())
    bytes += std::string(key) + ".Picture=" + std::string(key) + ".jpg\n";
  for (const StateKey& key : stateKeys())
    bytes += std::string(key.name) + "." + std::string(key.attribute) + "=" +
             std::string(key.name) + "\n";

  systemConfig config;
  parseSettingsFile(config, bytes);
  next = 1000;
  for (const LayoutKey& key : layoutKeys()) {
    EXPECT_EQ(layoutValue(config, key.name, "Left"), next++) << key.name;
    EXPECT_EQ(layoutValue(config, key.name, "Top"), next++) << key.name;
    const int32_t width = key.hasWidth ? next++ : 0;
    EXPECT_EQ(layoutValue(config, key.name, "Width"), width) << key.name;
  }
  for (std::string_view key : pictureKeys())
    EXPECT_EQ(pictureFile(config, key), std::string(key) + ".jpg");
  EXPECT_EQ(config.pictures.files.back(), "");
  EXPECT_EQ(config.uiStates.dslCountryVisible, "IMG_DSLCountry");
  EXPECT_EQ(config.uiStates.countrySelectorVisible, "CB_CountrySelector");
  EXPECT_EQ(config.uiStates.wRadioSettingDlgEnabled, "PL_WRadioSettingDlg");
}

TEST(SettingsFile, LoadPicksTheEditionsFileAndKeepsWhatItDoesNotSet) {
  testing::TempFolder folder;
  systemConfig config = presetConfig();
  config.setup.DiscoverTimeout = 3;
  EXPECT_FALSE(loadSystemConfig(config, folder.path(), false));
  EXPECT_EQ(config.setup.DefaultTimeout, kPreset);

  folder.write("dslutility.ini", "[Settings]\r\nDefaultTimeout=11\r\nAppliedModules=plain\r\n");
  folder.write("dslutility_kit.ini", "DefaultTimeout=22\r\nAppliedModules=kit\r\n");
  EXPECT_TRUE(loadSystemConfig(config, folder.path(), false));
  EXPECT_EQ(config.setup.DefaultTimeout, 11);
  EXPECT_EQ(config.setup.AppliedModules, "plain");  // the CR of CRLF is not part of the text
  EXPECT_EQ(config.setup.DiscoverTimeout, 3);
  EXPECT_EQ(layoutValue(config, "IMG_CloseBT", "Left"), kPreset);

  EXPECT_TRUE(loadSystemConfig(config, folder.path(), true));
  EXPECT_EQ(config.setup.DefaultTimeout, 22);
  EXPECT_EQ(config.setup.AppliedModules, "kit");

  folder.remove("dslutility_kit.ini");
  EXPECT_FALSE(loadSystemConfig(config, folder.path(), true));
  EXPECT_EQ(config.setup.AppliedModules, "kit");
}

TEST(SettingsFile, HugeAndBinaryLinesAreHarmless) {
  testing::TempFolder folder;
  std::string bytes = "IMG_CloseBT.Left=" + std::string(10 << 20, '7') + "\n";
  bytes += "AppliedModules=" + std::string(10 << 20, 'x') + "\n";
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(i * 37 % 256);
  bytes += "\nDefaultTimeout=6\n";
  folder.write("dslutility.ini", bytes);
  systemConfig config;
  ASSERT_TRUE(loadSystemConfig(config, folder.path(), false));
  EXPECT_EQ(layoutValue(config, "IMG_CloseBT", "Left"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(config.setup.AppliedModules.size(), std::size_t{10} << 20);
  EXPECT_EQ(config.setup.DefaultTimeout, 6);
}

struct ModulesCase {
  const char* modules;
  const char* model;
  bool wireless;
};

TEST(SettingsFile, AppliedModulesAccessors) {
  const ModulesCase cases[] = {
      {"QN-500:ADSL,WAP", "QN-500", true},
      {"QN-500:ADSL,wap", "QN-500", true},
      {"QN-500:ADSL,WAP1", "QN-500", false},
      {"QN-500:ADSL", "QN-500", false},
      {"WaP", "WaP", true},
      {"AP", "AP", false},
      {"", "", false},
      {":WAP", "", true},
      {"A:B:WAP", "A", true},
  };
  for (const ModulesCase& c : cases) {
    Setup_Param setup;
    setup.AppliedModules = c.modules;
    EXPECT_EQ(appliedModelName(setup), c.model) << c.modules;
    EXPECT_EQ(isWirelessModel(setup), c.wireless) << c.modules;
  }

  systemConfig config;
  parseSettingsFile(config, "PL_WRadioSettingDlg.Enabled=True\n");
  EXPECT_FALSE(radioPageEnabled(config));
  parseSettingsFile(config, "PL_WRadioSettingDlg.Enabled=true\n");
  EXPECT_TRUE(radioPageEnabled(config));
  parseSettingsFile(config, "PL_WRadioSettingDlg.Enabled=true \n");  // trimmed with the line
  EXPECT_TRUE(radioPageEnabled(config));
  parseSettingsFile(config, "PL_WRadioSettingDlg.Enabled= true\n");
  EXPECT_FALSE(radioPageEnabled(config));
}

}  // namespace
}  // namespace quillon::config
