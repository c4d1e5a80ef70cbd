#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/page_group.h"
#include "host/modhelpfulfunc.h"

namespace ui {
class Control;
}  // namespace ui

namespace app {

class TmainForm;

// The radio, wireless settings and SSID reminder pages: the lists by profile and WPA support,
// the key rules, the prefill from the modem, and the wireless values handed to the engine.
class WirelessPages : public PageGroup {
 public:
  explicit WirelessPages(TmainForm& form);

  void initRadioPage();
  void initWirelessPage();
  void fillChannelList();
  void loadWirelessPageFromModem();
  void showKeyHelp();
  bool validateWirelessPage();
  void collectWirelessValues();
  void keepModemValuesWhileRadioOff();
  void handWirelessValuesToEngine();
  void layOutRemindPage();

  // Event handlers.
  void cbxWRadioChange();
  void cbxWRadioExit();
  void cbxWLCountryKeyUp(int key);
  void cbxWLCountryExit();
  void cbxChannelExit();

 private:
  bool Eu() const;
  void SetUpControls();
  void WireEvents();
  void SelectSecurityFromModem(const std::string& code);
  bool Reject(int message, ui::Control* control);
  bool KeptSecurityUnchanged() const;
  void KeepModemValuesUnlessChanged();

  // The modem's security when the list has no item for it, with what the prefill showed
  // instead: the type and key go back unchanged unless the user changes the list or the key.
  struct KeptSecurity {
    int shownIndex = 0;
    std::string shownKey;
    std::string code;
    std::string key;
  };

  TmainForm& form_;
  host::HelpfulFunc helpers_;
  std::optional<KeptSecurity> keptSecurity_;
  // The modem's country code when the table has no row for it, until the user picks a country.
  std::optional<std::string> keptCountry_;
  // The country row the channel list was last built for.
  int channelsFilledFor_ = -1;

  // The wireless values as the modem reported them, for a radio that the user switches off.
  struct ModemValues {
    std::string ssid, security, key, country, channel, keyIndex;
  };
  std::optional<ModemValues> modemValues_;
};

// The engine's security code for a value of wirelessSecurity: a list text's code, a code as
// read from the modem, or empty for a type the wizard cannot set.
std::string SecurityCodeOf(const std::string& security);

// The security list: three items in the EU profile; otherwise WEP and the WPA items that
// WPAKeySupport allows (1 WPA, 2 WPA2, 3 both, anything else none).
std::vector<std::string> SecurityItems(bool eu, std::int32_t wpaKeySupport);

}  // namespace app
