#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/color.h"
#include "ui/control.h"

namespace ui {

class Application;

enum ShiftBits : int { kShiftShift = 1, kShiftAlt = 2, kShiftCtrl = 4 };

// Virtual key codes as the page logic knows them.
enum KeyCode : int {
  kKeyBack = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyF1 = 112,
  kKeyF2 = 113,
  kKeyF10 = 121,
  kKeyF12 = 123,
};

// A borderless top-level window. It owns its controls; the order of `zOrder()` is the drawing
// order, last on top.
class Form {
 public:
  Form(Application& app, std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Application& app() const { return app_; }
  const std::string& name() const { return name_; }

  template <class T>
  T& Add(std::string name) {
    auto control = std::make_unique<T>(*this, std::move(name));
    T& ref = *control;
    Adopt(std::move(control));
    return ref;
  }
  Control* Find(const std::string& name) const;
  const std::vector<Control*>& zOrder() const { return zOrder_; }
  // The topmost visible and enabled control under the point, or none (a disabled control lets
  // the mouse through, as graphic controls do); the backends route mouse input by it.
  Control* ControlAt(int x, int y) const;

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string caption);
  int left() const { return left_; }
  int top() const { return top_; }
  // The outer size; for a borderless window it equals the client size.
  int width() const { return width_; }
  int height() const { return height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetSize(int width, int height);
  void SetClientSize(int width, int height) { SetSize(width, height); }
  int clientWidth() const { return width_; }
  int clientHeight() const { return height_; }
  // Centres the window on a screen of the backend's size (the headless screen is 1024 x 768).
  void CentreOnScreen(int screenWidth, int screenHeight);
  Color color() const { return color_; }
  void SetColor(Color c);
  // The main window is borderless; dialogs have a single-line border with a title bar and a
  // close box (which calls Close()).
  bool borderless() const { return borderless_; }
  void SetBorderless(bool v);

  bool visible() const { return visible_; }
  void Show();
  void Hide();
  // Shows the form and runs a nested loop until modalResult() is non-zero or the form is
  // hidden; returns the result (2, Cancel, when it was closed without one).
  int ShowModal();
  bool modal() const { return modal_; }
  int modalResult() const { return modalResult_; }
  void SetModalResult(int result);

  // Close box, Alt+F4 or the system's request to end: ends a modal loop with Cancel; a plain
  // form runs onClose when it has one and hides otherwise.
  void Close();

  // The dialog keys: Return and Space press the picture button the keyboard rests on; else
  // Return clicks defaultButton and Escape cancelButton, wherever the focus is in the form (a
  // focused native button takes Return itself); Escape closes a modal form that has no cancel
  // button. True when the key was taken.
  bool DialogKey(int key);

  // The keyboard's stops in layout order, rows top to bottom and each row by tab rank, then left
  // to right: the input controls that show and take input, and the picture buttons offered as
  // tab stops.
  std::vector<Control*> TabStops() const;
  // Tab (or Shift+Tab) from `from`, or from outside the stops when it is none. A picture button
  // becomes the key focus; an input control is returned for the backend to give it the focus.
  Control* MoveKeyFocus(const Control* from, bool backwards);
  // The picture button or link the keyboard rests on, while it is still offered; the backends
  // draw its hover picture, or a frame around it, as the focus mark.
  Control* keyFocus() const;
  // Rests the keyboard on a picture button, or on none when the focus went to an input control
  // or elsewhere.
  void SetKeyFocus(Control* button);
  Control* defaultButton = nullptr;
  Control* cancelButton = nullptr;
  // False while the form offers no button to the keyboard (a page busy with a check).
  virtual bool ButtonsOffered() const { return true; }

  std::function<void()> onShow;
  std::function<void()> onClose;
  std::function<void()> onPaint;  // before the backend draws; headless: on every show
  std::function<void(int key, int shift)> onKeyDown;

  // Input from the backends.
  void KeyDown(int key, int shift);
  void Paint();

  // Called by controls; tells the backend to repaint.
  void Changed();
  void BringToFront(Control& control);

 private:
  void Adopt(std::unique_ptr<Control> control);

  Application& app_;
  std::string name_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Control*> zOrder_;
  std::string caption_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Color color_ = kWhite;
  bool borderless_ = true;
  bool visible_ = false;
  bool modal_ = false;
  int modalResult_ = 0;
  Control* keyFocus_ = nullptr;
};

enum ModalResult : int { kMrNone = 0, kMrOk = 1, kMrCancel = 2 };

}  // namespace ui
