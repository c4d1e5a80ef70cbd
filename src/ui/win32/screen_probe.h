#pragma once

#include <memory>
#include <string>

#include "ui/color.h"

namespace ui {
class Backend;
class Control;
class Form;
}  // namespace ui

namespace ui::win32 {

class Win32Backend;

// For tests: reads back what the screen shows of a form and gives input the way the system
// gives it (window messages to the native windows), so a test runs the same paths as a user.
// Built on the Windows backend only; everything is called on the UI thread.
class ScreenProbe {
 public:
  // `backend` must be the Windows screen backend.
  explicit ScreenProbe(Backend& backend);
  ~ScreenProbe();
  ScreenProbe(const ScreenProbe&) = delete;
  ScreenProbe& operator=(const ScreenProbe&) = delete;

  bool HasWindow(const Form& form) const;
  bool WindowVisible(const Form& form) const;
  bool WindowEnabled(const Form& form) const;
  // The form's client pixel, after the pending changes were painted.
  Color PixelAt(const Form& form, int x, int y) const;

  bool HasNative(const Control& control) const;
  bool NativeVisible(const Control& control) const;
  std::string NativeText(const Control& control) const;  // UTF-8
  int PasswordChar(const Control& edit) const;
  int ProgressPosition(const Control& bar) const;
  int ComboCount(const Control& combo) const;
  int ComboSelection(const Control& combo) const;

  void TypeChar(const Control& edit, char32_t c) const;
  void PickRow(const Control& combo, int row) const;
  void ClickButton(const Control& button) const;
  // Pointer to the point, then a left click there, in form client coordinates.
  void ClickAt(const Form& form, int x, int y) const;
  void KeyDown(const Form& form, int virtualKey) const;
  // The next system message box this process shows is answered with the button of this code
  // (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore) by a helper thread.
  void AnswerNextMessageBox(int code);

 private:
  struct Answerer;
  Win32Backend& backend_;
  std::unique_ptr<Answerer> answerer_;
};

}  // namespace ui::win32
