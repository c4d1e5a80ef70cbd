#include "config/wireless_countries.h"

#include <array>

namespace quillon::config {
namespace {

// The order is the one the modem's country list has always had, not quite alphabetical
// (MALAWI before MACAO, FRENCH GUIANA before FRANCE); keep it, since the combo box index is the
// row index.
constexpr std::array<WirelessCountry, kWirelessCountryCount> kRows = {{
    {11, "AS", "AMERICAN SAMOA"},
    {13, "AG", "ANTIGUA AND BARBUDA"},
    {13, "AR", "ARGENTINA"},
    {13, "AW", "ARUBA"},
    {13, "AU", "AUSTRALIA"},
    {13, "AT", "AUSTRIA"},
    {13, "AZ", "AZERBAIJAN"},
    {13, "BS", "BAHAMAS"},
    {13, "BH", "BAHRAIN"},
    {13, "BD", "BANGLADESH"},
    {13, "BB", "BARBADOS"},
    {13, "BY", "BELARUS"},
    {13, "BE", "BELGIUM"},
    {13, "BM", "BERMUDA"},
    {13, "BT", "BHUTAN"},
    {13, "BO", "BOLIVIA"},
    {13, "BA", "BOSNIA AND HERZEGOVINA"},
    {13, "BR", "BRAZIL"},
    {13, "BN", "BRUNEI DARUSSALAM"},
    {13, "BG", "BULGARIA"},
    {13, "CA", "CANADA"},
    {13, "CV", "CAPE VERDE"},
    {13, "KY", "CAYMAN ISLANDS"},
    {13, "CL", "CHILE"},
    {13, "CN", "CHINA"},
    {13, "CO", "COLOMBIA"},
    {13, "CR", "COSTA RICA"},
    {13, "HR", "CROATIA"},
    {13, "CY", "CYPRUS"},
    {13, "CZ", "CZECH REPUBLIC"},
    {13, "DK", "DENMARK"},
    {13, "DM", "DOMINICA"},
    {13, "DO", "DOMINICAN REPUBLIC"},
    {13, "EC", "ECUADOR"},
    {13, "EG", "EGYPT"},
    {13, "SV", "EL SALVADOR"},
    {13, "EE", "ESTONIA"},
    {13, "FK", "FALKLAND ISLANDS (MALVINAS)"},
    {13, "FI", "FINLAND"},
    {13, "GF", "FRENCH GUIANA"},
    {13, "FR", "FRANCE"},
    {13, "GI", "GIBRALTAR"},
    {13, "DE", "GERMANY"},
    {13, "GR", "GREECE"},
    {13, "GP", "GUADELOUPE"},
    {11, "GU", "GUAM"},
    {13, "GT", "GUATEMALA"},
    {13, "GG", "GUERNSEY"},
    {13, "HT", "HAITI"},
    {13, "VA", "HOLY SEE (VATICAN CITY STATE)"},
    {13, "HN", "HONDURAS"},
    {13, "HK", "HONG KONG"},
    {13, "HU", "HUNGARY"},
    {13, "IS", "ICELAND"},
    {13, "IN", "INDIA"},
    {13, "ID", "INDONESIA"},
    {13, "IR", "IRAN, ISLAMIC REPUBLIC OF"},
    {13, "IE", "IRELAND"},
    {13, "IL", "ISRAEL"},
    {13, "IT", "ITALY"},
    {13, "JM", "JAMAICA"},
    {14, "JP", "JAPAN"},
    {13, "JE", "JERSEY"},
    {13, "JO", "JORDAN"},
    {13, "KE", "KENYA"},
    {13, "KR", "KOREA, REPUBLIC OF"},
    {13, "LV", "LATVIA"},
    {13, "LI", "LIECHTENSTEIN"},
    {13, "LT", "LITHUANIA"},
    {13, "LU", "LUXEMBOURG"},
    {13, "MK", "MACEDONIA, THE FORMER YUGOSLAV REPUBLIC OF"},
    {13, "MW", "MALAWI"},
    {13, "MO", "MACAO"},
    {13, "MY", "MALAYSIA"},
    {13, "MV", "MALDIVES"},
    {13, "MT", "MALTA"},
    {13, "IM", "MAN, ISLE OF"},
    {13, "MQ", "MARTINIQUE"},
    {13, "MR", "MAURITANIA"},
    {13, "MU", "MAURITIUS"},
    {13, "YT", "MAYOTTE"},
    {13, "MX", "MEXICO"},
    {11, "FM", "MICRONESIA, FEDERATED STATES OF"},
    {13, "MC", "MONACO"},
    {13, "NL", "NETHERLANDS"},
    {13, "AN", "NETHERLANDS ANTILLES"},
    {13, "NZ", "NEW ZEALAND"},
    {13, "NI", "NICARAGUA"},
    {13, "NG", "NIGERIA"},
    {11, "MP", "NORTHERN MARIANA ISLANDS"},
    {13, "NO", "NORWAY"},
    {13, "PK", "PAKISTAN"},
    {11, "PA", "PANAMA"},
    {13, "PG", "PAPUA NEW GUINEA"},
    {13, "PE", "PERU"},
    {13, "PH", "PHILIPPINES"},
    {13, "PL", "POLAND"},
    {13, "PT", "PORTUGAL"},
    {11, "PR", "PUERTO RICO"},
    {13, "RE", "REUNION"},
    {13, "RO", "ROMANIA"},
    {13, "RU", "RUSSIAN FEDERATION"},
    {13, "PM", "SAINT PIERRE AND MIQUELON"},
    {13, "SA", "SAUDI ARABIA"},
    {13, "SG", "SINGAPORE"},
    {13, "SK", "SLOVAKIA"},
    {13, "SI", "SLOVENIA"},
    {13, "ZA", "SOUTH AFRICA"},
    {13, "ES", "SPAIN"},
    {13, "LK", "SRI LANKA"},
    {13, "SE", "SWEDEN"},
    {13, "CH", "SWITZERLAND"},
    {11, "TW", "TAIWAN, REPUBLIC OF CHINA"},
    {13, "TZ", "TANZANIA, UNITED REPUBLIC OF"},
    {14, "TH", "THAILAND"},
    {13, "TR", "TURKEY"},
    {13, "UA", "UKRAINE"},
    {13, "AE", "UNITED ARAB EMIRATES"},
    {13, "GB", "UNITED KINGDOM"},
    {11, "US", "UNITED STATES"},
    {11, "UM", "UNITED STATES MINOR OUTLYING ISLANDS"},
    {13, "UY", "URUGUAY"},
    {13, "UZ", "UZBEKISTAN"},
    {13, "VE", "VENEZUELA"},
    {13, "VN", "VIET NAM"},
    {13, "VG", "VIRGIN ISLANDS, BRITISH"},
    {11, "VI", "VIRGIN ISLANDS, U.S."},
    {13, "YU", "YUGOSLAVIA"},
    {13, "ZM", "ZAMBIA"},
    {11, "Z2", "BAKER ISLAND"},
    {14, "ALL", "ALL CHANNELS"},
}};

constexpr bool allRowsFilled() {
  for (const WirelessCountry& row : kRows)
    if (row.code.empty() || row.name.empty() || row.channels == 0) return false;
  return true;
}
static_assert(allRowsFilled(), "the wireless country list is short of rows");

}  // namespace

std::span<const WirelessCountry> wirelessCountries() {
  return kRows;
}

int wirelessCountryIndex(std::string_view code) {
  for (std::size_t i = 0; i < kRows.size(); ++i)
    if (kRows[i].code == code) return static_cast<int>(i);
  return -1;
}

}  // namespace quillon::config
