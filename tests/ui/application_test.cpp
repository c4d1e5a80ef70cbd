// Application services and modal forms on the headless backend.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/exception.h"
#include "ui/form.h"
#include "ui/headless/headless_backend.h"
#include "ui/image.h"
#include "ui/timer.h"

namespace {

using ui::headless::Headless;
using ui::headless::HeadlessBackend;
using ui::headless::LoopStalled;

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override { app->SetTitle("Norvane Quillon"); }
  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  HeadlessBackend& backend = Headless(*app);
};

TEST_F(ApplicationTest, GuardShowsStandardErrorsAndLetsOthersThrough) {
  app->Guard([] { throw ui::PictureError("Cannot open file \"x.jpg\""); });
  app->Guard([] { throw std::out_of_range("index"); });
  ASSERT_EQ(backend.messageBoxes().size(), 2u);
  EXPECT_EQ(backend.messageBoxes()[0].text, "Cannot open file \"x.jpg\"");
  EXPECT_EQ(backend.messageBoxes()[0].caption, "Norvane Quillon");
  EXPECT_EQ(backend.messageBoxes()[1].text, "index");
  EXPECT_THROW(app->Guard([] { throw ui::HaltRequested{3}; }), ui::HaltRequested);
  EXPECT_EQ(backend.messageBoxes().size(), 2u);
}

TEST_F(ApplicationTest, HaltGoesThroughTheHandler) {
  app->SetHaltHandler([](int code) { throw ui::HaltRequested{code}; });
  try {
    app->Halt(7);
    FAIL() << "Halt returned";
  } catch (const ui::HaltRequested& h) {
    EXPECT_EQ(h.code, 7);
  }
}

TEST_F(ApplicationTest, MessageBoxAnswersFromTheHandler) {
  EXPECT_EQ(app->MessageBox("Version No. 2.0.3.5b"), 1);
  backend.SetMessageBoxHandler(
      [](const std::string& text, const std::string&) { return text == "again?" ? 2 : 1; });
  EXPECT_EQ(app->MessageBox("again?"), 2);
  ASSERT_EQ(backend.messageBoxes().size(), 2u);
  EXPECT_EQ(backend.messageBoxes()[1].text, "again?");
}

TEST_F(ApplicationTest, CursorAndScreenAreRecorded) {
  EXPECT_EQ(app->cursor(), ui::Cursor::Arrow);
  app->SetCursor(ui::Cursor::HourGlass);
  EXPECT_EQ(app->cursor(), ui::Cursor::HourGlass);
  ui::Form form(*app, "frm");
  form.SetSize(722, 482);
  form.CentreOnScreen(backend.screenWidth(), backend.screenHeight());
  EXPECT_EQ(form.left(), 151);
  EXPECT_EQ(form.top(), 143);
}

TEST_F(ApplicationTest, ModalHandlerPlaysTheUser) {
  ui::Form dialog(*app, "TShowOkCancelMessage");
  auto& ok = dialog.Add<ui::Image>("btnOk");
  ok.SetBounds(208, 152, 105, 25);
  ok.onClick = [&] { dialog.SetModalResult(ui::kMrOk); };
  int shows = 0;
  dialog.onShow = [&] { ++shows; };
  std::vector<std::string> seen;
  backend.SetModalHandler([&](ui::Form& f) {
    seen.push_back(f.name());
    backend.ClickAt(f, 210, 160);
  });
  EXPECT_EQ(dialog.ShowModal(), ui::kMrOk);
  EXPECT_FALSE(dialog.visible());
  EXPECT_FALSE(dialog.modal());
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(seen, std::vector<std::string>{"TShowOkCancelMessage"});
}

TEST_F(ApplicationTest, ClosingAModalFormGivesCancel) {
  ui::Form dialog(*app, "dlg");
  backend.SetModalHandler([](ui::Form& f) { f.Close(); });
  EXPECT_EQ(dialog.ShowModal(), ui::kMrCancel);
  backend.SetModalHandler([](ui::Form& f) { f.Hide(); });
  EXPECT_EQ(dialog.ShowModal(), ui::kMrCancel);
}

TEST_F(ApplicationTest, ModalFormBlocksInputToOtherForms) {
  ui::Form main(*app, "TmainForm");
  auto& pic = main.Add<ui::Image>("imgNextBT");
  pic.SetBounds(0, 0, 10, 10);
  int clicks = 0;
  pic.onClick = [&] { ++clicks; };
  main.Show();
  ui::Form dialog(*app, "dlg");
  backend.SetModalHandler([&](ui::Form& f) {
    backend.ClickAt(main, 5, 5);
    f.SetModalResult(ui::kMrOk);
  });
  dialog.ShowModal();
  EXPECT_EQ(clicks, 0);
  backend.ClickAt(main, 5, 5);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ApplicationTest, NestedModalFormsUnwindInOrder) {
  ui::Form outer(*app, "TfrmPasswordConfirm");
  ui::Form inner(*app, "TfrmResetDefault");
  std::vector<std::string> order;
  backend.SetModalHandler([&](ui::Form& f) {
    order.push_back(f.name());
    if (&f == &outer) {
      order.push_back("inner=" + std::to_string(inner.ShowModal()));
      f.SetModalResult(ui::kMrOk);
    } else {
      f.SetModalResult(ui::kMrCancel);
    }
  });
  EXPECT_EQ(outer.ShowModal(), ui::kMrOk);
  EXPECT_EQ(order,
            (std::vector<std::string>{"TfrmPasswordConfirm", "TfrmResetDefault", "inner=2"}));
}

TEST_F(ApplicationTest, ModalThatCanNeverEndThrows) {
  ui::Form dialog(*app, "dlg");
  EXPECT_THROW(dialog.ShowModal(), LoopStalled);
  EXPECT_FALSE(dialog.visible());
  EXPECT_FALSE(dialog.modal());
}

TEST_F(ApplicationTest, ATimerMayEndAModalForm) {
  ui::Form dialog(*app, "dlg");
  ui::Timer timer(*app, "tmrClose");
  timer.SetInterval(3000);
  timer.onTimer = [&] { dialog.SetModalResult(ui::kMrOk); };
  timer.SetEnabled(true);
  const auto start = app->clock().NowMs();
  EXPECT_EQ(dialog.ShowModal(), ui::kMrOk);
  EXPECT_EQ(app->clock().NowMs() - start, 3000);
}

TEST_F(ApplicationTest, ShowingAVisibleFormModallyIsAnError) {
  ui::Form dialog(*app, "dlg");
  dialog.Show();
  EXPECT_THROW(dialog.ShowModal(), ui::Exception);
}

TEST_F(ApplicationTest, TerminateEndsTheLoop) {
  ui::Timer timer(*app, "tmr");
  int ticks = 0;
  timer.SetInterval(100);
  timer.onTimer = [&] {
    if (++ticks == 3) app->Terminate();
  };
  timer.SetEnabled(true);
  app->Run();
  EXPECT_TRUE(app->terminated());
  EXPECT_EQ(ticks, 3);
}

TEST_F(ApplicationTest, KeyDownReachesTheVisibleFormOnly) {
  ui::Form main(*app, "TmainForm");
  std::vector<std::pair<int, int>> keys;
  main.onKeyDown = [&](int key, int shift) { keys.emplace_back(key, shift); };
  backend.PressKey(main, ui::kKeyF2, ui::kShiftAlt);
  main.Show();
  backend.PressKey(main, ui::kKeyF2, ui::kShiftAlt);
  backend.PressKey(main, ui::kKeyF10, 0);
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{113, ui::kShiftAlt}, {121, 0}}));
}

TEST_F(ApplicationTest, PaintRunsOnEveryShow) {
  ui::Form dialog(*app, "TShowPopMessage");
  int paints = 0;
  dialog.onPaint = [&] { ++paints; };
  dialog.Show();
  dialog.Hide();
  dialog.Show();
  EXPECT_EQ(paints, 2);
}

}  // namespace
