// The FLTK backend's window services: one FormWindow per form, kept in line with the model.
#include <FL/Fl.H>

#include "ui/fltk/fltk_backend.h"
#include "ui/fltk/form_window.h"
#include "ui/fltk/input_widgets.h"
#include "ui/form.h"

namespace ui::fltk {

void FltkBackend::FormShown(Form& form) {
  FormWindow*& window = windows_[&form];
  if (window == nullptr) window = new FormWindow(*this, form);
  window->Sync();
  window->border(form.borderless() ? 0 : 1);
  // The modal state must be set before show(): FLTK reads it when it maps the window.
  if (form.modal())
    window->set_modal();
  else
    window->clear_modal_states();
  window->cursor(FltkCursor(cursor_));
  window->show();
}

void FltkBackend::FormHidden(Form& form) {
  auto it = windows_.find(&form);
  if (it != windows_.end()) it->second->hide();
}

void FltkBackend::FormChanged(Form& form) {
  auto it = windows_.find(&form);
  if (it != windows_.end()) it->second->MarkDirty();
}

void FltkBackend::FormDestroyed(Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  FormWindow* window = it->second;
  windows_.erase(it);
  window->Detach();
  // The window may be inside one of its own event handlers right now; FLTK deletes it later.
  Fl::delete_widget(window);
}

void FltkBackend::OnCheck(void* self) {
  static_cast<FltkBackend*>(self)->SyncDirtyWindows();
}

void FltkBackend::SyncDirtyWindows() {
  for (auto& [form, window] : windows_)
    if (window->dirty()) window->Sync();
}

void FltkBackend::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  for (auto& [form, window] : windows_)
    if (window->shown()) window->cursor(FltkCursor(cursor));
}

std::string FltkBackend::WidgetText(const Control& control) const {
  FormWindow* window = WindowOf(control.form());
  if (window == nullptr) return {};
  SyncedWidget* widget = window->WidgetFor(control);
  return widget == nullptr ? std::string() : widget->Text();
}

FormWindow* FltkBackend::WindowOf(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second;
}

}  // namespace ui::fltk

namespace ui {

std::unique_ptr<Backend> MakeScreenBackend() {
  return std::make_unique<fltk::FltkBackend>();
}

}  // namespace ui
