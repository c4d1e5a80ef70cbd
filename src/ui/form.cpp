#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/exception.h"

namespace ui {

Form::Form(Application& app, std::string name) : app_(app), name_(std::move(name)) {}

Form::~Form() {
  // The backend drops its window first: it must not draw controls that are being destroyed.
  app_.backend().FormDestroyed(*this);
}

void Form::Adopt(std::unique_ptr<Control> control) {
  zOrder_.push_back(control.get());
  controls_.push_back(std::move(control));
  Changed();
}

Control* Form::Find(const std::string& name) const {
  for (const auto& c : controls_)
    if (c->name() == name) return c.get();
  return nullptr;
}

Control* Form::ControlAt(int x, int y) const {
  // Disabled controls let the mouse through to what lies beneath, as graphic controls do.
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    Control* c = *it;
    if (c->visible() && c->enabled() && c->Contains(x, y)) return c;
  }
  return nullptr;
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed();
}

void Form::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void Form::SetSize(int width, int height) {
  SetBounds(left_, top_, width, height);
}

void Form::CentreOnScreen(int screenWidth, int screenHeight) {
  SetBounds((screenWidth - width_) / 2, (screenHeight - height_) / 2, width_, height_);
}

void Form::SetColor(Color c) {
  if (c == color_) return;
  color_ = c;
  Changed();
}

void Form::SetBorderless(bool v) {
  if (v == borderless_) return;
  borderless_ = v;
  Changed();
}

void Form::Show() {
  if (visible_) return;
  visible_ = true;
  if (onShow) {
    auto handler = onShow;
    handler();
  }
  // Whatever cannot be drawn is reported before the window appears, not halfway through
  // painting it.
  try {
    for (const Control* control : zOrder_)
      if (control->visible()) control->PrepareToShow();
  } catch (...) {
    visible_ = false;
    throw;
  }
  app_.backend().FormShown(*this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  app_.backend().FormHidden(*this);
}

int Form::ShowModal() {
  if (visible_) throw Exception("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = kMrNone;
  try {
    Show();
    app_.backend().RunUntil([this] { return modalResult_ != kMrNone || !visible_; });
  } catch (...) {
    modal_ = false;
    Hide();
    throw;
  }
  const int result = modalResult_ != kMrNone ? modalResult_ : kMrCancel;
  modalResult_ = result;
  Hide();
  modal_ = false;
  return result;
}

void Form::SetModalResult(int result) {
  modalResult_ = result;
}

void Form::Close() {
  if (modal_) {
    SetModalResult(kMrCancel);
  } else if (onClose) {
    auto handler = onClose;
    app_.Guard(handler);
  } else {
    Hide();
  }
}

bool Form::DialogKey(int key) {
  if (!ButtonsOffered()) return false;
  if (key == kKeyReturn || key == kKeySpace) {
    if (Control* focused = keyFocus()) {
      focused->Press();
      return true;
    }
  }
  Control* button = key == kKeyReturn ? defaultButton : key == kKeyEscape ? cancelButton : nullptr;
  if (button != nullptr && button->Pressable()) {
    button->Press();
    return true;
  }
  if (key == kKeyEscape && modal_) {
    Close();
    return true;
  }
  return false;
}

std::vector<Control*> Form::TabStops() const {
  std::vector<Control*> stops;
  if (!ButtonsOffered()) return stops;
  for (const auto& control : controls_) {
    const bool input = IsInputKind(control->kind()) && control->visible() && control->enabled();
    const bool picture = control->tabStop() && control->Pressable();
    if (input || picture) stops.push_back(control.get());
  }
  // A row holds every stop that starts above the bottom of the row's first (topmost) stop.
  std::stable_sort(stops.begin(), stops.end(),
                   [](const Control* a, const Control* b) { return a->top() < b->top(); });
  for (auto row = stops.begin(); row != stops.end();) {
    const int bottom = (*row)->top() + std::max(1, (*row)->height());
    auto end = std::find_if(row, stops.end(), [&](const Control* c) { return c->top() >= bottom; });
    std::stable_sort(row, end, [](const Control* a, const Control* b) {
      return a->tabRank() != b->tabRank() ? a->tabRank() < b->tabRank() : a->left() < b->left();
    });
    row = end;
  }
  return stops;
}

Control* Form::MoveKeyFocus(const Control* from, bool backwards) {
  const std::vector<Control*> stops = TabStops();
  if (stops.empty()) return nullptr;
  const auto at = std::find(stops.begin(), stops.end(), from);
  const std::size_t n = stops.size();
  std::size_t index = 0;
  if (at == stops.end())
    index = backwards ? n - 1 : 0;
  else
    index = (static_cast<std::size_t>(at - stops.begin()) + (backwards ? n - 1 : 1)) % n;
  Control* next = stops[index];
  SetKeyFocus(IsInputKind(next->kind()) ? nullptr : next);
  return next;
}

Control* Form::keyFocus() const {
  if (keyFocus_ == nullptr || !keyFocus_->tabStop() || !keyFocus_->Pressable() || !ButtonsOffered())
    return nullptr;
  return keyFocus_;
}

void Form::SetKeyFocus(Control* button) {
  if (button == keyFocus_) return;
  // A picture that cannot be drawn is reported now, by the key that asked for it; the key
  // still rests there, marked by a frame, and the wizard goes on.
  if (button != nullptr) app_.Guard([button] { button->PrepareToShow(); });
  keyFocus_ = button;
  Changed();
}

void Form::KeyDown(int key, int shift) {
  if (!onKeyDown) return;
  auto handler = onKeyDown;
  app_.Guard([&] { handler(key, shift); });
}

void Form::Paint() {
  if (!onPaint) return;
  auto handler = onPaint;
  app_.Guard(handler);
}

void Form::Changed() {
  app_.backend().FormChanged(*this);
}

void Form::BringToFront(Control& control) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), &control);
  if (it == zOrder_.end() || it + 1 == zOrder_.end()) return;
  zOrder_.erase(it);
  zOrder_.push_back(&control);
  Changed();
}

}  // namespace ui
