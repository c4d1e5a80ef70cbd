#pragma once

#include <string>

#include "app/page_group.h"
#include "host/modhelpfulfunc.h"

namespace ui {
class ComboBox;
class Control;
class Edit;
class MaskEdit;
}  // namespace ui

namespace app {

class TmainForm;

// The ISP selection, static IP and PPP pages: the lists from the ISP database, the grey-out
// rule, the input filters, the validations, and the collection of every page value into the
// engine's settings before they are applied.
class ConnectionPages : public PageGroup {
 public:
  explicit ConnectionPages(TmainForm& form);

  // The ISP page's lists.
  void fillCountries();
  void fillIsps();
  void applyIspChoice();
  void protocolChanged();

  // Values from and to the modem.
  void resetConnectionPage();
  void takeModemConnectionSettings();
  void takeModemWirelessSettings();
  void collectSettings();

  // Leaving the pages by Next.
  bool validateIspPage();
  bool validateStaticIpPage();
  bool validatePppPage();

  // Event handlers of the page controls. A list's refresh routine and the member where it
  // notes the row it last refreshed for.
  using Refresh = void (ConnectionPages::*)();
  using RefreshedRow = int ConnectionPages::*;
  void ListKeyUp(ui::ComboBox& list, Refresh refresh, RefreshedRow row, int key);
  void ListExit(ui::ComboBox& list, Refresh refresh, RefreshedRow row);
  void edtDigitsKeyPress(char& key);
  void edtNumberClick(ui::Edit& edit);
  void medAddressClick(ui::MaskEdit& edit);

 private:
  void SetUpControls();
  void WireEvents();
  void ShowDslFieldsLocked(bool locked);
  // Shows message n, marks the control with the red frame and reports the page as invalid.
  bool Reject(int message, ui::Control& control);

  TmainForm& form_;
  host::HelpfulFunc helpers_;
  // The rows the dependent fields were last refreshed for: a list closed without a new choice
  // (Escape, Tab) must not throw away what the user edited since.
  int ispsFilledForCountry_ = -1;
  int ispApplied_ = -1;
  int protocolApplied_ = -1;
  // A character the code page lacks was typed into a password field: the password there is
  // not what the user typed, and must be typed again.
  bool passwordLostCharacter_ = false;
};

// The protocol and encapsulation lists' items.
inline constexpr const char* kClickToSelect = "(Click to select)";
inline constexpr const char* kOthers = "Others";
inline constexpr const char* kEnterANumber = "(Enter a number)";

// A text the framework's integer conversion accepts: optional leading blanks, an optional sign
// and decimal digits, within 32 bits.
bool IsWholeNumber(const std::string& text, int* value = nullptr);

}  // namespace app
