#include "dialogs/frmshowokcancelmessage.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/dialog_texts.h"

namespace dialogs {

TShowOkCancelMessage::TShowOkCancelMessage(ui::Application& app)
    : DialogForm(app, "ShowOkCancelMessage", 454, 222),
      lblShowMessage(Add<ui::Label>("lblShowMessage")),
      imgIcon(Add<ui::Image>("imgIcon")),
      btnOk(Add<ui::Button>("btnOk")),
      btnCancel(Add<ui::Button>("btnCancel")) {
  lblShowMessage.SetBounds(56, 24, 345, 97);
  lblShowMessage.SetWordWrap(true);
  lblShowMessage.SetBold(true);
  SetInfoIcon(imgIcon);
  imgIcon.SetBounds(8, 8, 49, 49);
  btnOk.SetBounds(208, 152, 105, 25);
  btnOk.SetCaption("Ok");
  btnCancel.SetBounds(328, 152, 105, 25);
  btnCancel.SetCaption("Cancel");
  btnOk.onClick = [this] { btnOkClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  defaultButton = &btnOk;
  cancelButton = &btnCancel;
  onPaint = [this] { FormPaint(); };
}

void TShowOkCancelMessage::btnOkClick() {
  SetModalResult(ui::kMrOk);
}

void TShowOkCancelMessage::btnCancelClick() {
  SetModalResult(ui::kMrCancel);
}

void TShowOkCancelMessage::FormPaint() {
  const int charset = DialogCharset();
  btnCancel.SetFontCharset(charset);
  lblShowMessage.SetFontCharset(charset);
  if (!DialogTextsLoaded()) return;
  btnOk.SetCaption(DialogText(0));
  btnCancel.SetCaption(DialogText(1));
}

}  // namespace dialogs
