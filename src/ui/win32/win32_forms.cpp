// The Win32 backend's window services: one FormWindow per form, kept in line with the model, and
// the modal state of the dialogs.
#include "ui/form.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

void Win32Backend::FormShown(Form& form) {
  EnsureWindows();
  std::unique_ptr<FormWindow>& window = windows_[&form];
  if (!window) window = std::make_unique<FormWindow>(*this, form);
  window->Sync();
  HWND owner = nullptr;
  if (form.modal()) {
    owner = ModalOwner();
    // The other windows take no input while the dialog shows, as with a classic modal form.
    std::vector<HWND>& disabled = disabledByModal_[&form];
    for (const auto& [other, otherWindow] : windows_) {
      HWND hwnd = otherWindow->hwnd();
      if (other == &form || hwnd == nullptr) continue;
      if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        disabled.push_back(hwnd);
      }
    }
  }
  window->Show(owner);
}

void Win32Backend::FormHidden(Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  // Enabled again before the dialog hides, so that activation passes back to them.
  auto disabled = disabledByModal_.find(&form);
  if (disabled != disabledByModal_.end()) {
    for (HWND hwnd : disabled->second)
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    disabledByModal_.erase(disabled);
  }
  it->second->Hide();
}

void Win32Backend::FormChanged(Form& form) {
  auto it = windows_.find(&form);
  if (it != windows_.end()) it->second->MarkDirty();
}

void Win32Backend::FormDestroyed(Form& form) {
  FormHidden(form);
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  it->second->Detach();
  // The window may be inside one of its own handlers right now; it is freed by the loop.
  graveyard_.push_back(std::move(it->second));
  windows_.erase(it);
}

void Win32Backend::SyncDirtyWindows() {
  for (auto& [form, window] : windows_)
    if (window->dirty()) window->Sync();
}

FormWindow* Win32Backend::WindowOf(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

}  // namespace ui::win32

namespace ui {

std::unique_ptr<Backend> MakeScreenBackend() {
  return std::make_unique<win32::Win32Backend>();
}

}  // namespace ui
