// The FLTK backend in a real window under Xvfb: what reaches the screen, and what a user's mouse
// and keyboard (driven by xdotool) do to the model.
#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "test_pictures.h"
#include "ui/application.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/mask_edit.h"
#include "ui/panel.h"
#include "ui/picture_cache.h"
#include "ui/progress_bar.h"
#include "ui/timer.h"

namespace {

using uitest::Rgb;

struct Screenshot {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  Rgb At(int x, int y) const {
    const std::uint8_t* p = rgb.data() + (std::size_t(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
  }
};

Screenshot TakeScreenshot() {
  const std::string path = uitest::TempPath("screen.ppm");
  const std::string command =
      "/usr/bin/import -display \"$DISPLAY\" -window root -depth 8 ppm:" + path;
  Screenshot shot;
  if (std::system(command.c_str()) != 0) return shot;
  // For a person checking the drawing: QUILLON_UI_SHOT=file.ppm keeps the last screenshot.
  if (const char* keep = std::getenv("QUILLON_UI_SHOT"))
    std::filesystem::copy_file(path, keep, std::filesystem::copy_options::overwrite_existing);
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  in >> magic >> shot.width >> shot.height >> maxValue;
  in.get();
  if (magic != "P6" || maxValue != 255) return Screenshot{};
  shot.rgb.resize(std::size_t(shot.width) * shot.height * 3);
  in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
  return shot;
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string Describe(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

class FltkWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run through tests/gui/with_xvfb.sh";
    app->SetTitle("Norvane Quillon");
  }

  // Runs the real loop until `pred` holds or `ms` of real time passed.
  bool Pump(const std::function<bool()>& pred, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred() && std::chrono::steady_clock::now() < end) Fl::wait(0.02);
    return pred();
  }
  // Lets everything queued be drawn, then makes sure the X server has executed it.
  void Settle() {
    Pump([] { return false; }, 300);
    Fl::flush();
    int x = 0, y = 0;
    Fl::get_mouse(x, y);
  }
  // Runs an xdotool command on a helper thread while the loop keeps going.
  bool Xdotool(const std::string& args) {
    std::atomic<bool> done{false};
    int status = -1;
    std::thread runner([&] {
      status = std::system(("xdotool " + args).c_str());
      done = true;
      backend->Post([] {});
    });
    Pump([&] { return done.load(); }, 20000);
    runner.join();
    Pump([] { return false; }, 200);  // the events it sent may still be on their way
    return status == 0;
  }

  std::unique_ptr<ui::Application> app =
      std::make_unique<ui::Application>(std::make_unique<ui::fltk::FltkBackend>());
  ui::fltk::FltkBackend* backend = static_cast<ui::fltk::FltkBackend*>(&app->backend());
};

TEST_F(FltkWindowTest, DrawsPicturePanelsLabelAndProgressInZOrder) {
  const Rgb leftColour{20, 40, 200}, rightColour{230, 200, 30};
  const std::string jpg = uitest::TempPath("page.jpg");
  uitest::WriteFile(
      jpg, uitest::MakeJpeg(
               200, 150, [&](int x, int) { return x < 100 ? leftColour : rightColour; }, 100));
  ui::PictureCache::Instance().Clear();

  ui::Form form(*app, "TmainForm");
  form.SetBounds(100, 80, 360, 240);
  form.SetColor(ui::Rgb(255, 251, 240));
  auto& img = form.Add<ui::Image>("imgMainMenu");
  img.SetBounds(10, 10, 0, 0);
  img.LoadPicture(jpg);
  auto& frame = form.Add<ui::Panel>("hPanel");
  frame.SetColor(ui::kRed);
  frame.SetBounds(150, 100, 40, 40);
  auto& side = form.Add<ui::Panel>("pnlSide");
  side.SetColor(ui::kRed);
  side.SetBounds(250, 20, 30, 60);
  auto& bar = form.Add<ui::ProgressBar>("pbrCheckHWLink");
  bar.SetBounds(10, 180, 200, 20);
  bar.SetRange(0, 200);
  bar.SetPosition(100);
  auto& lbl = form.Add<ui::Label>("lblSSID");
  lbl.SetBounds(250, 100, 100, 40);
  lbl.SetFontSize(20);
  lbl.SetCaption("\xC6\xC6\xC6");  // three Cyrillic capital Zhe
  lbl.SetFontCharset(204);
  std::vector<std::pair<int, int>> keys;
  form.onKeyDown = [&](int key, int shift) { keys.emplace_back(key, shift); };
  form.Show();
  Settle();

  auto at = [&](const Screenshot& s, int x, int y) {
    return s.At(form.left() + x, form.top() + y);
  };
  Screenshot shot = TakeScreenshot();
  ASSERT_EQ(shot.width, 1024) << "screenshot failed";
  struct Probe {
    const char* what;
    int x, y;
    Rgb want;
  } probes[] = {
      {"picture, left half", 40, 40, leftColour},
      {"picture, right half", 180, 40, rightColour},
      {"red frame over the picture", 170, 120, {255, 0, 0}},
      {"red panel", 265, 50, {255, 0, 0}},
      {"form colour", 330, 10, {255, 251, 240}},
      {"progress filled", 30, 190, {0, 0, 128}},
      {"progress empty", 190, 190, {255, 255, 255}},
  };
  for (const auto& p : probes)
    EXPECT_TRUE(Near(at(shot, p.x, p.y), p.want, 8))
        << p.what << ": " << Describe(at(shot, p.x, p.y)) << " wanted " << Describe(p.want);
  int dark = 0;
  for (int y = 100; y < 140; ++y)
    for (int x = 250; x < 350; ++x) dark += at(shot, x, y).r < 100 ? 1 : 0;
  EXPECT_GT(dark, 30) << "the label's text is missing";

  img.BringToFront();
  Settle();
  shot = TakeScreenshot();
  EXPECT_TRUE(Near(at(shot, 170, 120), rightColour, 8))
      << "picture brought to the front: " << Describe(at(shot, 170, 120));

  // The window has no input widget, so keys reach the form.
  ASSERT_TRUE(Xdotool("mousemove 300 300 key alt+F2 F10"));
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{18, 0}, {113, ui::kShiftAlt}, {121, 0}}));
}

TEST_F(FltkWindowTest, MouseAndTypingGoThroughTheModel) {
  ui::Form form(*app, "TmainForm");
  form.SetBounds(200, 100, 400, 300);
  form.SetColor(ui::kWhite);
  auto& pic = form.Add<ui::Panel>("imgNextBT");
  pic.SetBounds(300, 240, 80, 40);
  pic.SetColor(ui::Rgb(0, 128, 0));
  std::vector<std::string> events;
  pic.onMouseMove = [&](int x, int y) {
    events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  pic.onClick = [&] { events.push_back("click"); };
  auto& edt = form.Add<ui::Edit>("edtVPI");
  edt.SetBounds(20, 20, 150, 24);
  edt.onKeyPress = [](char& key) {
    if (key == 'a') key = '\0';
  };
  auto& med = form.Add<ui::MaskEdit>("medWANIP");
  med.SetBounds(20, 60, 150, 24);
  med.SetEditMask("999.999.999.999;1; ");
  auto& cbx = form.Add<ui::ComboBox>("cbxDSLCountry");
  cbx.SetBounds(20, 100, 150, 24);
  cbx.SetItems({"Austria", "Belgium", "AT&T land"});
  cbx.SetItemIndex(0);
  int changes = 0;
  cbx.onChange = [&] { ++changes; };
  auto& btn = form.Add<ui::Button>("btnOk");
  btn.SetBounds(200, 20, 100, 25);
  btn.SetCaption("&OK");
  int presses = 0;
  btn.onClick = [&] { ++presses; };
  form.Show();
  Settle();
  EXPECT_EQ(backend->WidgetText(cbx), "Austria");

  const int sx = form.left(), sy = form.top();
  auto moveClick = [&](int x, int y) {
    return "mousemove " + std::to_string(sx + x) + " " + std::to_string(sy + y) + " click 1 ";
  };
  ASSERT_TRUE(Xdotool(moveClick(310, 250)));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "move 310,250");
  EXPECT_EQ(std::count(events.begin(), events.end(), "click"), 1);

  ASSERT_TRUE(Xdotool(moveClick(60, 30) + "type --delay 40 '1a2b'"));
  EXPECT_EQ(edt.text(), "12b");  // the filter discarded the 'a'
  EXPECT_EQ(backend->WidgetText(edt), "12b");
  ASSERT_TRUE(Xdotool("key BackSpace"));
  EXPECT_EQ(edt.text(), "12");

  ASSERT_TRUE(Xdotool(moveClick(60, 70) + "type --delay 40 '10.0.0.138'"));
  EXPECT_EQ(med.text(), "10 .0  .0  .138");
  EXPECT_EQ(backend->WidgetText(med), "10 .0  .0  .138");

  // The drop-down list opens on a click; Down and Return pick the second row.
  ASSERT_TRUE(Xdotool(moveClick(60, 110) + "sleep 0.3 key Down Return"));
  EXPECT_EQ(cbx.itemIndex(), 1);
  EXPECT_EQ(changes, 1);
  // A program change shows on the widget and fires nothing.
  cbx.SetItemIndex(2);
  Settle();
  EXPECT_EQ(backend->WidgetText(cbx), "AT&&T land");
  EXPECT_EQ(changes, 1);
  edt.SetEnabled(false);
  ASSERT_TRUE(Xdotool(moveClick(60, 30) + "type x"));
  EXPECT_EQ(edt.text(), "12");

  // A button takes the click itself, and Return while it has the focus.
  ASSERT_TRUE(Xdotool(moveClick(250, 32) + "key Return"));
  EXPECT_EQ(presses, 2);
  btn.SetVisible(false);
  ASSERT_TRUE(Xdotool(moveClick(250, 32)));
  EXPECT_EQ(presses, 2);
}

TEST_F(FltkWindowTest, WaitOnUiThreadSwallowsInputAndHoldsTimers) {
  ui::Form form(*app, "TmainForm");
  form.SetBounds(100, 100, 200, 200);
  auto& pic = form.Add<ui::Panel>("imgQuickInstallBT");
  pic.SetBounds(0, 0, 200, 200);
  int clicks = 0;
  pic.onClick = [&] { ++clicks; };
  form.Show();
  Settle();
  ui::Timer timer(*app, "tmrProgress");
  int ticks = 0;
  timer.SetInterval(50);
  timer.onTimer = [&] { ++ticks; };
  timer.SetEnabled(true);

  std::thread clicker([] { (void)std::system("xdotool sleep 0.2 mousemove 150 150 click 1"); });
  app->Wait(1200);
  clicker.join();
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(Pump([&] { return ticks > 0; }, 2000));
  ASSERT_TRUE(Xdotool("mousemove 150 150 click 1"));
  EXPECT_EQ(clicks, 1);
}

TEST_F(FltkWindowTest, FirstFrameHookReportsAndExits) {
  // The hook ends the process, so it runs in a child: this binary in its --show-one-form mode.
  const std::string command = "QUILLON_EXIT_AFTER_FIRST_FRAME=1 /proc/" +
                              std::to_string(::getpid()) + "/exe --show-one-form";
  FILE* child = ::popen(command.c_str(), "r");
  ASSERT_NE(child, nullptr);
  char line[128] = {};
  const bool gotLine = std::fgets(line, sizeof line, child) != nullptr;
  const int status = ::pclose(child);
  ASSERT_TRUE(gotLine);
  int ms = -1;
  EXPECT_EQ(std::sscanf(line, "first-frame-ms %d", &ms), 1) << line;
  EXPECT_GE(ms, 0);
  EXPECT_LT(ms, 60000);
  EXPECT_EQ(status, 0);
}

// A form that never ends by itself: only the first-frame hook can end the process with 0.
int ShowOneForm() {
  ui::Application app(std::make_unique<ui::fltk::FltkBackend>());
  ui::Form form(app, "TmainForm");
  form.SetBounds(50, 50, 300, 200);
  form.Add<ui::Panel>("pnl").SetBounds(10, 10, 50, 50);
  form.Show();
  app.Run();
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--show-one-form") return ShowOneForm();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
