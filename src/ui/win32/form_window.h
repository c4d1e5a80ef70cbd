#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/paint_controls.h"
#include "ui/win32/win32_api.h"

namespace ui {
class Control;
class Form;
}  // namespace ui

namespace ui::win32 {

class NativeControl;
class Win32Backend;

// Registers the window class of the forms; once per process.
void RegisterFormClass();

// The top-level window of one form: a borderless popup for the main window, a captioned one for
// the dialogs. It paints the model itself in z-order (pictures, panels such as the red frame,
// labels) with the input controls as native children on top; mouse input over the painted
// controls goes to Form::ControlAt, keys to Form::KeyDown while no input control has the focus.
class FormWindow {
 public:
  FormWindow(Win32Backend& backend, Form& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  Win32Backend& backend() const { return backend_; }
  // The form is being destroyed: the window goes, and shows and forwards nothing from now on.
  void Detach();
  // The model changed: repaint, and bring the native controls in line before the loop waits.
  void MarkDirty();
  bool dirty() const { return dirty_; }
  void Sync();
  void Show(HWND owner);
  void Hide();
  // Gives the keyboard to the form's first input control in tab order (a page's first field, a
  // dialog's field or its first button), or to the window itself when it has none.
  void StartKeyboard();
  NativeControl* NativeFor(const Control& control) const;

  // Called by the native controls.
  // A native control took the focus: the keyboard no longer rests on a picture button.
  void NoteFocus(HWND child);
  // Tab and Shift+Tab from `from` (none: from outside the stops), in the form's layout order
  // across picture buttons and native controls alike.
  void FocusNext(const Control* from, bool backwards);
  // Return and Escape from a control that does not use them: the form's dialog keys. The
  // character message after a taken key is swallowed too, so the control does not beep.
  bool DialogKey(UINT msg, WPARAM key);

 private:
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint();
  void PaintModel(HDC dc);
  void HandleMouse(UINT msg, int x, int y);
  void HandleKey(WPARAM key);
  bool SetCursorShape(HWND under);
  void SyncFrame();
  void SyncChildren();
  void ReleaseBackBuffer();

  Win32Backend& backend_;
  Form* form_;
  HWND hwnd_ = nullptr;
  PictureBitmaps bitmaps_;
  std::map<const Control*, std::unique_ptr<NativeControl>> natives_;
  std::vector<HWND> childOrder_;   // the native children in the model's z-order, as last applied
  std::vector<HWND> inputsShown_;  // the input controls that take the keyboard, as last applied
  HWND lastFocus_ = nullptr;
  Control* pressed_ = nullptr;
  int lastMoveX_ = -1, lastMoveY_ = -1;
  bool painting_ = false;
  bool dialogKeyTaken_ = false;
  bool dirty_ = true;
  bool borderless_ = true;
  std::string caption_;
  bool captionSet_ = false;
  HDC backDc_ = nullptr;  // the back buffer a frame is painted in before it is copied
  HBITMAP backBitmap_ = nullptr;
  HGDIOBJ backOld_ = nullptr;
  int backW_ = 0, backH_ = 0;
};

}  // namespace ui::win32
