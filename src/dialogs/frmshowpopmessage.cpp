#include "dialogs/frmshowpopmessage.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/dialog_texts.h"

namespace dialogs {

TShowPopMessage::TShowPopMessage(ui::Application& app)
    : DialogForm(app, "ShowPopMessage", 435, 173),
      lblShowMessage(Add<ui::Label>("lblShowMessage")),
      imgIcon(Add<ui::Image>("imgIcon")),
      btnOk(Add<ui::Button>("btnOk")) {
  lblShowMessage.SetBounds(64, 8, 353, 113);
  lblShowMessage.SetWordWrap(true);
  lblShowMessage.SetBold(true);
  SetInfoIcon(imgIcon);
  imgIcon.SetBounds(8, 8, 49, 49);
  btnOk.SetBounds(168, 136, 105, 25);
  btnOk.SetCaption("Ok");
  btnOk.onClick = [this] { btnOkClick(); };
  defaultButton = &btnOk;
  onPaint = [this] { FormPaint(); };
}

void TShowPopMessage::btnOkClick() {
  SetModalResult(ui::kMrOk);
  Close();
}

void TShowPopMessage::FormPaint() {
  const int charset = DialogCharset();
  lblShowMessage.SetFontCharset(charset);
  if (!DialogTextsLoaded()) return;
  btnOk.SetCaption(DialogText(0));
}

}  // namespace dialogs
