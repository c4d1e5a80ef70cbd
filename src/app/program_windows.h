#pragma once

#include <memory>

#include "ui/form.h"

namespace dialogs {
class TShowPopMessage;
class TShowOkCancelMessage;
class TfrmPasswordConfirm;
class TfrmResetDefault;
}  // namespace dialogs

namespace quillon::modem {
class TfrmModemConnect;
}  // namespace quillon::modem

namespace app {

class TmainForm;

// The six windows that live from start to end, reached from anywhere in the program. They are
// created in this order: the main window first, so its construction runs before any dialog
// exists.
struct ProgramWindows {
  std::unique_ptr<TmainForm> mainForm;
  std::unique_ptr<dialogs::TShowPopMessage> showPopMessage;
  std::unique_ptr<quillon::modem::TfrmModemConnect> modemConnect;  // the engine's hidden window
  std::unique_ptr<dialogs::TfrmPasswordConfirm> passwordConfirm;
  std::unique_ptr<dialogs::TfrmResetDefault> resetDefault;
  std::unique_ptr<dialogs::TShowOkCancelMessage> showOkCancelMessage;

  ProgramWindows();
  ~ProgramWindows();
  void CreateAll(ui::Application& app);
  void DestroyAll();
};

ProgramWindows& windows();

}  // namespace app
