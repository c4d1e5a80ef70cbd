#pragma once

#include "dialogs/dialog_frame.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"

namespace dialogs {

// Confirms a reset of the router to its factory settings.
class TfrmResetDefault : public DialogForm {
 public:
  explicit TfrmResetDefault(ui::Application& app);

  void btnOkClick();
  void btnCancelClick();
  void FormPaint();

  ui::Image& imgAlert;
  ui::Label& lblFactoryReset;
  ui::Button& btnOk;
  ui::Button& btnCancel;
};

}  // namespace dialogs
