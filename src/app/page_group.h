#pragma once

namespace app {

class TmainForm;

// A group of pages (link checks, connection settings, wireless, applying, main menu, ...): its
// event handlers and timers' work, holding the main window whose controls and values it uses.
// A group wires its controls' events and installs its routines into the page machine when it is
// built, at the end of the main window's construction.
class PageGroup {
 public:
  virtual ~PageGroup() = default;
};

// Builds every page group of the wizard into the main window.
void InstallPageGroups(TmainForm& form);

}  // namespace app
