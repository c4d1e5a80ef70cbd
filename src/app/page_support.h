#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include "app/frmmain.h"
#include "app/program_windows.h"
#include "config/system_config.h"
#include "modem/engine/modemconnect.h"
#include "ui/application.h"
#include "ui/image.h"

namespace app {

// The page group of type Group among the main window's groups; none when it is not installed.
// Groups look each other up when they act, not when they are built, so their order of
// installation does not matter.
template <class Group>
Group* FindPageGroup(TmainForm& form) {
  for (auto& group : form.pageGroups)
    if (auto* found = dynamic_cast<Group*>(group.get())) return found;
  return nullptr;
}

// The modem control engine; it exists from the end of start-up until the program ends, so the
// page routines may always use it.
inline quillon::modem::TfrmModemConnect& Engine() {
  return *windows().modemConnect;
}

// Whether a key released in a list should refresh what depends on the list: function keys, Tab,
// the modifier and lock keys, Print Screen, the Windows key and Clear change no selection.
inline bool ChangesSelection(int key) {
  if (key >= 112 && key <= 123) return false;
  if (key >= 16 && key <= 20) return false;
  switch (key) {
    case 9:
    case 12:
    case 44:
    case 91:
    case 144:
    case 145:
      return false;
    default:
      return true;
  }
}

// A page picture from the language folder by its skin key.
inline std::string SkinPicture(const TmainForm& form, const char* key) {
  return form.langDir + quillon::config::pictureFile(form.systemConfig, key);
}

inline int LayoutValue(const TmainForm& form, const char* key, const char* attribute) {
  return quillon::config::layoutValue(form.systemConfig, key, attribute);
}

// Where the skin puts a control: Left and Top from its layout key, and Width when asked.
inline void PlaceBySkin(ui::Control& control, const quillon::config::systemConfig& config,
                        const std::string& key, bool withWidth = false) {
  control.SetLeft(quillon::config::layoutValue(config, key, "Left"));
  control.SetTop(quillon::config::layoutValue(config, key, "Top"));
  if (withWidth) control.SetWidth(quillon::config::layoutValue(config, key, "Width"));
}

// Hover pictures show only while the mouse is over them: of `buttons`, the first under the
// point comes to the front and the others hide. True when one shows.
inline bool ShowHoverPicture(std::initializer_list<ui::Image*> buttons, int x, int y) {
  for (ui::Image* button : buttons) button->Hide();
  for (ui::Image* button : buttons) {
    if (!button->Contains(x, y)) continue;
    button->Show();
    button->BringToFront();
    return true;
  }
  return false;
}

inline void SetHoverCursor(ui::Application& app, bool overPicture) {
  app.SetCursor(overPicture ? ui::Cursor::HandPoint : ui::Cursor::Arrow);
}

// Puts the red frame above the page picture. The frame is drawn in the window's own z-order,
// where the page background is brought to the front whenever a page is laid out; the marked
// control is brought in front of the frame afterwards, so the frame shows as its border.
inline void RaiseHighlightFrame(TmainForm& form) {
  form.controls().hPanel.BringToFront();
}

// Text stripped of leading and trailing blanks and control characters.
inline std::string Trimmed(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}

}  // namespace app
