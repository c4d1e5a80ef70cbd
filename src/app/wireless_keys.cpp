#include "app/frmmain.h"
#include "app/page_support.h"
#include "app/wireless_pages.h"
#include "config/catalogue.h"
#include "config/number_text.h"
#include "config/wireless_countries.h"
#include "modem/protocol/modem_settings.h"
#include "modem/protocol/wizard_texts.h"

namespace app {
namespace {

// The wizard always sets the first WEP key.
constexpr int kWepKeyIndex = 1;

// What the key edit offers for a security item: its help picture and its length limit.
struct KeyHelp {
  ui::Image* picture = nullptr;
  int maxLength = 0;
};

KeyHelp KeyHelpFor(MainFormControls& c, bool eu, int index, int wpaKeySupport) {
  if (eu) {
    if (index == 1) return {&c.imgWEPKey64, 10};
    if (index == 2) return {&c.imgWPAHex, 64};
    return {};
  }
  switch (index) {
    case 1:
      return {&c.imgWEPKey64, 10};
    case 2:
      return {&c.imgWEPKey128, 26};
    case 3:
      return {wpaKeySupport == 2 ? &c.imgWPAACSII : &c.imgWPAHex, 64};
    case 4:
      return {&c.imgWPAACSII, 64};
    default:
      return {};
  }
}

}  // namespace

void WirelessPages::showKeyHelp() {
  auto& c = form_.controls();
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &c.imgWEPKey64, &c.imgWEPKey128, &c.imgWPAHex, &c.imgWPAACSII, &c.edtWPAKey})
    control->Hide();
  c.edtWPAKey.SetTop(LayoutValue(form_, "ED_EncryptionKey", "Top"));
  c.hPanel.Hide();
  if (c.cbxEncryptType.itemIndex() < 0) c.cbxEncryptType.SetItemIndex(0);
  const int index = c.cbxEncryptType.itemIndex();
  const KeyHelp help = KeyHelpFor(c, Eu(), index, form_.systemConfig.setup.WPAKeySupport);
  if (help.picture) {
    help.picture->Show();
    help.picture->BringToFront();
    c.edtWPAKey.Show();
    c.edtWPAKey.BringToFront();
    c.edtWPAKey.SetMaxLength(help.maxLength);
  }
  if (Eu()) {
    c.imgEncryptOptField.Hide();
    PlaceBySkin(c.imgEncryptOptField, form_.systemConfig, "IMG_EncryptOptField");
    if (index == 1 || index == 2) {
      c.imgEncryptOptField.LoadPicture(
          SkinPicture(form_, index == 1 ? "IMG_WEPField" : "IMG_WPAField"));
      c.imgEncryptOptField.Show();
      c.imgEncryptOptField.BringToFront();
      // The option field frames the key edit: the edit moves to the field's row.
      c.edtWPAKey.SetTop(c.imgEncryptOptField.top());
      c.edtWPAKey.BringToFront();
    }
    if (form_.highlightVisible) {
      RaiseHighlightFrame(form_);
      form_.highlightControl(form_.focusControl);
    }
  } else if (index == 1 && form_.highlightVisible) {
    c.hPanel.Show();
    RaiseHighlightFrame(form_);
    if (form_.focusControl) form_.focusControl->BringToFront();
  }
}

bool WirelessPages::Reject(int message, ui::Control* control) {
  form_.showPopMessage(form_.applicationMessage(message));
  if (control) {
    form_.focusControl = control;
    form_.highlightVisible = true;
    RaiseHighlightFrame(form_);
  }
  return false;
}

bool WirelessPages::validateWirelessPage() {
  auto& c = form_.controls();
  const bool eu = Eu();
  const int index = c.cbxEncryptType.itemIndex();
  // The rules judge the key that will be sent, and collection trims it.
  const std::string key = Trimmed(c.edtWPAKey.text());
  if (Trimmed(c.edtSSID.text()).empty()) return Reject(22, &c.edtSSID);
  if (index != 0 && key.empty()) return Reject(23, &c.edtWPAKey);
  if (index == 1 && !(eu ? helpers_.HasLength(key, 5) : helpers_.IsHexKey(key, 10)))
    return Reject(25, &c.edtWPAKey);
  if (((index == 2 && eu) || index > 2) && !helpers_.IsPassphraseLength(key))
    return Reject(24, &c.edtWPAKey);
  if (index == 2 && !eu && !helpers_.IsHexKey(key, 26)) return Reject(30, nullptr);
  if (index != 0 && !eu) form_.showPopMessage(form_.applicationMessage(29));
  form_.highlightVisible = false;
  return true;
}

void WirelessPages::collectWirelessValues() {
  if (!form_.wirelessModule || !form_.radioEnabled) return;
  auto& c = form_.controls();
  auto& v = form_.values;
  const auto countries = quillon::config::wirelessCountries();
  const int country = c.cbxWLCountry.itemIndex();
  v.wirelessSsid = Trimmed(c.edtSSID.text());
  v.wirelessCountry = country >= 0 && country < static_cast<int>(countries.size())
                          ? std::string(countries[static_cast<std::size_t>(country)].code)
                          : std::string();
  v.wirelessChannel = c.cbxChannel.itemIndex() <= 0
                          ? "0"
                          : std::to_string(quillon::config::atolLike(c.cbxChannel.text()));
  v.wirelessKeyIndex = std::to_string(kWepKeyIndex);
  v.wirelessSecurity = c.cbxEncryptType.text();
  v.wirelessKey = c.cbxEncryptType.itemIndex() == 0 ? "" : Trimmed(c.edtWPAKey.text());
  KeepModemValuesUnlessChanged();
}

// What the lists could not show goes back as the modem had it. The engine's own security code
// is no list text, so the hand-over then leaves the modem's type and key as they were read.
void WirelessPages::KeepModemValuesUnlessChanged() {
  auto& c = form_.controls();
  auto& v = form_.values;
  if (keptCountry_) v.wirelessCountry = *keptCountry_;
  if (keptSecurity_ && c.cbxEncryptType.itemIndex() == keptSecurity_->shownIndex &&
      c.edtWPAKey.text() == keptSecurity_->shownKey) {
    v.wirelessSecurity = keptSecurity_->code;
    v.wirelessKey = keptSecurity_->key;
  }
}

// Values taken from the modem and never collected from the page carry the engine's own
// security code, which is no list text: the modem's security then stays as it was.
void WirelessPages::handWirelessValuesToEngine() {
  auto& s = Engine().modemSettings;
  const auto& v = form_.values;
  s.wlSsid = v.wirelessSsid;
  s.wlCountryCode = v.wirelessCountry;
  s.wlChannel = quillon::config::atolLike(v.wirelessChannel);
  s.wlKeyNumber = quillon::config::atolLike(v.wirelessKeyIndex);
  const auto security = quillon::modem::SecurityFromPageText(v.wirelessSecurity);
  if (!security) return;
  s.wlSecurity = std::string(*security);
  if (*security != quillon::modem::kSecurityNone) s.wlKey = v.wirelessKey;
}

void WirelessPages::layOutRemindPage() {
  auto& c = form_.controls();
  const auto& v = form_.values;
  c.lblSSID.SetCaption(v.wirelessSsid);
  c.lblSSID.Show();
  c.lblSSID.BringToFront();
  PlaceBySkin(c.imgRemindKey, form_.systemConfig, "IMG_WirelessRemindKey");
  if (v.wirelessSecurity.find("WEP") != std::string::npos)
    c.imgRemindKey.LoadPicture(SkinPicture(form_, "IMG_WirelessRemindWEPKeyField"));
  else if (v.wirelessSecurity.find("WPA") != std::string::npos)
    c.imgRemindKey.LoadPicture(SkinPicture(form_, "IMG_WirelessRemindWPAKeyField"));
  // Only the list's own "None" counts as no key; the modem's "NONE" does not.
  if (v.wirelessSecurity != "None") {
    c.imgRemindKey.Show();
    c.imgRemindKey.BringToFront();
    c.lblWlKey.SetCaption(v.wirelessKey);
    c.lblWlKey.Show();
    c.lblWlKey.BringToFront();
  } else {
    c.imgWirelessRemindSsidWarnMsg.Show();
    c.imgWirelessRemindSsidWarnMsg.BringToFront();
  }
}

}  // namespace app
