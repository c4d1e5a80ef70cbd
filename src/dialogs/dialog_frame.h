#pragma once

#include "ui/form.h"
#include "ui/image.h"

namespace dialogs {

// What the four dialogs share: the title, a single-line border, the cream colour and a place
// centred on the main window.
void SetUpDialogFrame(ui::Form& dialog, int clientWidth, int clientHeight);
void CentreOn(ui::Form& dialog, const ui::Form& owner);

// The information and alert icons are stored with the dialogs, not shipped as files.
void SetInfoIcon(ui::Image& image);
void SetAlertIcon(ui::Image& image);

}  // namespace dialogs
