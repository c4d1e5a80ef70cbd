#include "dialogs/frmshowokcancelmessage.h"

#include <algorithm>

#include "dialogs/dialog_frame.h"
#include "dialogs/dialog_texts.h"
#include "ui/application.h"
#include "ui/backend.h"

namespace dialogs {
namespace {

constexpr int kHeight = 222;
constexpr int kMessageTop = 24;
constexpr int kButtonsTop = 152;
// Below the message's 97 pixels the buttons keep this distance, however long it grows.
constexpr int kGapAboveButtons = kButtonsTop - kMessageTop - 97;

}  // namespace

TShowOkCancelMessage::TShowOkCancelMessage(ui::Application& app)
    : DialogForm(app, "ShowOkCancelMessage", 454, kHeight),
      lblShowMessage(Add<ui::Label>("lblShowMessage")),
      imgIcon(Add<ui::Image>("imgIcon")),
      btnOk(Add<ui::Button>("btnOk")),
      btnCancel(Add<ui::Button>("btnCancel")) {
  lblShowMessage.SetBounds(56, kMessageTop, 345, 97);
  lblShowMessage.SetWordWrap(true);
  lblShowMessage.SetBold(true);
  SetInfoIcon(imgIcon);
  imgIcon.SetBounds(8, 8, 49, 49);
  btnOk.SetBounds(208, kButtonsTop, 105, 25);
  btnOk.SetCaption("Ok");
  btnCancel.SetBounds(328, kButtonsTop, 105, 25);
  btnCancel.SetCaption("Cancel");
  btnOk.onClick = [this] { btnOkClick(); };
  btnCancel.onClick = [this] { btnCancelClick(); };
  defaultButton = &btnOk;
  cancelButton = &btnCancel;
  onPaint = [this] { FormPaint(); };
  onShow = [this, centre = onShow] {
    FormPaint();
    FitMessage();
    if (centre) centre();
  };
}

// The message keeps its width and takes the height its wrapped lines need, so that a long text
// (a translation) is not cut; the buttons and the window make room below it, within the screen.
void TShowOkCancelMessage::FitMessage() {
  auto& backend = app().backend();
  const ui::Label& label = lblShowMessage;
  const int most =
      backend.screenHeight() - kHeight - 40 + kButtonsTop - kMessageTop - kGapAboveButtons;
  const int textHeight =
      std::min(most, backend.WrappedTextHeight(label.caption(), label.fontSize(), label.bold(),
                                               label.fontCharset(), label.width()));
  lblShowMessage.SetHeight(textHeight);
  const int buttonsTop = std::max(kButtonsTop, kMessageTop + textHeight + kGapAboveButtons);
  btnOk.SetTop(buttonsTop);
  btnCancel.SetTop(buttonsTop);
  SetSize(width(), kHeight + buttonsTop - kButtonsTop);
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
