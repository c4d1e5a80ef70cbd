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
// Application message: the modem's security type is none the list offers; choose one.
constexpr int kChooseSecurity = 31;

// What the key edit offers for a security item: its help picture and its length limit.
struct KeyHelp {
  ui::Image* picture = nullptr;
  int maxLength = 0;
};

// By the item's text: a WPA item that joined the list for the modem's type sits at a position
// the fixed lists give to another.
KeyHelp KeyHelpFor(MainFormControls& c, bool eu, int index, const std::string& item) {
  if (eu) {
    if (index == 1) return {&c.imgWEPKey64, 10};
    if (index == 2) return {&c.imgWPAHex, 64};
    return {};
  }
  if (item == "WEP Key(64 bits)") return {&c.imgWEPKey64, 10};
  if (item == "WEP Key(128 bits)") return {&c.imgWEPKey128, 26};
  if (item == "WPA PSK") return {&c.imgWPAHex, 64};
  if (item == "WPA2 PSK") return {&c.imgWPAACSII, 64};
  return {};
}

bool IsPrintableAscii(const std::string& text) {
  for (const char ch : text)
    if (ch < 0x20 || ch > 0x7E) return false;
  return true;
}

}  // namespace

void WirelessPages::showKeyHelp() {
  auto& c = form_.controls();
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &c.imgWEPKey64, &c.imgWEPKey128, &c.imgWPAHex, &c.imgWPAACSII, &c.edtWPAKey})
    control->Hide();
  c.edtWPAKey.SetTop(LayoutValue(form_, "ED_EncryptionKey", "Top"));
  c.hPanel.Hide();
  // A modem type the list cannot show stays unselected until the user chooses.
  const bool choiceAwaited = keptSecurity_ && keptSecurity_->shownIndex < 0;
  if (c.cbxEncryptType.itemIndex() < 0 && !choiceAwaited) c.cbxEncryptType.SetItemIndex(0);
  const int index = c.cbxEncryptType.itemIndex();
  const KeyHelp help = KeyHelpFor(c, Eu(), index, c.cbxEncryptType.text());
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

// Accepting the page collects it: only values that passed these rules are ever sent, and a
// page left by Back keeps the values last accepted (or the modem's).
bool WirelessPages::validateWirelessPage() {
  auto& c = form_.controls();
  const bool eu = Eu();
  const int index = c.cbxEncryptType.itemIndex();
  // The rules judge the key that will be sent, and collection trims it.
  const std::string key = Trimmed(c.edtWPAKey.text());
  if (Trimmed(c.edtSSID.text()).empty()) return Reject(22, &c.edtSSID);
  if (index < 0) return Reject(kChooseSecurity, &c.cbxEncryptType);
  // The modem's own key of a type the list shows as another is the modem's to judge.
  const bool kept = KeptSecurityUnchanged();
  if (index != 0 && key.empty() && !kept) return Reject(23, &c.edtWPAKey);
  // WEP 64 takes 10 hexadecimal digits or 5 characters of text, as the help says.
  const bool wep64 =
      helpers_.IsHexKey(key, 10) || (helpers_.HasLength(key, 5) && IsPrintableAscii(key));
  if (!kept && index == 1 && !wep64) return Reject(25, &c.edtWPAKey);
  // A passphrase is sent byte for byte: only printable ASCII is the same on every device.
  const bool wpa = helpers_.IsPassphraseLength(key) && IsPrintableAscii(key);
  if (!kept && ((index == 2 && eu) || index > 2) && !wpa) return Reject(24, &c.edtWPAKey);
  if (!kept && index == 2 && !eu && !helpers_.IsHexKey(key, 26)) return Reject(30, nullptr);
  if (index != 0 && !eu) form_.showPopMessage(form_.applicationMessage(29));
  form_.highlightVisible = false;
  collectWirelessValues();
  return true;
}

bool WirelessPages::KeptSecurityUnchanged() const {
  const auto& c = form_.controls();
  return keptSecurity_ && c.cbxEncryptType.itemIndex() == keptSecurity_->shownIndex &&
         c.edtWPAKey.text() == keptSecurity_->shownKey;
}

void WirelessPages::collectWirelessValues() {
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

// What the lists could not show goes back as the modem had it: the engine's own security code
// and key, which the hand-over sends back as they were read.
void WirelessPages::KeepModemValuesUnlessChanged() {
  auto& v = form_.values;
  if (keptCountry_) v.wirelessCountry = *keptCountry_;
  if (KeptSecurityUnchanged()) {
    v.wirelessSecurity = keptSecurity_->code;
    v.wirelessKey = keptSecurity_->key;
  }
}

// Values taken from the modem carry the engine's own security code, which goes back as it is;
// the engine is set in full each time, so nothing an earlier attempt handed over is left.
// A type the wizard cannot set leaves the engine without a security: nothing is sent for it.
void WirelessPages::handWirelessValuesToEngine() {
  auto& s = Engine().modemSettings;
  const auto& v = form_.values;
  s.wlSsid = v.wirelessSsid;
  s.wlCountryCode = v.wirelessCountry;
  s.wlChannel = quillon::config::atolLike(v.wirelessChannel);
  s.wlKeyNumber = quillon::config::atolLike(v.wirelessKeyIndex);
  s.wlSecurity = SecurityCodeOf(v.wirelessSecurity);
  if (s.wlSecurity != quillon::modem::kSecurityNone) s.wlKey = v.wirelessKey;
}

void WirelessPages::layOutRemindPage() {
  auto& c = form_.controls();
  const auto& v = form_.values;
  c.lblSSID.SetCaption(v.wirelessSsid);
  c.lblSSID.Show();
  c.lblSSID.BringToFront();
  PlaceBySkin(c.imgRemindKey, form_.systemConfig, "IMG_WirelessRemindKey");
  const std::string code = SecurityCodeOf(v.wirelessSecurity);
  // A type the wizard cannot name has no key field to show, and is no open network either.
  if (code.empty()) return;
  // An open network, chosen or the modem's own, gets the warning instead of an empty key.
  if (code == quillon::modem::kSecurityNone) {
    c.imgWirelessRemindSsidWarnMsg.Show();
    c.imgWirelessRemindSsidWarnMsg.BringToFront();
    return;
  }
  const bool wep = code.find("WEP") != std::string::npos;
  c.imgRemindKey.LoadPicture(
      SkinPicture(form_, wep ? "IMG_WirelessRemindWEPKeyField" : "IMG_WirelessRemindWPAKeyField"));
  c.imgRemindKey.Show();
  c.imgRemindKey.BringToFront();
  c.lblWlKey.SetCaption(v.wirelessKey);
  c.lblWlKey.Show();
  c.lblWlKey.BringToFront();
}

}  // namespace app
