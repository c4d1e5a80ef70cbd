#include "dialogs/frmconfirmpassword.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/frmfactoryreset.h"

namespace dialogs {

TfrmPasswordConfirm::TfrmPasswordConfirm(ui::Application& app)
    : DialogForm(app, "frmPasswordConfirm", 489, 196),
      imgAlert(Add<ui::Image>("imgAlert")),
      msg(Add<ui::Label>("msg")),
      lblPassword(Add<ui::Label>("lblPassword")),
      edtConfirmPassword(Add<ui::Edit>("edtConfirmPassword")),
      lblForgotPassword(Add<ui::Label>("lblForgotPassword")),
      btnOk(Add<ui::Button>("btnOk")),
      btnCancel(Add<ui::Button>("btnCancel")) {
  SetAlertIcon(imgAlert);
  imgAlert.SetBounds(8, 8, 47, 44);
  msg.SetBounds(80, 8, 393, 97);
  msg.SetWordWrap(true);
  msg.SetCaption(
      "Your router password has been changed from  factory default. Please enter your password "
      "below to progress");
  lblPassword.SetBounds(8, 128, 80, 16);
  lblPassword.SetCaption("Password");
  edtConfirmPassword.SetBounds(96, 128, 177, 21);
  edtConfirmPassword.SetPasswordChar('*');
  lblForgotPassword.SetBounds(287, 128, 190, 13);
  lblForgotPassword.SetCaption("[Forgotten your password]");
  lblForgotPassword.SetBold(true);
  btnOk.SetBounds(216, 160, 121, 25);
  btnOk.SetCaption("&OK");
  btnOk.SetBold(true);
  btnCancel.SetBounds(352, 160, 121, 25);
  btnCancel.SetCaption("&Cancel");
  btnCancel.SetBold(true);
  btnOk.onClick = [this] { btnOkClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  defaultButton = &btnOk;
  cancelButton = &btnCancel;
  lblForgotPassword.onClick = [this] { lblForgotPasswordClick(); };
  // A user who forgot the password must reach the reset from the keyboard too.
  lblForgotPassword.SetTabStop(true);
  lblForgotPassword.SetFocusFramed(true);
  onPaint = [this] { FormPaint(); };
  // The texts and the layout they need are settled before the window appears and is centred:
  // laid out while painting, the window would change size under its own drawing.
  onShow = [this, centre = onShow] {
    // Every asking starts empty: a password the router rejected must not wait there again.
    edtConfirmPassword.SetText("");
    FormPaint();
    LayOut();
    if (centre) centre();
  };
}

void TfrmPasswordConfirm::btnOkClick() {
  SetModalResult(ui::kMrOk);
}

void TfrmPasswordConfirm::btnCancelClick() {
  SetModalResult(ui::kMrCancel);
}

void TfrmPasswordConfirm::lblForgotPasswordClick() {
  if (!resetDialog || resetDialog->ShowModal() != ui::kMrOk) return;
  if (sendFactoryReset) sendFactoryReset();
  forgottenPassword = true;
  SetModalResult(ui::kMrOk);
}

void TfrmPasswordConfirm::FormPaint() {
  const int charset = DialogCharset();
  for (ui::Label* label : {&msg, &lblForgotPassword, &lblPassword}) label->SetFontCharset(charset);
  btnCancel.SetFontCharset(charset);
  if (!DialogTextsLoaded()) return;
  msg.SetCaption(DialogText(2));
  lblPassword.SetCaption(DialogText(5));
  lblForgotPassword.SetCaption(DialogText(3));
  btnOk.SetCaption(DialogText(0));
  btnCancel.SetCaption(DialogText(1));
}

void TfrmPasswordConfirm::LayOut() {
  if (!DialogTextsLoaded()) return;
  // Translated texts have other lengths: the dialog lays itself out again, counting 10 pixels
  // a character.
  const int p = static_cast<int>(lblPassword.caption().size());
  const int f = static_cast<int>(lblForgotPassword.caption().size());
  const int e = edtConfirmPassword.width();
  lblPassword.SetLeft(10);
  edtConfirmPassword.SetLeft(p * 10 + 10);
  lblForgotPassword.SetLeft(edtConfirmPassword.left() + e + 10);
  const int total = p * 10 + e + f * 10;
  SetSize(total + 10, height());
  btnOk.SetLeft(total - btnOk.width() - btnCancel.width() - 20);
  btnCancel.SetLeft(btnOk.left() + btnOk.width() + 10);
  msg.SetWidth(total - 90);
}

}  // namespace dialogs
