// The object model's event rules, the text controls and the z-order, driven as a user would.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/headless/headless_backend.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/mask_edit.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"

namespace {

using ui::headless::Headless;

class ControlsTest : public ::testing::Test {
 protected:
  std::unique_ptr<ui::Application> app = ui::headless::MakeHeadlessApplication();
  ui::Form form{*app, "frmTest"};
};

struct InputCase {
  const char* name;
  bool visible;
  bool enabled;
  bool fires;
};

TEST_F(ControlsTest, InputFiresOnlyOnVisibleEnabledControls) {
  const InputCase cases[] = {
      {"shown and enabled", true, true, true},
      {"hidden", false, true, false},
      {"disabled", true, false, false},
      {"hidden and disabled", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui::Form f(*app, "f");
    int events = 0;
    auto& img = f.Add<ui::Image>("img");
    auto& cbx = f.Add<ui::ComboBox>("cbx");
    auto& edt = f.Add<ui::Edit>("edt");
    auto& btn = f.Add<ui::Button>("btnOk");
    btn.onClick = [&] { ++events; };
    img.onClick = [&] { ++events; };
    img.onMouseMove = [&](int, int) { ++events; };
    cbx.SetItems({"a", "b"});
    cbx.onChange = [&] { ++events; };
    cbx.onKeyUp = [&](int) { ++events; };
    cbx.onExit = [&] { ++events; };
    edt.onKeyPress = [&](char&) { ++events; };
    for (ui::Control* control : f.zOrder()) {
      control->SetVisible(c.visible);
      control->SetEnabled(c.enabled);
    }
    img.Click();
    img.MouseMove(1, 1);
    cbx.UserSelect(1);
    cbx.UserKeyUp(40);
    cbx.UserExit();
    edt.UserKey('x');
    btn.Click();
    EXPECT_EQ(events, c.fires ? 7 : 0);
    EXPECT_EQ(cbx.itemIndex(), c.fires ? 1 : -1);
    EXPECT_EQ(edt.text(), c.fires ? "x" : "");
  }
}

TEST_F(ControlsTest, ProgramChangesToComboFireNothing) {
  auto& cbx = form.Add<ui::ComboBox>("cbxCountry");
  int changes = 0;
  cbx.onChange = [&] { ++changes; };
  cbx.SetItems({"Austria", "Belgium", "Czech"});
  cbx.SetItemIndex(2);
  cbx.AddItem("Denmark");
  cbx.SetItemIndex(7);  // out of range selects nothing
  EXPECT_EQ(cbx.itemIndex(), -1);
  EXPECT_EQ(cbx.text(), "");
  cbx.Clear();
  cbx.SetItems({"x", "y"});
  EXPECT_EQ(changes, 0);

  cbx.UserSelect(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(cbx.text(), "y");
  cbx.UserSelect(1);  // the same row again is no change
  cbx.UserSelect(5);  // no such row
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, EditKeyFilterAndMaxLength) {
  auto& edt = form.Add<ui::Edit>("edtVPI");
  int changes = 0;
  edt.onChange = [&] { ++changes; };
  // Digits only, lower case letters become upper case, backspace passes.
  edt.onKeyPress = [](char& key) {
    if (key >= 'a' && key <= 'z')
      key = static_cast<char>(key - 'a' + 'A');
    else if ((key < '0' || key > '9') && key != '\b' && (key < 'A' || key > 'Z'))
      key = '\0';
  };
  edt.SetMaxLength(4);
  edt.UserType("1-2a.3b4");
  EXPECT_EQ(edt.text(), "12A3");  // '-' and '.' discarded, 'b' and '4' do not fit
  EXPECT_EQ(changes, 4);
  edt.UserKey('\b');
  EXPECT_EQ(edt.text(), "12A");
  edt.UserKey('\r');  // reaches the filter only
  EXPECT_EQ(edt.text(), "12A");
  edt.SetReadOnly(true);
  edt.UserKey('9');
  EXPECT_EQ(edt.text(), "12A");
  EXPECT_EQ(changes, 5);
  edt.SetText("abcdefgh");  // the program is not limited
  EXPECT_EQ(edt.text(), "abcdefgh");
  EXPECT_EQ(changes, 5);
}

TEST_F(ControlsTest, EditAcceptsEightBitCharacters) {
  auto& edt = form.Add<ui::Edit>("edtSSID");
  edt.UserType("caf\xE9");
  EXPECT_EQ(edt.text(), "caf\xE9");
}

TEST_F(ControlsTest, FilterExceptionIsShownAndTypingGoesOn) {
  auto& edt = form.Add<ui::Edit>("edt");
  edt.onKeyPress = [](char& key) {
    if (key == '!') throw std::runtime_error("bad key");
  };
  edt.UserType("a!b");
  EXPECT_EQ(edt.text(), "a!b");  // the throwing filter changed nothing
  ASSERT_EQ(Headless(*app).messageBoxes().size(), 1u);
  EXPECT_EQ(Headless(*app).messageBoxes()[0].text, "bad key");
}

struct MaskCase {
  const char* typed;
  const char* expected;
};

TEST_F(ControlsTest, MaskEditTyping) {
  const MaskCase cases[] = {
      {"", "   .   .   .   "},
      {"192168001001", "192.168.001.001"},
      {"192.168.1.1", "192.168.1  .1  "},
      {"10.0.0.138", "10 .0  .0  .138"},
      {"1x2", "12 .   .   .   "},               // a letter is discarded
      {"1234567890123456", "123.456.789.012"},  // extra digits find no place
      {"12\b3", "13 .   .   .   "},
      {"1.\b\b5", "15 .   .   .   "},
      {"..7", "   .   .7  .   "},
      {"\b\b", "   .   .   .   "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    auto& med = form.Add<ui::MaskEdit>("medWANIP");
    med.SetEditMask("999.999.999.999;1; ");
    med.UserType(c.typed);
    EXPECT_EQ(med.text(), c.expected);
  }
}

TEST_F(ControlsTest, MaskEditProgramValues) {
  auto& med = form.Add<ui::MaskEdit>("medGateway");
  med.SetEditMask("999.999.999.999;1; ");
  EXPECT_EQ(med.editMask(), "999.999.999.999;1; ");
  med.SetText("192.168.  1.  1");
  EXPECT_EQ(med.text(), "192.168.  1.  1");
  EXPECT_EQ(med.TextWithoutBlanks(), "192.168.1.1");
  med.SetText("192.168.1.254");
  EXPECT_EQ(med.text(), "192.168.1  .254");
  med.SetMaskedText("1a2.b.3");
  EXPECT_EQ(med.text(), "1 2.   .3  .   ");
  med.SetText("");
  EXPECT_EQ(med.text(), "   .   .   .   ");
  EXPECT_EQ(med.TextWithoutBlanks(), "...");
  // After the program's change the caret is at the start again.
  med.SetText("255.255.255.0");
  med.UserType("10");
  EXPECT_EQ(med.text(), "105.255.255.0  ");
}

TEST_F(ControlsTest, MaskEditBlankCharacterAndLiteralEscape) {
  auto& med = form.Add<ui::MaskEdit>("med");
  med.SetEditMask("\\(999\\)00;1;_");
  EXPECT_EQ(med.text(), "(___)__");
  med.UserType("12)34");
  EXPECT_EQ(med.text(), "(12_)34");
}

// The editing keys as a user presses them: L, R, H and E are Left, Right, Home and End, a
// capital after '+' holds Shift, D is Delete, X cuts, and any other character is typed.
std::string Keyed(ui::Edit& edit, const std::string& keys) {
  std::string cut;
  using Move = ui::Edit::CaretMove;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const bool shift = keys[i] == '+' && i + 1 < keys.size();
    const char k = shift ? keys[++i] : keys[i];
    if (k == 'L' || k == 'R' || k == 'H' || k == 'E')
      edit.UserMoveCaret(k == 'L'   ? Move::Left
                         : k == 'R' ? Move::Right
                         : k == 'H' ? Move::Home
                                    : Move::End,
                         shift);
    else if (k == 'D')
      edit.UserDelete();
    else if (k == 'X')
      cut += edit.UserCut();
    else
      edit.UserKey(k);
  }
  return cut;
}

TEST_F(ControlsTest, EditingKeysMoveTheCaretAndKeepTheMask) {
  const struct {
    const char* mask;  // none: a plain edit
    const char* keys;
    const char* expected;
    const char* cut;
  } cases[] = {
      {nullptr, "exmpleLLLLa", "example", ""},
      {nullptr, "abcdHDE\bz", "bcz", ""},
      {nullptr, "hello+L+LX", "hel", "lo"},
      {nullptr, "hello+H+RLy", "hyello", ""},  // Left without Shift ends the selection
      {nullptr, "abc+HQ", "Q", ""},
      {"999.999.999.999;1; ", "192168LLLLLL7", "172.168.   .   ", ""},
      {"999.999.999.999;1; ", "1921681HD", " 92.168.1  .   ", ""},
      {"999.999.999.999;1; ", "192168H+R+R+R+R+RX5", "5  . 68.   .   ", "192.1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    ui::Edit* edit = &form.Add<ui::Edit>("edt");
    if (c.mask != nullptr) {
      auto& med = form.Add<ui::MaskEdit>("med");
      med.SetEditMask(c.mask);
      edit = &med;
    }
    EXPECT_EQ(Keyed(*edit, c.keys), c.cut);
    EXPECT_EQ(edit->text(), c.expected);
  }
  auto& secret = form.Add<ui::Edit>("edtPassword");
  secret.SetPasswordChar('*');
  EXPECT_EQ(Keyed(secret, "pass+HX"), "");  // nothing leaves a password field
  EXPECT_EQ(secret.text(), "pass");
}

TEST_F(ControlsTest, ProgressBarRangeAndStep) {
  auto& pbr = form.Add<ui::ProgressBar>("pbrCheckHWLink");
  pbr.SetRange(0, 200);
  pbr.SetStep(10);
  for (int i = 0; i < 20; ++i) pbr.StepIt();
  EXPECT_EQ(pbr.position(), 200);
  pbr.StepIt();  // past the end: starts over
  EXPECT_EQ(pbr.position(), 0);
  pbr.SetPosition(500);
  EXPECT_EQ(pbr.position(), 200);
  pbr.SetPosition(-5);
  EXPECT_EQ(pbr.position(), 0);
  pbr.SetPosition(150);
  pbr.SetRange(0, 100);  // a shrinking range pulls the position in
  EXPECT_EQ(pbr.position(), 100);
  pbr.SetStep(-30);
  pbr.SetPosition(20);
  pbr.StepIt();
  EXPECT_EQ(pbr.position(), 0);
}

TEST_F(ControlsTest, ZOrderDecidesControlAt) {
  auto& bg = form.Add<ui::Image>("imgBG");
  auto& next = form.Add<ui::Image>("imgNextBT");
  auto& frame = form.Add<ui::Panel>("hPanel");
  bg.SetBounds(0, 0, 722, 482);
  next.SetBounds(600, 430, 80, 30);
  frame.SetBounds(598, 428, 84, 34);
  EXPECT_EQ(form.ControlAt(610, 440), &frame);
  next.BringToFront();
  EXPECT_EQ(form.ControlAt(610, 440), &next);
  EXPECT_EQ(form.zOrder().back(), &next);
  EXPECT_EQ(form.ControlAt(680, 460), &next);  // right and bottom edges count as inside
  EXPECT_EQ(form.ControlAt(681, 460), &frame);
  EXPECT_EQ(form.ControlAt(10, 10), &bg);
  next.Hide();
  EXPECT_EQ(form.ControlAt(610, 440), &frame);
  frame.SetEnabled(false);  // a disabled control lets the mouse through
  EXPECT_EQ(form.ControlAt(610, 440), &bg);
  EXPECT_EQ(form.ControlAt(800, 10), nullptr);
  EXPECT_EQ(form.Find("hPanel"), &frame);
  EXPECT_EQ(form.Find("nothing"), nullptr);
}

TEST_F(ControlsTest, ClickAtRoutesHoverThenClick) {
  auto& bg = form.Add<ui::Image>("imgBG");
  auto& next = form.Add<ui::Image>("imgNextBT");
  bg.SetBounds(0, 0, 722, 482);
  next.SetBounds(600, 430, 80, 30);
  next.Hide();
  int nextClicks = 0;
  // The background's hover handler reveals the picture, which then takes the click.
  bg.onMouseMove = [&](int x, int y) { next.SetVisible(next.Contains(x, y)); };
  next.onClick = [&] { ++nextClicks; };
  form.Show();
  Headless(*app).ClickAt(form, 620, 440);
  EXPECT_EQ(nextClicks, 1);
  Headless(*app).ClickAt(form, 20, 20);
  EXPECT_FALSE(next.visible());
  EXPECT_EQ(nextClicks, 1);
  form.Hide();
  Headless(*app).ClickAt(form, 620, 440);  // a hidden window takes no input
  EXPECT_EQ(nextClicks, 1);
}

TEST_F(ControlsTest, ChangesReachTheBackendOnlyWhenSomethingChanged) {
  auto& lbl = form.Add<ui::Label>("lblSSID");
  auto& backend = Headless(*app);
  const int before = backend.changeCount(form);
  lbl.SetCaption("net");
  lbl.SetCaption("net");
  lbl.SetBounds(1, 2, 3, 4);
  lbl.SetBounds(1, 2, 3, 4);
  lbl.SetFontCharset(204);
  lbl.BringToFront();  // already on top
  EXPECT_EQ(backend.changeCount(form), before + 3);
}

}  // namespace
