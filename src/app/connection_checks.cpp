#include <functional>
#include <string>

#include "app/connection_pages.h"
#include "app/frmmain.h"
#include "app/page_support.h"
#include "app/wireless_pages.h"
#include "config/number_text.h"
#include "modem/protocol/wizard_texts.h"

namespace app {
namespace {

// Application message: the gateway lies outside the address's subnet.
constexpr int kGatewayOutsideSubnet = 32;
// Application message: a password character cannot be sent in the code page.
constexpr int kPasswordNotSendable = 33;

// An address as the checks read it: four decimal numbers without leading zeros, since the
// mask edit invites zero-padded groups. A text of anything else (an untouched field) stays.
std::string PlainAddress(const std::string& text) {
  std::string plain;
  std::size_t start = 0;
  for (int group = 0; group < 4; ++group) {
    const std::size_t dot = text.find('.', start);
    if ((group < 3) != (dot != std::string::npos)) return text;
    const std::string part = text.substr(start, dot == std::string::npos ? dot : dot - start);
    if (part.empty() || part.size() > 3 ||
        part.find_first_not_of("0123456789") != std::string::npos)
      return text;
    if (group > 0) plain += '.';
    plain += std::to_string(std::stoi(part));
    start = dot + 1;
  }
  return plain;
}

}  // namespace

bool ConnectionPages::Reject(int message, ui::Control& control) {
  form_.showPopMessage(form_.applicationMessage(message));
  form_.focusControl = &control;
  form_.highlightVisible = true;
  RaiseHighlightFrame(form_);
  return false;
}

bool ConnectionPages::validateIspPage() {
  auto& c = form_.controls();
  if (c.cbxDSLCountry.itemIndex() <= 0) return Reject(9, c.cbxDSLCountry);
  if (c.cbxDSLISP.itemIndex() <= 0) return Reject(10, c.cbxDSLISP);
  if (c.cbxDSLProtocol.itemIndex() <= 0) return Reject(11, c.cbxDSLProtocol);
  if (c.cbxDSLEncaps.itemIndex() <= 0) return Reject(12, c.cbxDSLEncaps);
  int vpi = 0;
  int vci = 0;
  if (!IsWholeNumber(c.edtVPI.text(), &vpi)) return Reject(13, c.edtVPI);
  if (!IsWholeNumber(c.edtVCI.text(), &vci)) return Reject(14, c.edtVCI);
  // A negative VPI cannot be typed, but the ISP file could hold one: it is no path identifier.
  if (vpi < 0 || vpi > 255 || Trimmed(c.edtVPI.text()).empty()) return Reject(13, c.edtVPI);
  if (vci < 32 || vci > 65535 || Trimmed(c.edtVCI.text()).empty()) return Reject(14, c.edtVCI);
  form_.highlightVisible = false;
  return true;
}

bool ConnectionPages::validateStaticIpPage() {
  auto& c = form_.controls();
  auto compact = [this](const ui::MaskEdit& edit) {
    return helpers_.ReplaceAll(edit.text(), " ", "");
  };
  const std::string address = compact(c.medWANIP);
  const std::string mask = compact(c.medSubnet);
  const std::string gateway = compact(c.medGateway);
  const std::string dns = compact(c.medDNSIP);
  // A part that is no number fails its own check, as the conversion error would.
  auto holds = [](const std::function<bool()>& check) {
    try {
      return check();
    } catch (const host::ConversionError&) {
      return false;
    }
  };
  auto& h = helpers_;
  if (!holds([&] { return h.IsValidHostAddress(address); })) return Reject(15, c.medWANIP);
  if (!holds([&] { return h.IsValidSubnetMask(mask); })) return Reject(16, c.medSubnet);
  if (!holds([&] { return h.IsNotEdgeAddress(address, mask, 0); })) return Reject(15, c.medWANIP);
  if (!holds([&] { return h.IsNotEdgeAddress(address, mask, 1); })) return Reject(15, c.medSubnet);
  if (!holds([&] { return h.IsValidHostAddress(gateway); })) return Reject(17, c.medGateway);
  // A gateway the modem cannot reach would fail only minutes later, blamed on the account.
  const bool gatewayReachable = holds([&] {
    h.ParseDottedQuad(address);
    const auto a = h.octets;
    h.ParseDottedQuad(mask);
    const auto m = h.octets;
    h.ParseDottedQuad(gateway);
    const auto g = h.octets;
    for (std::size_t i = 0; i < a.size(); ++i)
      if ((a[i] & m[i]) != (g[i] & m[i])) return false;
    return true;
  });
  if (!gatewayReachable) return Reject(kGatewayOutsideSubnet, c.medGateway);
  if (!holds([&] { return h.IsValidHostAddress(dns); })) return Reject(18, c.medDNSIP);
  form_.highlightVisible = false;
  return true;
}

bool ConnectionPages::validatePppPage() {
  auto& c = form_.controls();
  if (Trimmed(c.edtUsername.text()).empty()) return Reject(19, c.edtUsername);
  // Both checks judge the password that will be sent, and collection trims it.
  const std::string password = Trimmed(c.edtPassword.text());
  if (password.empty()) return Reject(20, c.edtPassword);
  if (passwordLostCharacter_) {
    passwordLostCharacter_ = false;
    c.edtPassword.SetText("");
    c.edtConfirmPass.SetText("");
    return Reject(kPasswordNotSendable, c.edtPassword);
  }
  if (password != Trimmed(c.edtConfirmPass.text())) return Reject(21, c.edtConfirmPass);
  form_.highlightVisible = false;
  return true;
}

// Everything the pages hold goes into the engine's settings, ready for the set steps.
void ConnectionPages::collectSettings() {
  auto& c = form_.controls();
  auto& v = form_.values;
  auto& engine = Engine();
  auto* wireless = FindPageGroup<WirelessPages>(form_);
  v.wanProtocol = c.cbxDSLProtocol.text();
  v.wanEncapsulation = c.cbxDSLEncaps.text();
  v.wanVpi = std::to_string(quillon::config::atolLike(c.edtVPI.text()));
  v.wanVci = std::to_string(quillon::config::atolLike(c.edtVCI.text()));
  v.wanPppUser = Trimmed(c.edtUsername.text());
  v.wanPppPassword = Trimmed(c.edtPassword.text());
  v.wanPppConfirm = Trimmed(c.edtConfirmPass.text());
  v.wanIpAddress = PlainAddress(helpers_.ReplaceAll(c.medWANIP.text(), " ", ""));
  v.wanSubnetMask = PlainAddress(helpers_.ReplaceAll(c.medSubnet.text(), " ", ""));
  v.wanGateway = PlainAddress(helpers_.ReplaceAll(c.medGateway.text(), " ", ""));
  v.wanDnsServer = PlainAddress(helpers_.ReplaceAll(c.medDNSIP.text(), " ", ""));
  if (wireless) wireless->keepModemValuesWhileRadioOff();

  engine.testDnsAfterWanUp = true;
  form_.openInternetPage = true;
  auto& s = engine.modemSettings;
  if (const auto codes =
          quillon::modem::ConnectionCodesFromTexts(v.wanProtocol, v.wanEncapsulation)) {
    s.connectionType = codes->connectionType;
    s.encapsulation = codes->encapsulation;
    // A bridge leaves the connection to the PC: there is no internet to test from the modem.
    if (v.wanProtocol == "Bridge") {
      engine.testDnsAfterWanUp = false;
      form_.openInternetPage = false;
    }
  }
  s.vpi = quillon::config::atolLike(v.wanVpi);
  s.vci = quillon::config::atolLike(v.wanVci);
  s.pppUserName = v.wanPppUser;
  s.pppPassword = v.wanPppPassword;
  s.ipAddress = v.wanIpAddress;
  s.subnetMask = v.wanSubnetMask;
  s.gateway = v.wanGateway;
  s.dnsServer = v.wanDnsServer;
  if (wireless) wireless->handWirelessValuesToEngine();
}

}  // namespace app
