#include "config/isp_database.h"

#include <algorithm>
#include <optional>

#include "config/number_text.h"
#include "config/text_lines.h"

namespace quillon::config {
namespace {

constexpr int32_t kDefaultVci = 35;
constexpr int32_t kDefaultMtu = 1492;
constexpr std::size_t kIspFields = 6;

void clearCountry(ISP_BY_COUNTRY& country) {
  country.name.clear();
  country.supportAddress.clear();
  for (int i = 0; i < country.ispCount && i < kMaxIspsPerCountry; ++i) {
    _ISP_PROPERTY& isp = country.isps[static_cast<std::size_t>(i)];
    isp.name.clear();
    isp.protocol.clear();
    isp.encapsulation.clear();
    isp.vpi = isp.vci = isp.mtu = 0;
  }
  country.ispCount = 0;
}

bool isBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return isBlank(c); });
}

std::string withoutBraces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '{' && c != '}') out += c;
  return out;
}

// Reads the lines of one file into the database. Lines the format does not provide for are cut
// off rather than rejected as a whole, so one bad line never costs the rest of the file:
// - an ISP line before the first country line belongs to no country and is ignored;
// - a country line with an empty name (nothing before its "{") would show as a blank entry in
//   the country list: it is skipped together with its ISP lines;
// - country lines past kMaxCountries and ISP lines past kMaxIspsPerCountry are ignored, and so
//   are the ISP lines of an ignored country.
class IspFileParser {
 public:
  IspFileParser(Country& db, std::string_view supportUrl) : db_(db), supportUrl_(supportUrl) {}

  void feedLine(std::string_view line) {
    if (isBlankLine(line)) return;
    if (line.front() == '@') {
      openCountry(line.substr(1));
    } else if (std::count(line.begin(), line.end(), ',') >= 4 && current_ != nullptr) {
      if (current_->ispCount < kMaxIspsPerCountry)
        readIsp(line, current_->isps[static_cast<std::size_t>(current_->ispCount++)]);
      else
        ++db_.droppedIsps;
    }
  }

 private:
  void openCountry(std::string_view text) {
    current_ = nullptr;
    const std::string_view name = beforeChar(text, '{');
    if (name.empty()) return;
    if (db_.countryCount >= kMaxCountries) {
      ++db_.droppedCountries;
      return;
    }

    ISP_BY_COUNTRY& country = db_.countries[static_cast<std::size_t>(db_.countryCount++)];
    country.name = name;
    // The address is what follows the name with the braces taken out: in practice the text
    // between them. Only the leading name is removed, so an address that happens to contain the
    // country's name stays whole.
    const bool braced =
        text.find('{') != std::string_view::npos && text.find('}') != std::string_view::npos;
    country.supportAddress = braced ? withoutBraces(text.substr(name.size())) : supportUrl_;
    current_ = &country;
  }

  static void readIsp(std::string_view line, _ISP_PROPERTY& isp) {
    // Up to six fields; text after a sixth comma is not part of any.
    std::array<std::string_view, kIspFields> fields;
    std::size_t count = 0;
    for (; count < kIspFields; ++count) {
      const std::size_t comma = line.find(',');
      fields[count] = trimBlanks(line.substr(0, comma));
      if (comma == std::string_view::npos) break;
      line.remove_prefix(comma + 1);
    }
    const bool hasMtu = count >= 5;

    isp.name = fields[0];
    isp.protocol = fields[1];
    if (!fields[2].empty())
      isp.encapsulation = fields[2];
    else
      isp.encapsulation = isp.protocol == "PPPoA" ? "VC Mux" : "LLC";
    isp.vpi = atolLike(fields[3]);
    isp.vci = fields[4].empty() ? kDefaultVci : atolLike(fields[4]);
    isp.mtu = (!hasMtu || fields[5].empty()) ? kDefaultMtu : atolLike(fields[5]);
  }

  Country& db_;
  std::string_view supportUrl_;
  ISP_BY_COUNTRY* current_ = nullptr;
};

}  // namespace

void parseIspDatabase(Country& db, std::string_view bytes, std::string_view supportUrl) {
  // A reload must leave nothing of the previous file behind, not even past the new counts.
  db.countries.resize(kMaxCountries);
  const int used = std::clamp(db.countryCount, 0, kMaxCountries);
  for (int i = 0; i < used; ++i) clearCountry(db.countries[static_cast<std::size_t>(i)]);
  db.countryCount = 0;
  db.droppedCountries = 0;
  db.droppedIsps = 0;

  IspFileParser parser(db, supportUrl);
  forEachLine(bytes, [&](std::string_view line) { parser.feedLine(line); });
}

bool loadIspDatabase(Country& db, const std::string& languageFolder, std::string_view supportUrl) {
  const std::optional<std::string> bytes = readFileBytes(languageFolder + db.ispFileName);
  if (!bytes) return false;
  parseIspDatabase(db, *bytes, supportUrl);
  return true;
}

ISP_BY_COUNTRY countryAt(const Country& db, int index) {
  if (index < 0 || index >= db.countryCount || index >= static_cast<int>(db.countries.size()))
    return {};
  return db.countries[static_cast<std::size_t>(index)];
}

}  // namespace quillon::config
