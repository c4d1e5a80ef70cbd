// The ISP database reader on arbitrary bytes, loaded twice into the same record as a language
// switch does: the limits must hold and nothing may survive past the counts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/isp_database.h"

namespace {

using namespace quillon::config;

// Checks the counts and that nothing lies past them. Only the slots a parse may have written
// need a look: those below the larger of the previous and the new count, and one beyond, for an
// off-by-one. Every slot further out was clean after the previous input and no parse reaches it,
// so walking all 25,000 ISP slots each time (which made this target crawl) proves nothing more.
void checkInvariants(const Country& db, int previousCount) {
  if (db.countryCount < 0 || db.countryCount > kMaxCountries) std::abort();
  if (db.countries.size() != static_cast<std::size_t>(kMaxCountries)) std::abort();
  const int reach = std::min(kMaxCountries, std::max(previousCount, db.countryCount) + 1);
  for (int c = 0; c < reach; ++c) {
    const ISP_BY_COUNTRY& country = db.countries[static_cast<std::size_t>(c)];
    if (country.ispCount < 0 || country.ispCount > kMaxIspsPerCountry) std::abort();
    if (c >= db.countryCount && (!country.name.empty() || country.ispCount != 0)) std::abort();
    if (c < db.countryCount && country.name.empty()) std::abort();
    for (int i = country.ispCount; i < kMaxIspsPerCountry; ++i)
      if (!country.isps[static_cast<std::size_t>(i)].name.empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One record for the whole run: allocating 500 countries per input would swamp the fuzzer,
  // and reusing it exercises the reload path on every input.
  static Country db;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  int previous = db.countryCount;
  parseIspDatabase(db, bytes, "http://www.norvane.example/support");
  checkInvariants(db, previous);
  (void)countryAt(db, db.countryCount - 1);
  (void)countryAt(db, db.countryCount);
  previous = db.countryCount;
  parseIspDatabase(db, bytes.substr(bytes.size() / 2), "");
  checkInvariants(db, previous);
  return 0;
}
