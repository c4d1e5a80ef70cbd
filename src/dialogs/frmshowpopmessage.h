#pragma once

#include "dialogs/dialog_frame.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"

namespace dialogs {

// The single-button message dialog every page reports through.
class TShowPopMessage : public DialogForm {
 public:
  explicit TShowPopMessage(ui::Application& app);

  void btnOkClick();
  void FormPaint();

  ui::Label& lblShowMessage;
  ui::Image& imgIcon;
  ui::Button& btnOk;
};

}  // namespace dialogs
