#include "app/connection_pages.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/frmmain.h"
#include "app/page_support.h"
#include "config/isp_database.h"
#include "modem/protocol/wizard_texts.h"
#include "ui/ansi_text.h"

namespace app {
namespace {

constexpr const char* kAddressMask = "999.999.999.999;1; ";
constexpr const char* kBlankAddress = "   .   .   .   ";
constexpr const char* kProtocols[] = {kClickToSelect, "PPPoE",     "PPPoA",
                                      "Dynamic IP",   "Static IP", "Bridge"};
constexpr const char* kEncapsulations[] = {kClickToSelect, "LLC", "VC-MUX"};

int ProtocolPosition(const std::string& text) {
  for (int i = 1; i < 6; ++i)
    if (text == kProtocols[i]) return i;
  return 0;
}

// The database writes VC multiplexing as "VC Mux"; the list shows "VC-MUX".
int EncapsulationPosition(const std::string& text) {
  if (text == "LLC") return 1;
  if (text == "VC Mux") return 2;
  return 0;
}

std::string UnlessUnset(const std::string& address) {
  return address == "0.0.0.0" ? std::string() : address;
}

}  // namespace

bool IsWholeNumber(const std::string& text, int* value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t number = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    number = number * 10 + (text[i] - '0');
    if (number > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) number = -number;
  if (number > std::numeric_limits<std::int32_t>::max()) return false;
  if (value) *value = static_cast<int>(number);
  return true;
}

ConnectionPages::ConnectionPages(TmainForm& form) : form_(form) {
  SetUpControls();
  WireEvents();
  auto& r = form.routines;
  r.fillCountries = [this] { fillCountries(); };
  r.validateIspPage = [this] { return validateIspPage(); };
  r.validateStaticIpPage = [this] { return validateStaticIpPage(); };
  r.validatePppPage = [this] { return validatePppPage(); };
  r.collectSettings = [this] { collectSettings(); };
}

// The controls' design-time properties.
void ConnectionPages::SetUpControls() {
  auto& c = form_.controls();
  c.cbxDSLCountry.SetDropDownCount(20);
  c.cbxDSLISP.SetDropDownCount(20);
  c.edtVPI.SetMaxLength(3);
  c.edtVCI.SetMaxLength(6);
  for (ui::MaskEdit* edit : {&c.medWANIP, &c.medSubnet, &c.medGateway, &c.medDNSIP}) {
    edit->SetEditMask(kAddressMask);
    edit->SetMaxLength(15);
    edit->SetText(kBlankAddress);
  }
  c.edtUsername.SetMaxLength(256);
  for (ui::Edit* edit : {&c.edtPassword, &c.edtConfirmPass}) {
    edit->SetMaxLength(32);
    edit->SetPasswordChar('*');
  }
  c.cbxDSLProtocol.SetItems(std::vector<std::string>(std::begin(kProtocols), std::end(kProtocols)));
  c.cbxDSLEncaps.SetItems(
      std::vector<std::string>(std::begin(kEncapsulations), std::end(kEncapsulations)));
}

void ConnectionPages::WireEvents() {
  auto& c = form_.controls();
  struct ListRoutine {
    ui::ComboBox& list;
    Refresh refresh;
    RefreshedRow row;
  };
  for (const ListRoutine& entry :
       {ListRoutine{c.cbxDSLCountry, &ConnectionPages::fillIsps,
                    &ConnectionPages::ispsFilledForCountry_},
        ListRoutine{c.cbxDSLISP, &ConnectionPages::applyIspChoice, &ConnectionPages::ispApplied_},
        ListRoutine{c.cbxDSLProtocol, &ConnectionPages::protocolChanged,
                    &ConnectionPages::protocolApplied_}}) {
    ui::ComboBox* list = &entry.list;
    const Refresh refresh = entry.refresh;
    const RefreshedRow row = entry.row;
    list->onChange = [this, refresh] { (this->*refresh)(); };
    list->onKeyUp = [this, list, refresh, row](int key) { ListKeyUp(*list, refresh, row, key); };
    list->onExit = [this, list, refresh, row] { ListExit(*list, refresh, row); };
  }
  auto selectFirstIfNone = [&list = c.cbxDSLEncaps] {
    if (list.itemIndex() < 0) list.SetItemIndex(0);
  };
  c.cbxDSLEncaps.onKeyUp = [selectFirstIfNone](int) { selectFirstIfNone(); };
  c.cbxDSLEncaps.onExit = selectFirstIfNone;
  for (ui::Edit* edit : {&c.edtVPI, &c.edtVCI, &c.edtMTU})
    edit->onKeyPress = [this](char& key) { edtDigitsKeyPress(key); };
  for (ui::Edit* edit : {&c.edtPassword, &c.edtConfirmPass}) {
    edit->onKeyPress = [this](char key) {
      if (key == ui::kNotInCodePage) passwordLostCharacter_ = true;
    };
    // Both fields emptied: whatever is typed next is judged afresh.
    edit->onChange = [this, &c] {
      if (c.edtPassword.text().empty() && c.edtConfirmPass.text().empty())
        passwordLostCharacter_ = false;
    };
  }
  c.edtVPI.onClick = [this, &c] { edtNumberClick(c.edtVPI); };
  c.edtVCI.onClick = [this, &c] { edtNumberClick(c.edtVCI); };
  for (ui::MaskEdit* edit : {&c.medWANIP, &c.medSubnet, &c.medGateway, &c.medDNSIP})
    edit->onClick = [this, edit] { medAddressClick(*edit); };
}

void ConnectionPages::ListKeyUp(ui::ComboBox& list, Refresh refresh, RefreshedRow row, int key) {
  if (ChangesSelection(key) && list.itemIndex() != this->*row) (this->*refresh)();
}

void ConnectionPages::ListExit(ui::ComboBox& list, Refresh refresh, RefreshedRow row) {
  if (list.itemIndex() < 0 || list.itemIndex() != this->*row) (this->*refresh)();
}

void ConnectionPages::edtDigitsKeyPress(char& key) {
  static const std::string kAccepted = "1234567890";
  if (key != '\b' && kAccepted.find(key) == std::string::npos) key = '\0';
}

// A click on the prompt, or on anything that is not a number, makes room for typing.
void ConnectionPages::edtNumberClick(ui::Edit& edit) {
  if (!IsWholeNumber(edit.text())) edit.SetText("");
}

void ConnectionPages::medAddressClick(ui::MaskEdit& edit) {
  if (helpers_.ReplaceAll(edit.text(), " ", "0") == "000.000.000.000") edit.SetText("");
}

void ConnectionPages::fillCountries() {
  auto& list = form_.controls().cbxDSLCountry;
  const auto& db = form_.ispDatabase;
  const std::string& wanted = form_.systemConfig.defaultCountry;
  list.Clear();
  list.AddItem(kClickToSelect);
  int remembered = 0;
  for (int i = 0; i < db.countryCount; ++i) {
    const std::string& name = db.countries[static_cast<std::size_t>(i)].name;
    if (form_.ispPageNeedsFill && !wanted.empty() && name == wanted) remembered = i + 1;
    list.AddItem(name);
  }
  list.AddItem(kOthers);
  list.SetItemIndex(remembered);
  fillIsps();
}

void ConnectionPages::fillIsps() {
  auto& c = form_.controls();
  const auto& db = form_.ispDatabase;
  c.cbxDSLISP.Clear();
  if (c.cbxDSLCountry.itemIndex() < 0) c.cbxDSLCountry.SetItemIndex(0);
  const int p = c.cbxDSLCountry.itemIndex();
  ispsFilledForCountry_ = p;
  const bool realCountry = p >= 1 && p <= db.countryCount;
  const auto* country = realCountry ? &db.countries[static_cast<std::size_t>(p - 1)] : nullptr;
  const int count = country ? country->ispCount : 0;
  const std::string& wanted = form_.systemConfig.defaultISP;
  c.cbxDSLISP.AddItem(kClickToSelect);
  int remembered = 0;
  for (int i = 0; i < count; ++i) {
    const std::string& name = country->isps[static_cast<std::size_t>(i)].name;
    if (form_.ispPageNeedsFill && !wanted.empty() && name == wanted) remembered = i + 1;
    c.cbxDSLISP.AddItem(name);
  }
  c.cbxDSLISP.AddItem(kOthers);
  c.cbxDSLISP.SetItemIndex(remembered);
  applyIspChoice();
}

void ConnectionPages::applyIspChoice() {
  auto& c = form_.controls();
  const auto& db = form_.ispDatabase;
  c.edtMTU.Hide();
  if (c.cbxDSLISP.itemIndex() < 0) c.cbxDSLISP.SetItemIndex(0);
  const int i = c.cbxDSLISP.itemIndex();
  ispApplied_ = i;
  const int country = c.cbxDSLCountry.itemIndex();
  const int n = static_cast<int>(c.cbxDSLISP.items().size());
  const quillon::config::_ISP_PROPERTY* isp = nullptr;
  if (i >= 1 && i <= n - 2 && country >= 1 && country <= db.countryCount)
    isp =
        &db.countries[static_cast<std::size_t>(country - 1)].isps[static_cast<std::size_t>(i - 1)];

  const int protocol = isp ? ProtocolPosition(isp->protocol) : 0;
  c.cbxDSLProtocol.SetItemIndex(protocol);
  protocolApplied_ = protocol;
  c.cbxDSLEncaps.SetItemIndex(isp ? EncapsulationPosition(isp->encapsulation) : 0);
  c.edtVPI.SetText(isp ? std::to_string(isp->vpi) : kEnterANumber);
  c.edtVCI.SetText(isp ? (isp->vci >= 32 ? std::to_string(isp->vci) : "35") : kEnterANumber);
  form_.staticIpSelected = protocol == 4;
  form_.pppSelected = protocol == 1 || protocol == 2;
  ShowDslFieldsLocked(i == 0);
}

// Until an ISP entry (or "Others") is chosen, the DSL values cannot be edited and their labels
// are grey.
void ConnectionPages::ShowDslFieldsLocked(bool locked) {
  auto& c = form_.controls();
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           &c.cbxDSLProtocol, &c.cbxDSLEncaps, &c.edtVPI, &c.edtVCI})
    control->SetEnabled(!locked);
  const std::pair<ui::Image*, const char*> labels[] = {{&c.imgDSLProtocol, "IMG_DSLProtocol"},
                                                       {&c.imgDSLEncaps, "IMG_DSLEncapulation"},
                                                       {&c.imgDSLVPI, "IMG_DSLVPI"},
                                                       {&c.imgDSLVCI, "IMG_DSLVCI"},
                                                       {&c.imgDSLNotice, "IMG_DSLNotice"}};
  for (const auto& [image, key] : labels) {
    const std::string pictureKey = locked ? std::string(key) + "_grey" : std::string(key);
    image->LoadPicture(SkinPicture(form_, pictureKey.c_str()));
  }
  form_.dslFieldsLocked = locked;
}

void ConnectionPages::protocolChanged() {
  auto& c = form_.controls();
  if (c.cbxDSLProtocol.itemIndex() < 0) c.cbxDSLProtocol.SetItemIndex(0);
  const int protocol = c.cbxDSLProtocol.itemIndex();
  protocolApplied_ = protocol;
  form_.staticIpSelected = protocol == 4;
  form_.pppSelected = protocol == 1 || protocol == 2;
  if (protocol == 0) c.cbxDSLEncaps.SetItemIndex(0);
}

// The protocol and DSL values the modem reported are not preselected; only the account and
// the addresses are carried over.
void ConnectionPages::resetConnectionPage() {
  auto& c = form_.controls();
  const auto& v = form_.values;
  c.cbxDSLProtocol.SetItems(std::vector<std::string>(std::begin(kProtocols), std::end(kProtocols)));
  c.cbxDSLProtocol.SetItemIndex(0);
  c.cbxDSLEncaps.SetItems(
      std::vector<std::string>(std::begin(kEncapsulations), std::end(kEncapsulations)));
  c.cbxDSLEncaps.SetItemIndex(0);
  c.edtVPI.SetText(kEnterANumber);
  c.edtVCI.SetText(kEnterANumber);
  c.edtMTU.SetText("1492");
  passwordLostCharacter_ = false;
  c.edtUsername.SetText(v.wanPppUser);
  c.edtPassword.SetText(v.wanPppPassword);
  c.edtConfirmPass.SetText(v.wanPppConfirm);
  c.medWANIP.SetText(v.wanIpAddress);
  c.medSubnet.SetText(v.wanSubnetMask);
  c.medGateway.SetText(v.wanGateway);
  c.medDNSIP.SetText(v.wanDnsServer);
}

void ConnectionPages::takeModemConnectionSettings() {
  const auto& s = Engine().modemSettings;
  auto& v = form_.values;
  v.wanProtocol = std::string(quillon::modem::ProtocolText(s.connectionType));
  v.wanEncapsulation =
      std::string(quillon::modem::EncapsulationText(s.connectionType, s.encapsulation));
  v.wanVpi = std::to_string(s.vpi);
  v.wanVci = std::to_string(s.vci);
  v.wanPppUser = s.pppUserName;
  v.wanPppPassword = s.pppPassword;
  v.wanPppConfirm = s.pppPassword;
  v.wanIpAddress = UnlessUnset(s.ipAddress);
  v.wanSubnetMask = UnlessUnset(s.subnetMask);
  v.wanGateway = UnlessUnset(s.gateway);
  v.wanDnsServer = UnlessUnset(s.dnsServer);
}

void ConnectionPages::takeModemWirelessSettings() {
  const auto& s = Engine().modemSettings;
  auto& v = form_.values;
  v.wirelessSsid = s.wlSsid;
  v.wirelessChannel = std::to_string(s.wlChannel);
  v.wirelessSecurity = s.wlSecurity;
  v.wirelessKey = s.wlKey;
  v.wirelessCountry = s.wlCountryCode;
  v.wirelessKeyIndex = std::to_string(s.wlKeyNumber);
}

}  // namespace app
