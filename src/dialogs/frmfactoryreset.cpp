#include "dialogs/frmfactoryreset.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/dialog_texts.h"

namespace dialogs {

TfrmResetDefault::TfrmResetDefault(ui::Application& app)
    : DialogForm(app, "frmResetDefault", 486, 190),
      imgAlert(Add<ui::Image>("imgAlert")),
      lblFactoryReset(Add<ui::Label>("lblFactoryReset")),
      btnOk(Add<ui::Button>("btnOk")),
      btnCancel(Add<ui::Button>("btnCancel")) {
  SetAlertIcon(imgAlert);
  imgAlert.SetBounds(8, 8, 47, 44);
  lblFactoryReset.SetBounds(80, 24, 393, 65);
  lblFactoryReset.SetWordWrap(true);
  lblFactoryReset.SetCaption("Press the 'OK' button to reload from factory default");
  btnOk.SetBounds(224, 152, 121, 25);
  btnOk.SetCaption("&OK");
  btnOk.SetBold(true);
  btnCancel.SetBounds(352, 152, 121, 25);
  btnCancel.SetCaption("&Cancel");
  btnCancel.SetBold(true);
  btnOk.onClick = [this] { btnOkClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  defaultButton = &btnOk;
  cancelButton = &btnCancel;
  onPaint = [this] { FormPaint(); };
}

void TfrmResetDefault::btnOkClick() {
  SetModalResult(ui::kMrOk);
}

void TfrmResetDefault::btnCancelClick() {
  SetModalResult(ui::kMrCancel);
}

void TfrmResetDefault::FormPaint() {
  const int charset = DialogCharset();
  btnCancel.SetFontCharset(charset);
  lblFactoryReset.SetFontCharset(charset);
  if (!DialogTextsLoaded()) return;
  lblFactoryReset.SetCaption(DialogText(4));
  btnOk.SetCaption(DialogText(0));
  btnCancel.SetCaption(DialogText(1));
}

}  // namespace dialogs
