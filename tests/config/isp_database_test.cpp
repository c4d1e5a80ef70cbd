#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/isp_database.h"
#include "temp_folder.h"

namespace quillon::config {
namespace {

constexpr std::string_view kSupport = "http://www.norvane.example/support";

std::unique_ptr<Country> parsed(std::string_view bytes) {
  auto db = std::make_unique<Country>();
  parseIspDatabase(*db, bytes, kSupport);
  return db;
}

struct IspCase {
  const char* line;
  const char* name;
  const char* protocol;
  const char* encapsulation;
  int32_t vpi;
  int32_t vci;
  int32_t mtu;
};

TEST(IspDatabase, IspLineFieldsAndDefaults) {
  const IspCase cases[] = {
      {"Alpha, PPPoA, , 8, 35", "Alpha", "PPPoA", "VC Mux", 8, 35, 1492},
      {"Beta,PPPoE,,1,32", "Beta", "PPPoE", "LLC", 1, 32, 1492},
      {"Gamma,pppoa,,0,38", "Gamma", "pppoa", "LLC", 0, 38, 1492},
      {"Delta ,  PPPoA\t,\t,0,38", "Delta", "PPPoA", "VC Mux", 0, 38, 1492},
      {"Eps,PPPoA,LLC,0,38,", "Eps", "PPPoA", "LLC", 0, 38, 1492},
      {"Zeta,PPPoE,LLC,8,35,1400", "Zeta", "PPPoE", "LLC", 8, 35, 1400},
      {"Eta,PPPoE,LLC,8,35,1400,ignored,too", "Eta", "PPPoE", "LLC", 8, 35, 1400},
      {"Theta,PPPoE,LLC,8,35,,1400", "Theta", "PPPoE", "LLC", 8, 35, 1492},
      {"Iota,PPPoE,LLC,,", "Iota", "PPPoE", "LLC", 0, 35, 1492},
      {"Kappa,1483 Bridged,LLC,abc,x1,mtu", "Kappa", "1483 Bridged", "LLC", 0, 0, 0},
      {"Lambda,PPPoE,LLC,8x,35y,1400z", "Lambda", "PPPoE", "LLC", 8, 35, 1400},
      {"Mu,PPPoE,LLC,-1,+40,-5", "Mu", "PPPoE", "LLC", -1, 40, -5},
      {",,,,", "", "", "LLC", 0, 35, 1492},
      {"Nu;x, PPPoA , VC Mux , 0 , 35 , 1500 ", "Nu;x", "PPPoA", "VC Mux", 0, 35, 1500},
  };
  for (const IspCase& c : cases) {
    const auto db = parsed(std::string("@Land\n") + c.line + "\n");
    const ISP_BY_COUNTRY country = countryAt(*db, 0);
    ASSERT_EQ(country.ispCount, 1) << c.line;
    const _ISP_PROPERTY& isp = country.isps[0];
    EXPECT_EQ(isp.name, c.name) << c.line;
    EXPECT_EQ(isp.protocol, c.protocol) << c.line;
    EXPECT_EQ(isp.encapsulation, c.encapsulation) << c.line;
    EXPECT_EQ(isp.vpi, c.vpi) << c.line;
    EXPECT_EQ(isp.vci, c.vci) << c.line;
    EXPECT_EQ(isp.mtu, c.mtu) << c.line;
  }
}

TEST(IspDatabase, LinesThatAreNotIsps) {
  const char* ignored[] = {"Alpha,PPPoE,LLC,8", "three,commas,only,", "", "    ", "\t \t",
                           "no commas at all"};
  for (const char* line : ignored) {
    const auto db = parsed(std::string("@Land\n") + line + "\nLast,PPPoE,LLC,1,2\n");
    EXPECT_EQ(countryAt(*db, 0).ispCount, 1) << '"' << line << '"';
    EXPECT_EQ(countryAt(*db, 0).isps[0].name, "Last") << '"' << line << '"';
  }
}

struct CountryCase {
  const char* line;
  const char* name;
  const char* address;
};

TEST(IspDatabase, CountryNameAndSupportAddress) {
  const CountryCase cases[] = {
      {"@Norway{http://isp.example/no}", "Norway", "http://isp.example/no"},
      {"@Norway", "Norway", kSupport.data()},
      {"@Norway {http://a.example}", "Norway ", "http://a.example"},
      {"@ Norway{x}", " Norway", "x"},
      {"@Norway{http://a.example", "Norway", kSupport.data()},
      {"@Norway}http://a.example", "Norway}http://a.example", kSupport.data()},
      {"@Norway{}", "Norway", ""},
      {"@Norway{a}b{c}", "Norway", "abc"},
      {"@Norway,x,y,z,w", "Norway,x,y,z,w", kSupport.data()},
      // The country's name inside its own address stays.
      {"@Norway{http://norway.example/Norway}", "Norway", "http://norway.example/Norway"},
  };
  for (const CountryCase& c : cases) {
    const auto db = parsed(std::string(c.line) + "\r\n");
    ASSERT_EQ(db->countryCount, 1) << c.line;
    EXPECT_EQ(countryAt(*db, 0).name, c.name) << c.line;
    EXPECT_EQ(countryAt(*db, 0).supportAddress, c.address) << c.line;
    EXPECT_EQ(countryAt(*db, 0).ispCount, 0) << c.line;
  }
}

TEST(IspDatabase, OrderAndLinesWithoutACountry) {
  const auto db = parsed(
      "Orphan,PPPoE,LLC,1,1\n"  // before any country: ignored
      "@First{f}\n"
      "A1,PPPoE,LLC,1,1\n"
      "@{http://nameless.example}\n"  // no name: skipped with its ISPs
      "N1,PPPoE,LLC,1,1\n"
      "@\n"
      "N2,PPPoE,LLC,1,1\n"
      "@Empty\n"
      " @NotACountry,x,y,z,w\n"  // a leading blank makes an ISP line of it
      "@Second\n"
      "B1,PPPoE,LLC,2,2\n"
      "B2,PPPoA,,3,3\n");
  ASSERT_EQ(db->countryCount, 3);
  EXPECT_EQ(countryAt(*db, 0).name, "First");
  EXPECT_EQ(countryAt(*db, 0).ispCount, 1);
  EXPECT_EQ(countryAt(*db, 0).isps[0].name, "A1");
  EXPECT_EQ(countryAt(*db, 1).name, "Empty");
  EXPECT_EQ(countryAt(*db, 1).ispCount, 1);
  EXPECT_EQ(countryAt(*db, 1).isps[0].name, "@NotACountry");
  EXPECT_EQ(countryAt(*db, 2).name, "Second");
  ASSERT_EQ(countryAt(*db, 2).ispCount, 2);
  EXPECT_EQ(countryAt(*db, 2).isps[1].encapsulation, "VC Mux");

  for (int outside : {-1, 3, 499, 500, 100000}) {
    const ISP_BY_COUNTRY none = countryAt(*db, outside);
    EXPECT_EQ(none.name, "") << outside;
    EXPECT_EQ(none.ispCount, 0) << outside;
    EXPECT_EQ(none.supportAddress, "") << outside;
  }
}

TEST(IspDatabase, LimitsCutOffWithoutOverflow) {
  std::string bytes;
  for (int c = 0; c < kMaxCountries + 3; ++c) {
    bytes += "@C" + std::to_string(c) + "\n";
    const int isps = (c == 0 || c == kMaxCountries) ? kMaxIspsPerCountry + 5 : 1;
    for (int i = 0; i < isps; ++i)
      bytes += "I" + std::to_string(c) + "_" + std::to_string(i) + ",PPPoE,LLC,1,2,3\n";
  }
  const auto db = parsed(bytes);
  ASSERT_EQ(db->countryCount, kMaxCountries);
  const ISP_BY_COUNTRY first = countryAt(*db, 0);
  EXPECT_EQ(first.ispCount, kMaxIspsPerCountry);
  EXPECT_EQ(first.isps[kMaxIspsPerCountry - 1].name, "I0_49");
  const ISP_BY_COUNTRY last = countryAt(*db, kMaxCountries - 1);
  EXPECT_EQ(last.name, "C499");
  // The ISPs of the countries past the limit must not land in the last one kept.
  ASSERT_EQ(last.ispCount, 1);
  EXPECT_EQ(last.isps[0].name, "I499_0");
  EXPECT_EQ(countryAt(*db, kMaxCountries).name, "");
  // What is cut off is counted for the log: three countries, five ISPs of a shown one.
  EXPECT_EQ(db->droppedCountries, 3);
  EXPECT_EQ(db->droppedIsps, 5);
}

TEST(IspDatabase, ReloadLeavesNothingOfTheOldFile) {
  testing::TempFolder folder;
  std::string big;
  for (int c = 0; c < 4; ++c) {
    big += "@Old" + std::to_string(c) + "{http://old.example}\n";
    for (int i = 0; i < 6; ++i) big += "OldIsp,PPPoE,LLC,9,9,9\n";
  }
  folder.write("big.txt", big);
  folder.write("small.txt", "@New\nNewIsp,PPPoA,,0,35\n");

  auto db = std::make_unique<Country>();
  db->ispFileName = "big.txt";
  ASSERT_TRUE(loadIspDatabase(*db, folder.path(), kSupport));
  EXPECT_EQ(db->countryCount, 4);

  db->ispFileName = "small.txt";
  ASSERT_TRUE(loadIspDatabase(*db, folder.path(), "http://other.example"));
  ASSERT_EQ(db->countryCount, 1);
  const ISP_BY_COUNTRY kept = countryAt(*db, 0);
  EXPECT_EQ(kept.name, "New");
  EXPECT_EQ(kept.supportAddress, "http://other.example");
  EXPECT_EQ(kept.ispCount, 1);
  for (int i = 1; i < kMaxIspsPerCountry; ++i) {
    EXPECT_EQ(kept.isps[static_cast<std::size_t>(i)].name, "") << i;
    EXPECT_EQ(kept.isps[static_cast<std::size_t>(i)].vpi, 0) << i;
  }
  EXPECT_EQ(countryAt(*db, 1).name, "");
  for (const ISP_BY_COUNTRY& entry : db->countries) {
    if (&entry == &db->countries[0]) continue;
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.ispCount, 0);
    EXPECT_EQ(entry.isps[0].name, "");
  }
}

TEST(IspDatabase, MissingFileFailsAndChangesNothing) {
  testing::TempFolder folder;
  folder.write("isp.txt", "@Kept\nA,PPPoE,LLC,1,2\n");
  auto db = std::make_unique<Country>();
  db->ispFileName = "isp.txt";
  ASSERT_TRUE(loadIspDatabase(*db, folder.path(), kSupport));

  db->ispFileName = "absent.txt";
  EXPECT_FALSE(loadIspDatabase(*db, folder.path(), kSupport));
  db->ispFileName = "";  // an empty ISPFileList names the folder itself
  EXPECT_FALSE(loadIspDatabase(*db, folder.path(), kSupport));
  EXPECT_EQ(db->countryCount, 1);
  EXPECT_EQ(countryAt(*db, 0).name, "Kept");
  EXPECT_EQ(countryAt(*db, 0).ispCount, 1);
}

TEST(IspDatabase, EmptyFileLoadsNoCountries) {
  testing::TempFolder folder;
  folder.write("isp.txt", "");
  auto db = std::make_unique<Country>();
  db->ispFileName = "isp.txt";
  EXPECT_TRUE(loadIspDatabase(*db, folder.path(), kSupport));
  EXPECT_EQ(db->countryCount, 0);
}

}  // namespace
}  // namespace quillon::config
