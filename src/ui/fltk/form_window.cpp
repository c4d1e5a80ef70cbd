#include "ui/fltk/form_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/ansi_text.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/fltk/input_widgets.h"
#include "ui/fltk/keys.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"

namespace ui::fltk {

namespace {

constexpr int kKeyF4 = 115;

}  // namespace

Fl_Cursor FltkCursor(Cursor c) {
  switch (c) {
    case Cursor::HourGlass:
      return FL_CURSOR_WAIT;
    case Cursor::HandPoint:
      return FL_CURSOR_HAND;
    default:
      return FL_CURSOR_DEFAULT;
  }
}

FormWindow::FormWindow(FltkBackend& backend, Form& form)
    : Fl_Double_Window(form.left(), form.top(), std::max(1, form.width()),
                       std::max(1, form.height())),
      backend_(backend),
      form_(&form) {
  end();
  // A borderless form is placed exactly where it says; border() must be set before show().
  border(form.borderless() ? 0 : 1);
  callback(OnClose);
  Sync();
}

FormWindow::~FormWindow() = default;

void FormWindow::Detach() {
  form_ = nullptr;
  pressed_ = nullptr;
  hide();
}

void FormWindow::OnClose(Fl_Widget* widget, void*) {
  auto* self = static_cast<FormWindow*>(widget);
  // Escape reaches a window as a shortcut that would close it; the form decides about keys.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  if (self->form_ != nullptr) self->form_->Close();
}

void FormWindow::MarkDirty() {
  dirty_ = true;
  // A paint handler that sets its texts must not start another paint.
  if (!painting_) redraw();
}

void FormWindow::Sync() {
  dirty_ = false;
  if (form_ == nullptr) return;
  const int w = std::max(1, form_->width()), h = std::max(1, form_->height());
  if (x() != form_->left() || y() != form_->top() || this->w() != w || this->h() != h)
    resize(form_->left(), form_->top(), w, h);
  const std::string title = AnsiToUtf8(form_->caption(), kAnsiCharset);
  if (title != title_) {
    title_ = title;
    label(title_.c_str());
  }
  for (Control* control : form_->zOrder()) {
    if (!IsInputKind(control->kind()) || widgets_.count(control) != 0) continue;
    SyncedWidget* widget = nullptr;
    begin();
    if (control->kind() == ControlKind::ComboBox)
      widget = new ComboWidget(static_cast<ComboBox&>(*control));
    else if (control->kind() == ControlKind::Button)
      widget = new ButtonWidget(static_cast<Button&>(*control));
    else
      widget = new EditWidget(backend_, static_cast<Edit&>(*control));
    end();
    widgets_[control] = widget;
  }
  for (auto& [control, widget] : widgets_) widget->Sync();
  images_.Prune();
}

SyncedWidget* FormWindow::WidgetFor(const Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormWindow::draw() {
  if (form_ == nullptr) {
    fl_rectf(0, 0, w(), h(), FL_WHITE);
    return;
  }
  painting_ = true;
  form_->Paint();
  painting_ = false;
  if (dirty_) Sync();
  const Color back = form_->color();
  fl_rectf(0, 0, w(), h(), RedOf(back), GreenOf(back), BlueOf(back));
  for (const Control* control : form_->zOrder()) {
    if (!control->visible()) continue;
    switch (control->kind()) {
      case ControlKind::Image:
        DrawImage(static_cast<const Image&>(*control), images_);
        break;
      case ControlKind::Panel:
        DrawPanel(static_cast<const Panel&>(*control));
        break;
      case ControlKind::Label:
        DrawLabel(static_cast<const Label&>(*control));
        break;
      case ControlKind::ProgressBar:
        DrawProgressBar(static_cast<const ProgressBar&>(*control));
        break;
      default:
        if (SyncedWidget* widget = WidgetFor(*control)) draw_child(widget->widget());
    }
  }
  // The picture button the keyboard rests on shows on top, as under the mouse: the skin's mark.
  // A stop without a fitting picture (a link, Exit, a damaged picture) shows a frame instead.
  const Control* focused = form_->keyFocus();
  if (focused == nullptr) return;
  const bool image = focused->kind() == ControlKind::Image;
  if (image && !focused->focusFramed() && static_cast<const Image&>(*focused).picture())
    DrawImage(static_cast<const Image&>(*focused), images_);
  else
    DrawFocusFrame(*focused);
}

void FormWindow::flush() {
  Fl_Double_Window::flush();
  backend_.FramePresented();
}

bool FormWindow::FocusIsOnInput() const {
  const Fl_Widget* focus = Fl::focus();
  return focus != nullptr && focus != this && focus->inside(this);
}

int FormWindow::HandleMouse(int event) {
  const int x = Fl::event_x(), y = Fl::event_y();
  // FLTK folds pointer motion together and may deliver it after a press; the page logic relies
  // on the hover that reveals a picture coming before the click on it.
  if (event == FL_PUSH && (x != lastMoveX_ || y != lastMoveY_)) HandleMouse(FL_MOVE);
  if (form_ == nullptr) return 1;
  if (event != FL_PUSH && event != FL_RELEASE) {
    lastMoveX_ = x;
    lastMoveY_ = y;
  }
  Control* control = form_->ControlAt(x, y);
  if (event == FL_RELEASE) {
    Control* pressed = pressed_;
    pressed_ = nullptr;
    if (pressed == nullptr) return Fl_Double_Window::handle(event);
    if (control == pressed) pressed->Click();
    return 1;
  }
  // Over an input control the widget takes the mouse itself.
  if (control != nullptr && IsInputKind(control->kind())) {
    if (event == FL_PUSH) form_->SetKeyFocus(nullptr);
    return Fl_Double_Window::handle(event);
  }
  if (event == FL_PUSH) {
    form_->SetKeyFocus(nullptr);
    pressed_ = control;
    return 1;
  }
  Fl::belowmouse(this);
  if (control != nullptr) control->MouseMove(x, y);
  return 1;
}

int FormWindow::HandleKey(int event) {
  const int key = VirtualKey(Fl::event_key());
  const int shift = ShiftState(Fl::event_state());
  // Alt+F4 closes the window wherever the focus is: a list or an edit field has no use for it.
  if (key == kKeyF4 && (shift & kShiftAlt) != 0) {
    form_->Close();
    return 1;
  }
  if (key == kKeyTab && (shift & (kShiftAlt | kShiftCtrl)) == 0) {
    MoveFocus((shift & kShiftShift) != 0);
    return 1;
  }
  const bool onInput = FocusIsOnInput();
  if (onInput) form_->SetKeyFocus(nullptr);
  // Return and Escape reach here from an edit field too, which has no use for them.
  if ((key == kKeyReturn || key == kKeyEscape || (key == kKeySpace && !onInput)) &&
      form_->DialogKey(key))
    return 1;
  if (onInput) return Fl_Double_Window::handle(event);
  if (key == 0) return 0;
  form_->KeyDown(key, shift);
  return 1;
}

void FormWindow::MoveFocus(bool backwards) {
  const Control* from = form_->keyFocus();
  for (const auto& [control, widget] : widgets_)
    if (from == nullptr && Fl::focus() != nullptr && Fl::focus()->inside(&widget->widget()))
      from = control;
  // A widget that refuses the focus (a list without items) is passed over.
  for (std::size_t tries = form_->TabStops().size(); tries > 0; --tries) {
    Control* next = form_->MoveKeyFocus(from, backwards);
    if (next == nullptr) return;
    SyncedWidget* widget = WidgetFor(*next);
    if (widget == nullptr) {
      Fl::focus(this);
      return;
    }
    if (widget->widget().take_focus() != 0) return;
    from = next;
  }
}

int FormWindow::handle(int event) {
  if (form_ == nullptr) return Fl_Double_Window::handle(event);
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
    case FL_DRAG:
    case FL_PUSH:
    case FL_RELEASE:
      return HandleMouse(event);
    case FL_KEYBOARD:
    case FL_SHORTCUT:
      return HandleKey(event);
    case FL_FOCUS:
      Fl_Double_Window::handle(event);
      return 1;
    default:
      return Fl_Double_Window::handle(event);
  }
}

}  // namespace ui::fltk
