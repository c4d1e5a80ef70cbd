#include <gtest/gtest.h>

#include "app/wizard_fixture.h"
#include "config/dialog_texts.h"
#include "dialogs/frmconfirmpassword.h"
#include "dialogs/frmfactoryreset.h"
#include "dialogs/frmshowokcancelmessage.h"
#include "dialogs/frmshowpopmessage.h"

namespace {

using app::windows;

class DialogsTest : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    ASSERT_EQ(StartUp(), -1);
  }
  // The language's frm.str, as it would be after a start in a folder without one, or with one.
  void WithoutFrmStr() {
    auto& texts = quillon::config::dialogTexts();
    texts.loaded = false;
  }
};

TEST_F(DialogsTest, WithoutFrmStrTheDialogsKeepTheirBuiltInEnglish) {
  WithoutFrmStr();
  auto& password = *windows().passwordConfirm;
  password.Show();
  password.Hide();
  EXPECT_EQ(password.lblPassword.caption(), "Password");
  EXPECT_EQ(password.lblForgotPassword.caption(), "[Forgotten your password]");
  EXPECT_EQ(password.btnOk.caption(), "&OK");
  EXPECT_EQ(password.btnCancel.caption(), "&Cancel");
  EXPECT_EQ(password.lblPassword.left(), 8);
  EXPECT_EQ(password.clientWidth(), 489);
  EXPECT_EQ(password.msg.caption(),
            "Your router password has been changed from  factory default. Please enter your "
            "password below to progress");
  auto& reset = *windows().resetDefault;
  reset.Paint();
  EXPECT_EQ(reset.lblFactoryReset.caption(),
            "Press the 'OK' button to reload from factory default");
  auto& pop = *windows().showPopMessage;
  pop.Paint();
  EXPECT_EQ(pop.btnOk.caption(), "Ok");
}

TEST_F(DialogsTest, FrmStrTranslatesThemAndThePasswordDialogLaysItselfOut) {
  auto& texts = quillon::config::dialogTexts();
  texts.loaded = true;
  texts.texts.lines = {"OK",
                       "Abbrechen",
                       "Bitte Kennwort eingeben",
                       "[Kennwort vergessen]",
                       "Werkseinstellungen laden?",
                       "Kennwort:   "};
  ASSERT_EQ(texts.texts.lines[5].size(), 12u);
  ASSERT_EQ(texts.texts.lines[3].size(), 20u);
  auto& password = *windows().passwordConfirm;
  password.Show();
  password.Hide();
  EXPECT_EQ(password.msg.caption(), "Bitte Kennwort eingeben");
  EXPECT_EQ(password.btnCancel.caption(), "Abbrechen");
  // 12 and 20 characters around the 177-pixel edit: 120 + 177 + 200 = 497, the window 507.
  EXPECT_EQ(password.width(), 507);
  EXPECT_EQ(password.lblPassword.left(), 10);
  EXPECT_EQ(password.edtConfirmPassword.left(), 130);
  EXPECT_EQ(password.lblForgotPassword.left(), 130 + 177 + 10);
  EXPECT_EQ(password.btnOk.left(), 497 - 121 - 121 - 20);
  EXPECT_EQ(password.btnCancel.left(), password.btnOk.left() + 121 + 10);
  EXPECT_EQ(password.msg.width(), 497 - 90);
  // Laid out before it showed, so centred at its final size.
  EXPECT_EQ(password.left(), main().left() + (main().width() - 507) / 2);
  auto& reset = *windows().resetDefault;
  reset.Paint();
  EXPECT_EQ(reset.lblFactoryReset.caption(), "Werkseinstellungen laden?");
  EXPECT_EQ(reset.btnOk.caption(), "OK");
}

TEST_F(DialogsTest, TheDialogsTakeTheCharacterSetOfTheLanguage) {
  quillon::config::setDialogCharset("Russian");
  windows().showOkCancelMessage->Paint();
  EXPECT_EQ(windows().showOkCancelMessage->lblShowMessage.fontCharset(), 204);
  EXPECT_EQ(windows().showOkCancelMessage->btnCancel.fontCharset(), 204);
  quillon::config::setDialogCharset("Greek");
  windows().passwordConfirm->Paint();
  EXPECT_EQ(windows().passwordConfirm->msg.fontCharset(), 161);
  quillon::config::setDialogCharset("Czech");
  windows().resetDefault->Paint();
  EXPECT_EQ(windows().resetDefault->lblFactoryReset.fontCharset(), 238);
}

TEST_F(DialogsTest, TheMessageLabelIsForcedTo345By97ForEveryMessage) {
  auto& pop = *windows().showPopMessage;
  pop.lblShowMessage.SetBounds(64, 8, 10, 10);
  main().Show();
  std::string shown;
  backend().SetModalHandler([&](ui::Form& form) {
    ASSERT_EQ(&form, &pop);
    shown = pop.lblShowMessage.caption();
    EXPECT_EQ(pop.lblShowMessage.width(), 345);
    EXPECT_EQ(pop.lblShowMessage.height(), 97);
    // Centred on the main window.
    EXPECT_EQ(pop.left(), main().left() + (main().width() - pop.width()) / 2);
    EXPECT_EQ(pop.top(), main().top() + (main().height() - pop.height()) / 2);
    pop.btnOk.Click();
  });
  main().showPopMessage(std::string(2000, 'x'));
  EXPECT_EQ(shown, std::string(2000, 'x'));
  EXPECT_FALSE(pop.visible());
}

TEST_F(DialogsTest, TheQuestionAnswersOkCancelAndTheCloseBoxCountsAsCancel) {
  auto& question = *windows().showOkCancelMessage;
  backend().SetModalHandler([&](ui::Form&) { question.btnOk.Click(); });
  EXPECT_EQ(main().showOkCancelMessage("Install the adapter?"), 1);
  backend().SetModalHandler([&](ui::Form&) { question.btnCancel.Click(); });
  EXPECT_EQ(main().showOkCancelMessage("Install the adapter?"), 2);
  backend().SetModalHandler([&](ui::Form& form) { form.Close(); });
  EXPECT_EQ(main().showOkCancelMessage("Install the adapter?"), 2);
  EXPECT_EQ(question.caption(), "Norvane");
  EXPECT_FALSE(question.borderless());
}

}  // namespace
