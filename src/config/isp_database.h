#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::config {

inline constexpr int kMaxCountries = 500;
inline constexpr int kMaxIspsPerCountry = 50;

// One provider and its DSL parameters.
struct _ISP_PROPERTY {
  std::string name;
  std::string protocol;
  std::string encapsulation;
  int32_t vpi = 0;
  int32_t vci = 0;
  int32_t mtu = 0;
};

// One country with its providers in file order.
struct ISP_BY_COUNTRY {
  std::string name;
  std::array<_ISP_PROPERTY, kMaxIspsPerCountry> isps;
  int32_t ispCount = 0;
  std::string supportAddress;
};

// The whole database. The country entries (about 3 MB) live on the heap; there are always
// kMaxCountries of them, and those at countryCount and beyond are empty.
struct Country {
  Country() : countries(kMaxCountries) {}

  std::vector<ISP_BY_COUNTRY> countries;
  int32_t countryCount = 0;
  std::string ispFileName;
  // What the last load left out beyond the limits: country lines past kMaxCountries, and ISP
  // lines past kMaxIspsPerCountry of a shown country.
  int32_t droppedCountries = 0;
  int32_t droppedIsps = 0;
};

// Replaces the contents of db with the database in bytes; ispFileName is kept. supportUrl is the
// address of a country that names none.
void parseIspDatabase(Country& db, std::string_view bytes, std::string_view supportUrl);

// Reads languageFolder + db.ispFileName. False when the file does not exist; db is then
// untouched.
bool loadIspDatabase(Country& db, const std::string& languageFolder, std::string_view supportUrl);

// A copy of country index; an empty country for an index outside 0 .. countryCount - 1.
ISP_BY_COUNTRY countryAt(const Country& db, int index);

}  // namespace quillon::config
