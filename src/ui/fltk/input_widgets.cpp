#include "ui/fltk/input_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <cstring>

#include "ui/ansi_text.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/fltk/fltk_backend.h"
#include "ui/fltk/form_window.h"
#include "ui/fltk/keys.h"

namespace ui::fltk {

namespace {

constexpr int kClassicInputHeight = 21;
constexpr int kClassicButtonHeight = 25;
constexpr int kTextSize = 12;  // 9 points at 96 dpi

// Menu labels are drawn with FLTK's '&' shortcuts and '@' symbols; the list shows them plainly.
std::string EscapeMenuLabel(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '&' || c == '@') out.push_back(c);
    out.push_back(c);
  }
  return out;
}

}  // namespace

void SyncCommon(Fl_Widget& widget, const Control& control) {
  const int h = control.height() > 0 ? control.height() : kClassicInputHeight;
  const int w = control.width() > 0 ? control.width() : 1;
  if (widget.x() != control.left() || widget.y() != control.top() || widget.w() != w ||
      widget.h() != h)
    widget.resize(control.left(), control.top(), w, h);
  if (control.visible() && !widget.visible())
    widget.show();
  else if (!control.visible() && widget.visible())
    widget.hide();
  if (control.enabled() && !widget.active())
    widget.activate();
  else if (!control.enabled() && widget.active())
    widget.deactivate();
}

ComboWidget::ComboWidget(ComboBox& model)
    : Fl_Choice(model.left(), model.top(), 1, kClassicInputHeight), model_(model) {
  textsize(kTextSize);
  callback(OnPick);
  when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
  Sync();
}

void ComboWidget::Sync() {
  SyncCommon(*this, model_);
  if (shownItems_ != model_.items() || shownCharset_ != model_.fontCharset()) {
    shownItems_ = model_.items();
    shownCharset_ = model_.fontCharset();
    labels_.clear();
    for (const auto& item : shownItems_)
      labels_.push_back(EscapeMenuLabel(AnsiToUtf8(item, shownCharset_)));
    menu_.assign(labels_.size() + 1, Fl_Menu_Item{});
    for (std::size_t i = 0; i < labels_.size(); ++i) {
      menu_[i].text = labels_[i].c_str();
      menu_[i].labelsize_ = kTextSize;
    }
    // FLTK draws from our array directly; it stays alive and unchanged until the next rebuild.
    menu(menu_.data());
  }
  const int index = model_.itemIndex();
  if (index != value()) {
    if (index < 0)
      Fl_Menu_::value(static_cast<const Fl_Menu_Item*>(nullptr));
    else
      value(index);
    redraw();
  }
}

std::string ComboWidget::Text() const {
  const Fl_Menu_Item* item = mvalue();
  return item != nullptr && item->text != nullptr ? item->text : "";
}

void ComboWidget::OnPick(Fl_Widget* widget, void*) {
  auto* self = static_cast<ComboWidget*>(widget);
  self->Pick(self->value());
}

void ComboWidget::Pick(int index) {
  model_.UserSelect(index);
  Sync();
}

int ComboWidget::handle(int event) {
  switch (event) {
    case FL_KEYBOARD: {
      const int key = Fl::event_key();
      if (key != FL_Up && key != FL_Down) break;
      const int index = model_.itemIndex() + (key == FL_Down ? 1 : -1);
      if (index >= 0 && index < static_cast<int>(model_.items().size())) Pick(index);
      return 1;
    }
    case FL_KEYUP:
      if (Fl::focus() == this) model_.UserKeyUp(VirtualKey(Fl::event_key()));
      return 1;
    case FL_UNFOCUS: {
      const int handled = Fl_Choice::handle(event);
      model_.UserExit();
      return handled;
    }
    default:
      break;
  }
  return Fl_Choice::handle(event);
}

EditWidget::EditWidget(FltkBackend& backend, Edit& model)
    : Fl_Input(model.left(), model.top(), 1, kClassicInputHeight),
      backend_(backend),
      model_(model) {
  textsize(kTextSize);
  Sync();
}

void EditWidget::Sync() {
  SyncCommon(*this, model_);
  const int wantType = model_.passwordChar() != '\0' ? FL_SECRET_INPUT : FL_NORMAL_INPUT;
  if (input_type() != wantType) {
    input_type(wantType);
    redraw();
  }
  readonly(model_.readOnly() ? 1 : 0);
  const std::string shown = AnsiToUtf8(model_.text(), model_.fontCharset());
  if (shown != value()) value(shown.c_str(), static_cast<int>(shown.size()));
  const int caret = ShownOffset(model_.caret()), anchor = ShownOffset(model_.anchor());
  if (position() != caret || mark() != anchor) position(caret, anchor);
}

int EditWidget::ShownOffset(std::size_t modelOffset) const {
  const std::string& text = model_.text();
  return static_cast<int>(
      AnsiToUtf8(text.substr(0, std::min(modelOffset, text.size())), model_.fontCharset()).size());
}

std::size_t EditWidget::ModelOffset(int shownOffset) const {
  const std::string shown = value();
  const auto n = std::min(static_cast<std::size_t>(std::max(0, shownOffset)), shown.size());
  return Utf8ToAnsi(shown.substr(0, n), model_.fontCharset()).size();
}

void EditWidget::Type(const char* utf8, int length) {
  const std::string ansi = Utf8ToAnsi(std::string(utf8, length), model_.fontCharset());
  for (char c : ansi) model_.UserKey(c);
  Sync();
}

int EditWidget::HandleKey() {
  const int key = Fl::event_key();
  const bool shift = Fl::event_state(FL_SHIFT) != 0;
  if (Fl::event_state(FL_CTRL) && key != FL_Insert) {
    switch (key) {
      case 'v':
        Fl::paste(*this, 1);
        break;
      case 'c':
        Copy();
        break;
      case 'x':
        Copy(model_.UserCut());
        break;
      case 'a':
        model_.UserSelectAll();
        break;
      default:
        break;  // undo and the like would edit behind the model
    }
    Sync();
    return 1;
  }
  switch (key) {
    case FL_BackSpace:
      model_.UserKey('\b');
      Sync();
      return 1;
    case FL_Enter:
    case FL_KP_Enter:
    case FL_Escape:
      model_.UserKey(key == FL_Escape ? '\x1b' : '\r');
      Sync();
      return 0;  // the window may still want it: a dialog's OK or Cancel
    case FL_Tab:
      return 0;  // focus navigation
    case FL_Left:
    case FL_Right:
    case FL_Home:
    case FL_End:
      model_.UserMoveCaret(key == FL_Left    ? Edit::CaretMove::Left
                           : key == FL_Right ? Edit::CaretMove::Right
                           : key == FL_Home  ? Edit::CaretMove::Home
                                             : Edit::CaretMove::End,
                           shift);
      Sync();
      return 1;
    case FL_Delete:
      // Shift+Delete cuts, as in the system's edits.
      if (shift)
        Copy(model_.UserCut());
      else
        model_.UserDelete();
      Sync();
      return 1;
    case FL_Insert:
      // Ctrl+Insert copies and Shift+Insert pastes; Insert alone has no overwrite mode here.
      if (Fl::event_state(FL_CTRL))
        Copy();
      else if (shift)
        Fl::paste(*this, 1);
      return 1;
    default:
      break;
  }
  if (Fl::event_length() > 0 && static_cast<unsigned char>(Fl::event_text()[0]) >= 0x20) {
    Type(Fl::event_text(), Fl::event_length());
    return 1;
  }
  // Other keys (F-keys, Alt combinations) go on to the window, which ignores them while an edit
  // has the focus.
  return 0;
}

void EditWidget::Copy() {
  Copy(model_.selectedText());
}

void EditWidget::Copy(const std::string& ansi) {
  if (ansi.empty()) return;
  const std::string utf8 = AnsiToUtf8(ansi, model_.fontCharset());
  Fl::copy(utf8.c_str(), static_cast<int>(utf8.size()), 1);
}

int EditWidget::handle(int event) {
  switch (event) {
    case FL_KEYBOARD:
      return HandleKey();
    case FL_PASTE:
      Type(Fl::event_text(), Fl::event_length());
      return 1;
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      return 0;
    case FL_RELEASE: {
      const int handled = Fl_Input::handle(event);
      // Where the mouse put the caret (or what it selected) is the model's from now on; in an
      // address field typing still fills the digits from where the keys left the caret.
      if (model_.kind() != ControlKind::MaskEdit)
        model_.UserSelect(ModelOffset(mark()), ModelOffset(position()));
      if (Fl::event_inside(this)) model_.Click();
      Sync();
      return handled;
    }
    case FL_LEAVE: {
      const int handled = Fl_Input::handle(event);
      // The edit's own text cursor must not outlive the pointer's visit.
      if (Fl_Window* win = window()) win->cursor(FltkCursor(backend_.cursor()));
      return handled;
    }
    default:
      return Fl_Input::handle(event);
  }
}

ButtonWidget::ButtonWidget(Button& model)
    : Fl_Button(model.left(), model.top(), 1, kClassicButtonHeight), model_(model) {
  callback(OnPress);
  Sync();
}

void ButtonWidget::Sync() {
  SyncCommon(*this, model_);
  if (model_.height() <= 0 && h() != kClassicButtonHeight) size(w(), kClassicButtonHeight);
  // FLTK, like the classic buttons, underlines the letter after '&' and shows "&&" as '&'.
  const std::string caption = AnsiToUtf8(model_.caption(), model_.fontCharset());
  if (caption != caption_) {
    caption_ = caption;
    label(caption_.c_str());
  }
  labelfont(model_.bold() ? FL_HELVETICA_BOLD : FL_HELVETICA);
  labelsize(kTextSize);
}

void ButtonWidget::OnPress(Fl_Widget* widget, void*) {
  auto* self = static_cast<ButtonWidget*>(widget);
  self->model_.Click();
}

int ButtonWidget::handle(int event) {
  if (event == FL_KEYBOARD && Fl::focus() == this &&
      (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
    model_.Click();
    return 1;
  }
  return Fl_Button::handle(event);
}

}  // namespace ui::fltk
