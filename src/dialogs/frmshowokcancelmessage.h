#pragma once

#include "dialogs/dialog_frame.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"

namespace dialogs {

// The question dialog: modal result 1 for OK, 2 for Cancel or the close box.
class TShowOkCancelMessage : public DialogForm {
 public:
  explicit TShowOkCancelMessage(ui::Application& app);

  void btnOkClick();
  void btnCancelClick();
  void FormPaint();
  void FitMessage();

  ui::Label& lblShowMessage;
  ui::Image& imgIcon;
  ui::Button& btnOk;
  ui::Button& btnCancel;
};

}  // namespace dialogs
