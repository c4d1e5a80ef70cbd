// The headless backend's window services: forms are only recorded, message boxes answered by the
// test's handler, and user input is routed the way a screen backend routes it.
#include <algorithm>

#include "ui/form.h"
#include "ui/headless/headless_backend.h"

namespace ui::headless {

void HeadlessBackend::FormShown(Form& form) {
  if (std::find(visible_.begin(), visible_.end(), &form) == visible_.end())
    visible_.push_back(&form);
  form.Paint();
}

void HeadlessBackend::FormHidden(Form& form) {
  visible_.erase(std::remove(visible_.begin(), visible_.end(), &form), visible_.end());
}

void HeadlessBackend::FormChanged(Form& form) {
  ++changes_[&form];
}

void HeadlessBackend::FormDestroyed(Form& form) {
  FormHidden(form);
  changes_.erase(&form);
}

int HeadlessBackend::changeCount(const Form& form) const {
  auto it = changes_.find(&form);
  return it == changes_.end() ? 0 : it->second;
}

Form* HeadlessBackend::topModalForm() const {
  for (auto it = visible_.rbegin(); it != visible_.rend(); ++it)
    if ((*it)->modal()) return *it;
  return nullptr;
}

int HeadlessBackend::MessageBox(const std::string& text, const std::string& caption) {
  messageBoxes_.push_back(MessageBoxRecord{text, caption, messageCharset()});
  if (!messageBoxHandler_) return 1;
  auto handler = messageBoxHandler_;
  return handler(text, caption);
}

namespace {

// While a modal form is up, the other windows take no input, as the platform disables them.
bool TakesInput(const HeadlessBackend& backend, const Form& form) {
  if (!form.visible()) return false;
  const Form* modal = backend.topModalForm();
  return modal == nullptr || modal == &form;
}

}  // namespace

void HeadlessBackend::MoveMouse(Form& form, int x, int y) {
  if (!TakesInput(*this, form)) return;
  if (Control* control = form.ControlAt(x, y)) control->MouseMove(x, y);
}

void HeadlessBackend::ClickAt(Form& form, int x, int y) {
  if (!TakesInput(*this, form)) return;
  MoveMouse(form, x, y);
  // The move's handler may have changed what lies under the pointer (a hover picture shows).
  if (Control* control = form.ControlAt(x, y)) control->Click();
}

void HeadlessBackend::PressKey(Form& form, int key, int shift) {
  if (!TakesInput(*this, form)) return;
  form.KeyDown(key, shift);
}

std::unique_ptr<Application> MakeHeadlessApplication() {
  return std::make_unique<Application>(std::make_unique<HeadlessBackend>());
}

HeadlessBackend& Headless(Application& app) {
  auto* backend = dynamic_cast<HeadlessBackend*>(&app.backend());
  if (backend == nullptr) throw LoopStalled("the application does not run on the headless backend");
  return *backend;
}

}  // namespace ui::headless
