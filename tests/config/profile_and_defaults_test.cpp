#include <gtest/gtest.h>

#include <string>

#include "config/customer_profile.h"
#include "config/defaults_reader.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

uint32_t bit(std::string_view language) {
  return uint32_t{1} << languageIndex(language);
}

TEST(CustomerProfile, MissingSetupIniGivesEveryDefault) {
  testing::TempFolder folder;
  customerProfile profile{"EU", 1, 1, 0xFFFF, "Greek", 1};
  loadProfile(profile, folder.path());
  EXPECT_EQ(profile.profileName, "GE");
  EXPECT_EQ(profile.isBundle, 0);
  EXPECT_EQ(profile.isMultiLang, 0);
  EXPECT_EQ(profile.languageMask, 0u);
  EXPECT_EQ(profile.DefaultLanguage, "English");
  EXPECT_EQ(profile.checkModemPwd, 0);
}

TEST(CustomerProfile, ReadsTheProfileSection) {
  testing::TempFolder folder;
  folder.write("setup.ini",
               "[Profile]\r\nprofileName=EU\r\nisBundle=1\r\nDefaultLanguage=German\r\n"
               "checkModemPwd=0x1\r\n");
  customerProfile profile;
  loadProfile(profile, folder.path());
  EXPECT_EQ(profile.profileName, "EU");
  EXPECT_EQ(profile.isBundle, 1);
  EXPECT_EQ(profile.isMultiLang, 0);
  EXPECT_EQ(profile.DefaultLanguage, "German");
  EXPECT_EQ(profile.checkModemPwd, 1);
}

struct MaskCase {
  const char* name;
  const char* multiLang;
  const char* languages;
  uint32_t expected;
};

TEST(CustomerProfile, LanguageMaskRules) {
  const MaskCase cases[] = {
      {"gaps", "1", "German=1\nRussian=1\n", bit("German") | bit("Russian")},
      {"only the value 1 offers", "1", "German=2\nGreek=yes\nCzech=-1\nSwedish=0\n", 0},
      {"hex and trailing text read as 1", "1", "Danish=0x1\nFrench=1st\n",
       bit("Danish") | bit("French")},
      {"keys ignore case", "1", "gErMaN=1\n", bit("German")},
      {"spelling as written", "1", "Portuguese=1\nPortugese=1\n", bit("Portugese")},
      {"all sixteen", "1",
       "Czech=1\nDanish=1\nEnglish=1\nFinnish=1\nFlemish=1\nFrench=1\nGerman=1\nGreek=1\n"
       "Hungarian=1\nItalian=1\nNorwegian=1\nPolish=1\nPortugese=1\nRussian=1\nSpanish=1\n"
       "Swedish=1\n",
       0xFFFF},
      {"isMultiLang 2 offers nothing", "2", "German=1\n", 0},
      {"isMultiLang 0 offers nothing", "0", "German=1\n", 0},
      {"isMultiLang not a number", "on", "German=1\n", 0},
  };
  for (const MaskCase& c : cases) {
    testing::TempFolder folder;
    folder.write("setup.ini", std::string("[Profile]\nisMultiLang=") + c.multiLang +
                                  "\n[Language]\n" + c.languages);
    customerProfile profile;
    profile.languageMask = 0x8000'0000u;  // a stale bit that every load must clear
    loadProfile(profile, folder.path());
    EXPECT_EQ(profile.languageMask, c.expected) << c.name;
  }
}

TEST(CustomerProfile, LanguageTable) {
  ASSERT_EQ(languageNames.size(), 16u);
  EXPECT_EQ(languageNames.front(), "Czech");
  EXPECT_EQ(languageNames.back(), "Swedish");
  EXPECT_EQ(languageIndex("Portugese"), 12);
  EXPECT_EQ(languageIndex("english"), -1);
  customerProfile profile;
  profile.languageMask = bit("Greek");
  EXPECT_TRUE(isLanguageOffered(profile, languageIndex("Greek")));
  EXPECT_FALSE(isLanguageOffered(profile, languageIndex("German")));
  EXPECT_FALSE(isLanguageOffered(profile, -1));
  EXPECT_FALSE(isLanguageOffered(profile, 16));
}

TEST(Defaults, WithoutDefaultIniEveryKeyHasItsDefault) {
  testing::TempFolder folder;
  systemConfig config;
  config.manualName = "stale.pdf";
  loadDefaults(config, folder.path());
  EXPECT_EQ(config.supportUrl, kDefaultSupportUrl);
  EXPECT_EQ(config.manualName, "manual.pdf");
  EXPECT_EQ(config.qigName, "qig_english.pdf");
  EXPECT_EQ(config.defaultPassword, "tulip");
  EXPECT_EQ(config.defaultNumChannels, 14);
  // Crossed on purpose: the adapter manual button opens the guide's file name and vice versa.
  EXPECT_EQ(config.kxManualName, "kxu_qig.pdf");
  EXPECT_EQ(config.kxQIGName, "kxu_manual.pdf");
  EXPECT_EQ(config.defaultCountry, "0");
  EXPECT_EQ(config.defaultISP, "0");
}

TEST(Defaults, ReadsTheDefaultsSection) {
  testing::TempFolder folder;
  folder.write("default.ini",
               "[Defaults]\nsupportUrl=\nmanualName=m.pdf\nqigName=\"q g.pdf\"\n"
               "defaultPassword=secret\ndefaultNumChannels=thirteen\nkxManualName=km.pdf\n"
               "kxQIGName=kq.pdf\ndefaultCountry=3\ndefaultISP=Norvane Net\n"
               "[Other]\ndefaultPassword=wrong\n");
  systemConfig config;
  loadDefaults(config, folder.path());
  EXPECT_EQ(config.supportUrl, "");  // present but empty is not absent
  EXPECT_EQ(config.manualName, "m.pdf");
  EXPECT_EQ(config.qigName, "q g.pdf");
  EXPECT_EQ(config.defaultPassword, "secret");
  EXPECT_EQ(config.defaultNumChannels, 14);
  EXPECT_EQ(config.kxManualName, "km.pdf");
  EXPECT_EQ(config.kxQIGName, "kq.pdf");
  EXPECT_EQ(config.defaultCountry, "3");
  EXPECT_EQ(config.defaultISP, "Norvane Net");

  folder.write("default.ini", "[Defaults]\ndefaultNumChannels=0x0B\n");
  loadDefaults(config, folder.path());
  EXPECT_EQ(config.defaultNumChannels, 11);
}

}  // namespace
}  // namespace quillon::config
