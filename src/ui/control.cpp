#include "ui/control.h"

#include "ui/application.h"
#include "ui/form.h"

namespace ui {

Control::Control(Form& owner, std::string name, ControlKind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {}

Control::~Control() = default;

void Control::SetLeft(int v) {
  SetBounds(v, top_, width_, height_);
}
void Control::SetTop(int v) {
  SetBounds(left_, v, width_, height_);
}
void Control::SetWidth(int v) {
  SetBounds(left_, top_, v, height_);
}
void Control::SetHeight(int v) {
  SetBounds(left_, top_, width_, v);
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

bool Control::Contains(int x, int y) const {
  return x >= left_ && x <= left_ + width_ && y >= top_ && y <= top_ + height_;
}

void Control::SetVisible(bool v) {
  if (v == visible_) return;
  if (v && owner_.visible()) PrepareToShow();
  visible_ = v;
  Changed();
}

void Control::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}

void Control::BringToFront() {
  owner_.BringToFront(*this);
}

void Control::SetTabStop(bool v) {
  if (v == tabStop_) return;
  tabStop_ = v;
}

void Control::SetFocusFramed(bool v) {
  if (v == focusFramed_) return;
  focusFramed_ = v;
  Changed();
}

void Control::Press() {
  if (Pressable()) RunOnClick();
}

void Control::Click() {
  if (AcceptsInput()) RunOnClick();
}

void Control::RunOnClick() {
  if (!onClick) return;
  // A copy, so that a handler that replaces onClick does not destroy the running function.
  auto handler = onClick;
  owner_.app().Guard(handler);
}

void Control::MouseMove(int x, int y) {
  if (!AcceptsInput() || !onMouseMove) return;
  auto handler = onMouseMove;
  owner_.app().Guard([&] { handler(x, y); });
}

void Control::Changed() {
  owner_.Changed();
}

}  // namespace ui
