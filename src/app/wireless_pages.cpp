#include "app/wireless_pages.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/frmmain.h"
#include "app/page_support.h"
#include "config/number_text.h"
#include "config/wireless_countries.h"
#include "modem/protocol/modem_settings.h"

namespace app {
namespace {

constexpr ui::Color kDarkRed = ui::Rgb(128, 0, 0);
constexpr int kEuChannels = 13;
constexpr int kEuListWidth = 170;

}  // namespace

std::vector<std::string> SecurityItems(bool eu, std::int32_t wpaKeySupport) {
  if (eu) return {"None", "WEP 64bit", "WPA-PSK"};
  std::vector<std::string> items = {"None", "WEP Key(64 bits)", "WEP Key(128 bits)"};
  if (wpaKeySupport == 1 || wpaKeySupport == 3) items.push_back("WPA PSK");
  if (wpaKeySupport == 2 || wpaKeySupport == 3) items.push_back("WPA2 PSK");
  return items;
}

WirelessPages::WirelessPages(TmainForm& form) : form_(form) {
  SetUpControls();
  WireEvents();
  auto& r = form.routines;
  r.initRadioPage = [this] { initRadioPage(); };
  r.initWirelessPage = [this] { initWirelessPage(); };
  r.showKeyHelp = [this] { showKeyHelp(); };
  r.layOutRemindPage = [this] { layOutRemindPage(); };
  r.validateWirelessPage = [this] { return validateWirelessPage(); };
}

bool WirelessPages::Eu() const {
  return form_.customerProfile.profileName == "EU";
}

void WirelessPages::SetUpControls() {
  auto& c = form_.controls();
  c.edtSSID.SetMaxLength(32);
  c.cbxChannel.SetDropDownCount(20);
  c.cbxWlKeyIndex.Hide();
  for (ui::Label* label : {&c.lblSSID, &c.lblWlKey}) {
    label->SetWordWrap(true);
    label->SetFontColor(kDarkRed);
    label->SetWidth(377);
    label->SetHeight(73);
  }
}

void WirelessPages::WireEvents() {
  auto& c = form_.controls();
  c.cbxWRadio.onChange = [this] { cbxWRadioChange(); };
  c.cbxWRadio.onExit = [this] { cbxWRadioExit(); };
  c.cbxWRadio.onKeyUp = [this](int) { cbxWRadioExit(); };
  c.cbxWLCountry.onChange = [this] {
    keptCountry_.reset();
    fillChannelList();
  };
  c.cbxWLCountry.onKeyUp = [this](int key) { cbxWLCountryKeyUp(key); };
  c.cbxWLCountry.onExit = [this] { cbxWLCountryExit(); };
  c.cbxChannel.onExit = [this] { cbxChannelExit(); };
  c.cbxChannel.onKeyUp = [this](int) { cbxChannelExit(); };
  c.cbxEncryptType.onChange = [this] {
    keptSecurity_.reset();
    showKeyHelp();
  };
  c.cbxEncryptType.onExit = [this] { showKeyHelp(); };
  c.cbxEncryptType.onKeyUp = [this](int) { showKeyHelp(); };
}

// The list is refilled on every visit of the hardware check, so the radio is on again there:
// the flag follows the list, or Next would skip pages the list says are wanted.
void WirelessPages::initRadioPage() {
  auto& list = form_.controls().cbxWRadio;
  list.Clear();
  list.AddItem("Enabled");
  list.AddItem("Disabled");
  list.SetItemIndex(0);
  form_.radioEnabled = true;
}

void WirelessPages::cbxWRadioChange() {
  form_.radioEnabled = form_.controls().cbxWRadio.itemIndex() == 0;
}

void WirelessPages::cbxWRadioExit() {
  auto& list = form_.controls().cbxWRadio;
  if (list.itemIndex() < 0) list.SetItemIndex(0);
  cbxWRadioChange();
}

void WirelessPages::initWirelessPage() {
  auto& c = form_.controls();
  const auto countries = quillon::config::wirelessCountries();
  c.cbxWLCountry.Clear();
  c.cbxChannel.Clear();
  c.cbxEncryptType.Clear();
  keptSecurity_.reset();
  keptCountry_.reset();
  for (const auto& country : countries) c.cbxWLCountry.AddItem(std::string(country.name));
  c.cbxWLCountry.SetItemIndex(0);
  const int channels = Eu() ? form_.systemConfig.defaultNumChannels : countries.front().channels;
  c.cbxChannel.AddItem("auto");
  for (int n = 1; n <= channels; ++n) c.cbxChannel.AddItem(std::to_string(n));
  c.cbxChannel.SetItemIndex(0);
  c.cbxEncryptType.SetItems(SecurityItems(Eu(), form_.systemConfig.setup.WPAKeySupport));
  c.cbxEncryptType.SetItemIndex(0);
}

void WirelessPages::fillChannelList() {
  auto& c = form_.controls();
  const auto countries = quillon::config::wirelessCountries();
  const int country = c.cbxWLCountry.itemIndex();
  channelsFilledFor_ = country;
  int channels = country >= 0 && country < static_cast<int>(countries.size())
                     ? countries[static_cast<std::size_t>(country)].channels
                     : 0;
  // A country the table does not know keeps the modem's channel: every channel is offered.
  if (keptCountry_)
    for (const auto& row : countries) channels = std::max<int>(channels, row.channels);
  c.cbxChannel.Clear();
  if (Eu()) {
    c.cbxChannel.AddItem("Auto Channel (Recommended)");
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &c.cbxChannel, &c.edtSSID, &c.cbxEncryptType, &c.edtWPAKey})
      control->SetWidth(kEuListWidth);
    channels = kEuChannels;
  } else {
    c.cbxChannel.AddItem("auto");
  }
  for (int n = 1; n <= channels; ++n) c.cbxChannel.AddItem(std::to_string(n));
  // Entry n is channel n; a channel the country does not have falls back to automatic.
  const int wanted = quillon::config::atolLike(form_.values.wirelessChannel);
  c.cbxChannel.SetItemIndex(wanted >= 1 && wanted <= channels ? wanted : 0);
}

// A list closed without a new choice keeps the channel the user picked.
void WirelessPages::cbxWLCountryKeyUp(int key) {
  if (ChangesSelection(key) && form_.controls().cbxWLCountry.itemIndex() != channelsFilledFor_)
    fillChannelList();
}

void WirelessPages::cbxWLCountryExit() {
  if (form_.controls().cbxWLCountry.itemIndex() < 0) fillChannelList();
}

void WirelessPages::cbxChannelExit() {
  auto& list = form_.controls().cbxChannel;
  if (list.itemIndex() < 0) list.SetItemIndex(0);
}

void WirelessPages::loadWirelessPageFromModem() {
  auto& c = form_.controls();
  const auto& v = form_.values;
  modemValues_ = ModemValues{v.wirelessSsid,    v.wirelessSecurity, v.wirelessKey,
                             v.wirelessCountry, v.wirelessChannel,  v.wirelessKeyIndex};
  c.edtSSID.SetText(v.wirelessSsid);
  const int country = quillon::config::wirelessCountryIndex(v.wirelessCountry);
  // A code the table does not know must not become the first row's country behind the user's
  // back (in the EU profile the list is not even shown): no country is selected.
  c.cbxWLCountry.SetItemIndex(country);
  if (country < 0)
    keptCountry_ = v.wirelessCountry;
  else
    keptCountry_.reset();
  fillChannelList();
  SelectSecurityFromModem(v.wirelessSecurity);
}

// The page is collected only when Next accepts it, so with the radio on the values are the
// ones the reminder and the page last showed; with the radio off they are the modem's own,
// whatever an earlier attempt collected.
void WirelessPages::keepModemValuesWhileRadioOff() {
  if (!form_.wirelessModule || form_.radioEnabled || !modemValues_) return;
  auto& v = form_.values;
  const ModemValues& m = *modemValues_;
  v.wirelessSsid = m.ssid;
  v.wirelessSecurity = m.security;
  v.wirelessKey = m.key;
  v.wirelessCountry = m.country;
  v.wirelessChannel = m.channel;
  v.wirelessKeyIndex = m.keyIndex;
}

namespace {

// The engine's security codes from the weakest to the strongest.
constexpr std::array<std::string_view, 5> kSecurityStrength = {
    quillon::modem::kSecurityNone, quillon::modem::kSecurityWep64, quillon::modem::kSecurityWep128,
    quillon::modem::kSecurityPsk, quillon::modem::kSecurityPsk2};

int SecurityStrength(std::string_view code) {
  const auto at = std::find(kSecurityStrength.begin(), kSecurityStrength.end(), code);
  return at == kSecurityStrength.end() ? -1 : static_cast<int>(at - kSecurityStrength.begin());
}

// The list text outside the EU profile of a WPA code that WPAKeySupport leaves out.
const char* WpaItemOf(std::string_view code) {
  if (code == quillon::modem::kSecurityPsk) return "WPA PSK";
  if (code == quillon::modem::kSecurityPsk2) return "WPA2 PSK";
  return nullptr;
}

}  // namespace

std::string SecurityCodeOf(const std::string& security) {
  if (const auto code = quillon::modem::SecurityFromPageText(security)) return std::string(*code);
  return SecurityStrength(security) >= 0 ? security : std::string();
}

// The modem's code picks the item of the same type. Without one the wizard must not weaken the
// modem behind the user's back: outside the EU profile the settings page is on the way, so the
// nearest stronger item is offered with the modem's key for the user to confirm, or else the
// modem's WPA type joins the list, so that the page shows what is kept; the EU list (one WEP
// and one WPA item) goes on the radio page's path without that page, so there the item of the
// same kind is shown and the modem's own type and key are kept until the user changes them.
// A type no list knows (shared-key WEP, say) selects nothing: the modem keeps it until the
// user chooses another, and the page cannot be accepted without a choice.
void WirelessPages::SelectSecurityFromModem(const std::string& code) {
  auto& c = form_.controls();
  keptSecurity_.reset();
  const int strength = SecurityStrength(code);
  if (strength < 0) {
    c.cbxEncryptType.SetItemIndex(-1);
    c.edtWPAKey.SetText("");
    keptSecurity_ = KeptSecurity{-1, "", code, form_.values.wirelessKey};
    return;
  }
  if (strength == 0) {
    c.cbxEncryptType.SetItemIndex(0);
    c.edtWPAKey.SetText("");
    return;
  }
  c.edtWPAKey.SetText(form_.values.wirelessKey);
  const auto& items = c.cbxEncryptType.items();
  int exact = -1;
  int stronger = -1;
  int strongerStrength = static_cast<int>(kSecurityStrength.size());
  for (size_t i = 0; i < items.size(); ++i) {
    const auto offered = quillon::modem::SecurityFromPageText(items[i]);
    const int itemStrength = offered ? SecurityStrength(*offered) : -1;
    if (itemStrength == strength) exact = static_cast<int>(i);
    if (itemStrength > strength && itemStrength < strongerStrength) {
      stronger = static_cast<int>(i);
      strongerStrength = itemStrength;
    }
  }
  if (exact >= 0) {
    c.cbxEncryptType.SetItemIndex(exact);
    return;
  }
  if (!Eu() && stronger >= 0) {
    c.cbxEncryptType.SetItemIndex(stronger);
    return;
  }
  if (!Eu()) {
    c.cbxEncryptType.AddItem(WpaItemOf(code));
    c.cbxEncryptType.SetItemIndex(static_cast<int>(c.cbxEncryptType.items().size()) - 1);
    return;
  }
  c.cbxEncryptType.SetItemIndex(strength <= 2 ? 1 : 2);
  keptSecurity_ = KeptSecurity{c.cbxEncryptType.itemIndex(), c.edtWPAKey.text(), code,
                               form_.values.wirelessKey};
}

}  // namespace app
