// The Windows screen backend under Wine on a private X display: its loop (posts, timers, socket
// watches, the UI-thread wait) and the native windows that mirror the model, driven through
// window messages as the system delivers a user's input.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/udp_socket.h"
#include "ui/application.h"
#include "ui/backend.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"
#include "ui/win32/screen_probe.h"

namespace {

constexpr ui::Color kCream = ui::Rgb(255, 251, 240);
constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);

ui::PicturePtr SolidPicture(int w, int h, ui::Color c) {
  auto picture = std::make_shared<ui::Picture>();
  picture->width = w;
  picture->height = h;
  for (int i = 0; i < w * h; ++i)
    picture->rgb.insert(picture->rgb.end(), {ui::RedOf(c), ui::GreenOf(c), ui::BlueOf(c)});
  return picture;
}

class Win32BackendTest : public ::testing::Test {
 protected:
  Win32BackendTest() : app(ui::MakeScreenBackend()), probe(app.backend()) {}

  ui::Backend& backend() { return app.backend(); }
  // Runs the loop until `done` holds or two seconds pass (a timer ends the wait).
  bool RunUntil(const std::function<bool()>& done) {
    bool expired = false;
    const auto timer = backend().StartTimer(2000, [&] { expired = true; });
    backend().RunUntil([&] { return done() || expired; });
    backend().StopTimer(timer);
    return done();
  }
  ui::Form& ShownForm(int w = 200, int h = 100) {
    form = std::make_unique<ui::Form>(app, "form");
    form->SetBounds(10, 10, w, h);
    form->SetColor(kCream);
    return *form;
  }

  ui::Application app;
  ui::win32::ScreenProbe probe;
  std::unique_ptr<ui::Form> form;
};

TEST_F(Win32BackendTest, PostsFromWorkersRunInOrderOnTheUiThread) {
  std::vector<int> order;
  std::atomic<int> offUi{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 2; ++w)
    workers.emplace_back([&, w] {
      for (int i = 0; i < 50; ++i)
        backend().Post([&, w, i] {
          if (!backend().IsUiThread()) ++offUi;
          order.push_back(w * 100 + i);
        });
    });
  for (auto& t : workers) t.join();
  ASSERT_TRUE(RunUntil([&] { return order.size() == 100; }));
  EXPECT_EQ(offUi.load(), 0);
  // Each worker's tasks keep their order among themselves.
  int last[2] = {-1, -1};
  for (int v : order) {
    EXPECT_GT(v % 100, last[v / 100]);
    last[v / 100] = v % 100;
  }
}

TEST_F(Win32BackendTest, TimerTicksUntilItStopsItselfAndQuitEndsRun) {
  int ticks = 0;
  ui::Backend::TimerId id = 0;
  id = backend().StartTimer(15, [&] {
    if (++ticks == 3) backend().StopTimer(id);
  });
  ASSERT_TRUE(RunUntil([&] { return ticks == 3; }));
  std::thread quitter([&] { backend().Quit(); });
  backend().Run();  // ends by the quit request from the other thread
  quitter.join();
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(backend().quitRequested());
}

// The processor time the calling thread has used, in milliseconds.
double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e4;
  };
  return ms(kernel) + ms(user);
}

// The wait sleeps in the system: a wait that the system refuses (as Windows 2000 refuses newer
// wake flags) would spin through the whole time instead.
TEST_F(Win32BackendTest, WaitOnUiThreadHoldsPostsAndTimersUntilItEnds) {
  bool posted = false;
  int ticks = 0;
  backend().Post([&] { posted = true; });
  const auto timer = backend().StartTimer(20, [&] { ++ticks; });
  const double cpuBefore = ThreadCpuMs();
  backend().WaitOnUiThread(500);
  EXPECT_LT(ThreadCpuMs() - cpuBefore, 50) << "milliseconds of processor time in the wait";
  EXPECT_FALSE(posted);
  EXPECT_EQ(ticks, 0);
  ASSERT_TRUE(RunUntil([&] { return posted && ticks > 0; }));
  backend().StopTimer(timer);
}

TEST_F(Win32BackendTest, SocketWatchRunsOnLoopbackDataUntilUnwatched) {
  const auto receiver = platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false);
  const auto sender = platform::OpenUdpSocket({platform::kLoopbackAddress, 0}, false);
  ASSERT_NE(receiver.socket, platform::kNoSocket);
  ASSERT_NE(sender.socket, platform::kNoSocket);
  const auto to = platform::LocalEndpoint(receiver.socket);
  ASSERT_TRUE(to.has_value());
  std::vector<std::string> got;
  const auto watch = backend().WatchReadable(receiver.socket, [&] {
    std::uint8_t buffer[64];
    const int n = platform::ReceiveDatagram(receiver.socket, buffer, sizeof buffer, nullptr);
    if (n > 0) got.emplace_back(reinterpret_cast<char*>(buffer), n);
  });
  for (const char* text : {"one", "two"})
    platform::SendDatagram(sender.socket, reinterpret_cast<const std::uint8_t*>(text), 3, *to);
  ASSERT_TRUE(RunUntil([&] { return got.size() == 2; }));
  EXPECT_EQ(got, (std::vector<std::string>{"one", "two"}));
  backend().Unwatch(watch);
  platform::SendDatagram(sender.socket, reinterpret_cast<const std::uint8_t*>("xyz"), 3, *to);
  RunUntil([] { return false; });
  EXPECT_EQ(got.size(), 2u);
  platform::CloseSocket(sender.socket);
  platform::CloseSocket(receiver.socket);
}

TEST_F(Win32BackendTest, PaintsPicturesPanelsInZOrderOverTheFormColour) {
  ui::Form& f = ShownForm();
  auto& image = f.Add<ui::Image>("image");
  image.SetLeft(10);
  image.SetTop(10);
  image.SetPicture(SolidPicture(40, 40, kBlue));
  auto& frame = f.Add<ui::Panel>("frame");
  frame.SetBounds(30, 30, 40, 40);
  frame.SetColor(ui::kRed);
  auto& hidden = f.Add<ui::Panel>("hidden");
  hidden.SetBounds(120, 10, 20, 20);
  hidden.SetColor(ui::kRed);
  hidden.Hide();
  f.Show();
  struct Case {
    int x, y;
    ui::Color expected;
  } cases[] = {{15, 15, kBlue},
               {45, 45, ui::kRed},
               {65, 65, ui::kRed},
               {125, 15, kCream},
               {190, 90, kCream}};
  for (const Case& c : cases)
    EXPECT_EQ(probe.PixelAt(f, c.x, c.y), c.expected) << "at " << c.x << "," << c.y;
  // The picture brought to the front covers the frame where they overlap.
  image.BringToFront();
  EXPECT_EQ(probe.PixelAt(f, 45, 45), kBlue);
  EXPECT_EQ(probe.PixelAt(f, 65, 65), ui::kRed);
}

TEST_F(Win32BackendTest, EditTakesTypedCharactersThroughTheModel) {
  ui::Form& f = ShownForm();
  auto& edit = f.Add<ui::Edit>("edit");
  edit.SetBounds(10, 10, 100, 21);
  edit.SetMaxLength(4);
  edit.onKeyPress = [](char& key) {
    if (key == '5') key = '\0';
  };
  f.Show();
  for (char32_t c : U"12534567") probe.TypeChar(edit, c);
  EXPECT_EQ(edit.text(), "1234");
  EXPECT_EQ(probe.NativeText(edit), "1234");
  probe.TypeChar(edit, U'\b');
  EXPECT_EQ(edit.text(), "123");
  EXPECT_EQ(probe.NativeText(edit), "123");
  edit.SetPasswordChar('*');
  EXPECT_EQ(probe.PasswordChar(edit), '*');
  edit.SetPasswordChar('\0');
  EXPECT_EQ(probe.PasswordChar(edit), 0);
}

TEST_F(Win32BackendTest, EditConvertsTypedLettersToItsCharset) {
  ui::Form& f = ShownForm();
  auto& edit = f.Add<ui::Edit>("edit");
  edit.SetBounds(10, 10, 100, 21);
  edit.SetFontCharset(204);  // Cyrillic: Windows-1251
  f.Show();
  probe.TypeChar(edit, U'\u0416');  // Zhe, 0xC6 in Windows-1251
  probe.TypeChar(edit, U'\u00E9');  // e acute, which Windows-1251 lacks
  EXPECT_EQ(edit.text(), "\xC6");
  EXPECT_EQ(probe.NativeText(edit), "\u0416");
}

TEST_F(Win32BackendTest, ComboShowsTheModelAndOnlyAUserPickFiresOnChange) {
  ui::Form& f = ShownForm();
  auto& combo = f.Add<ui::ComboBox>("combo");
  combo.SetBounds(10, 10, 120, 0);
  combo.SetItems({"English", "German", "Russian"});
  combo.SetItemIndex(0);
  int changes = 0;
  combo.onChange = [&] { ++changes; };
  f.Show();
  EXPECT_EQ(probe.ComboCount(combo), 3);
  EXPECT_EQ(probe.ComboSelection(combo), 0);
  combo.SetItemIndex(1);
  EXPECT_EQ(probe.ComboSelection(combo), 1);
  EXPECT_EQ(changes, 0);
  probe.PickRow(combo, 2);
  EXPECT_EQ(combo.itemIndex(), 2);
  EXPECT_EQ(changes, 1);
  // A disabled list refuses the pick, and the native list goes back to the model's row.
  combo.SetEnabled(false);
  probe.PickRow(combo, 0);
  EXPECT_EQ(combo.itemIndex(), 2);
  EXPECT_EQ(probe.ComboSelection(combo), 2);
  EXPECT_EQ(changes, 1);
}

TEST_F(Win32BackendTest, ButtonsProgressBarsAndPaintedPicturesTakeInput) {
  ui::Form& f = ShownForm();
  auto& button = f.Add<ui::Button>("button");
  button.SetBounds(10, 60, 80, 25);
  button.SetCaption("&Next");
  auto& bar = f.Add<ui::ProgressBar>("bar");
  bar.SetBounds(100, 60, 90, 16);
  bar.SetRange(0, 50);
  bar.SetPosition(20);
  auto& image = f.Add<ui::Image>("image");
  image.SetBounds(10, 10, 0, 0);
  image.SetPicture(SolidPicture(30, 30, kBlue));
  std::vector<std::string> events;
  button.onClick = [&] { events.push_back("button"); };
  image.onMouseMove = [&](int x, int y) {
    events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  image.onClick = [&] { events.push_back("image"); };
  f.Show();
  EXPECT_EQ(probe.NativeText(button), "&Next");
  EXPECT_EQ(probe.ProgressPosition(bar), 20);
  bar.StepIt();
  EXPECT_EQ(probe.ProgressPosition(bar), 30);
  probe.ClickButton(button);
  probe.ClickAt(f, 20, 25);
  button.SetEnabled(false);
  probe.ClickButton(button);
  EXPECT_EQ(events, (std::vector<std::string>{"button", "move 20,25", "image"}));
}

TEST_F(Win32BackendTest, HiddenControlsGetTheirWindowWhenFirstShown) {
  ui::Form& f = ShownForm();
  auto& edit = f.Add<ui::Edit>("edit");
  edit.SetBounds(10, 10, 100, 21);
  edit.Hide();
  f.Show();
  EXPECT_FALSE(probe.HasNative(edit));
  edit.Show();
  EXPECT_TRUE(probe.NativeVisible(edit));
  edit.Hide();
  EXPECT_TRUE(probe.HasNative(edit));
  EXPECT_FALSE(probe.NativeVisible(edit));
}

TEST_F(Win32BackendTest, ModalFormDisablesTheOthersAndReturnsItsResult) {
  ui::Form& main = ShownForm();
  main.Show();
  ui::Form dialog(app, "dialog");
  dialog.SetBorderless(false);
  dialog.SetBounds(50, 50, 150, 80);
  bool mainEnabledMeanwhile = true;
  const auto timer = backend().StartTimer(50, [&] {
    mainEnabledMeanwhile = probe.WindowEnabled(main);
    dialog.SetModalResult(ui::kMrOk);
  });
  EXPECT_EQ(dialog.ShowModal(), ui::kMrOk);
  backend().StopTimer(timer);
  EXPECT_FALSE(mainEnabledMeanwhile);
  EXPECT_TRUE(probe.WindowEnabled(main));
  EXPECT_FALSE(probe.WindowVisible(dialog));
}

TEST_F(Win32BackendTest, MessageBoxButtonsGiveTheClassicCodes) {
  struct Case {
    int buttons;
    int pressed;
  } cases[] = {{ui::Backend::kButtonsOk, 1},
               {ui::Backend::kButtonsOkCancel, 2},
               {ui::Backend::kButtonsOkCancel, 1},
               {ui::Backend::kButtonsAbortRetryIgnore, 4},
               {ui::Backend::kButtonsAbortRetryIgnore, 5}};
  for (const Case& c : cases) {
    probe.AnswerNextMessageBox(c.pressed);
    EXPECT_EQ(backend().MessageBoxWithButtons("Text", "Caption", c.buttons), c.pressed)
        << "buttons " << c.buttons;
  }
}

}  // namespace
