#pragma once

#include <FL/Enumerations.H>
#include <FL/Fl_Double_Window.H>

#include <map>
#include <string>

#include "ui/color.h"
#include "ui/fltk/draw_controls.h"

namespace ui {
class Control;
class Form;
}  // namespace ui

namespace ui::fltk {

class FltkBackend;
class SyncedWidget;

Fl_Cursor FltkCursor(Cursor cursor);

// The window of one form. It paints the model itself, in z-order, with the input controls'
// widgets drawn at their places in that order; mouse input over the painted controls goes to
// Form::ControlAt, keys to Form::KeyDown while no input widget has the focus; Tab moves the
// focus in the form's order, across painted picture buttons and input widgets alike.
class FormWindow : public Fl_Double_Window {
 public:
  FormWindow(FltkBackend& backend, Form& form);
  ~FormWindow() override;

  // The form is being destroyed: from now on the window shows and forwards nothing.
  void Detach();
  // The model changed: repaint now, bring the widgets in line before the loop next waits.
  void MarkDirty();
  bool dirty() const { return dirty_; }
  void Sync();
  SyncedWidget* WidgetFor(const Control& control) const;

  void draw() override;
  int handle(int event) override;
  void flush() override;

 private:
  int HandleMouse(int event);
  int HandleKey(int event);
  // Tab and Shift+Tab, in the form's layout order across picture buttons and input widgets.
  void MoveFocus(bool backwards);
  bool FocusIsOnInput() const;
  static void OnClose(Fl_Widget* widget, void*);

  FltkBackend& backend_;
  Form* form_;
  PictureImages images_;
  std::map<const Control*, SyncedWidget*> widgets_;  // children of this window
  Control* pressed_ = nullptr;
  int lastMoveX_ = -1, lastMoveY_ = -1;
  bool painting_ = false;
  bool dirty_ = true;
  std::string title_;
};

}  // namespace ui::fltk
