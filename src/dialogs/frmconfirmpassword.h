#pragma once

#include <functional>

#include "dialogs/dialog_frame.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"

namespace dialogs {

class TfrmResetDefault;

// Asks for the router password when it is no longer the factory default.
class TfrmPasswordConfirm : public DialogForm {
 public:
  explicit TfrmPasswordConfirm(ui::Application& app);

  void btnOkClick();
  void btnCancelClick();
  void lblForgotPasswordClick();
  void FormPaint();
  void LayOut();

  ui::Image& imgAlert;
  ui::Label& msg;
  ui::Label& lblPassword;
  ui::Edit& edtConfirmPassword;
  ui::Label& lblForgotPassword;
  ui::Button& btnOk;
  ui::Button& btnCancel;

  bool forgottenPassword = false;

  // The forgotten-password link asks this dialog and, on OK, has the router reset through the
  // modem engine's command request (no reply is awaited).
  TfrmResetDefault* resetDialog = nullptr;
  std::function<void()> sendFactoryReset;
};

}  // namespace dialogs
