#pragma once

#include <string>

#include "ui/form.h"
#include "ui/image.h"

namespace dialogs {

// What the four dialogs share: the title, a single-line border, the cream colour and a place
// centred on the main window each time they show.
class DialogForm : public ui::Form {
 public:
  DialogForm(ui::Application& app, std::string name, int clientWidth, int clientHeight);

  // The window the dialog centres on when it shows (the main window); none keeps its place.
  const ui::Form* centredOn = nullptr;
};

void CentreOn(ui::Form& dialog, const ui::Form& owner);

// The information and alert icons are stored with the dialogs, not shipped as files.
void SetInfoIcon(ui::Image& image);
void SetAlertIcon(ui::Image& image);

}  // namespace dialogs
