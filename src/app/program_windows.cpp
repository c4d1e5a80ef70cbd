#include "app/program_windows.h"

#include "app/frmmain.h"
#include "app/link_state.h"
#include "dialogs/frmconfirmpassword.h"
#include "dialogs/frmfactoryreset.h"
#include "dialogs/frmshowokcancelmessage.h"
#include "dialogs/frmshowpopmessage.h"
#include "modem/engine/modemconnect.h"

namespace app {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::CreateAll(ui::Application& app) {
  mainForm = std::make_unique<TmainForm>(app);
  showPopMessage = std::make_unique<dialogs::TShowPopMessage>(app);
  modemConnect =
      std::make_unique<quillon::modem::TfrmModemConnect>(app, mainForm->systemConfig.setup);
  passwordConfirm = std::make_unique<dialogs::TfrmPasswordConfirm>(app);
  resetDefault = std::make_unique<dialogs::TfrmResetDefault>(app);
  showOkCancelMessage = std::make_unique<dialogs::TShowOkCancelMessage>(app);
  passwordConfirm->resetDialog = resetDefault.get();
  passwordConfirm->sendFactoryReset = [engine = modemConnect.get()] {
    engine->SendCommand(quillon::modem::kCommandRebootDefault);
  };
  for (dialogs::DialogForm* dialog :
       std::initializer_list<dialogs::DialogForm*>{showPopMessage.get(), passwordConfirm.get(),
                                                   resetDefault.get(), showOkCancelMessage.get()})
    dialog->centredOn = mainForm.get();
}

void ProgramWindows::DestroyAll() {
  showOkCancelMessage.reset();
  resetDefault.reset();
  passwordConfirm.reset();
  modemConnect.reset();
  showPopMessage.reset();
  mainForm.reset();
}

ProgramWindows& windows() {
  static ProgramWindows all;
  return all;
}

ProcessState& processState() {
  static ProcessState state;
  return state;
}

}  // namespace app
