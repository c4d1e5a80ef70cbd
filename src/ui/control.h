#pragma once

#include <functional>
#include <string>

namespace ui {

class Form;

enum class ControlKind { Image, ComboBox, Edit, MaskEdit, ProgressBar, Label, Panel, Button };

// The kinds the backends show by a native widget that takes the keyboard and mouse itself.
inline bool IsInputKind(ControlKind kind) {
  return kind == ControlKind::ComboBox || kind == ControlKind::Edit ||
         kind == ControlKind::MaskEdit || kind == ControlKind::Button;
}

// Event rules, for every control:
// - Setters made by the program never fire the control's own events; only the input methods
//   (Click, MouseMove, and the per-control ones such as ComboBox::UserSelect) do, and only while
//   the control is visible and enabled, exactly as a user could.
// - Mouse coordinates are window client coordinates, not control-relative.
// - An exception escaping a handler is shown by the application's exception display and the
//   program carries on.
class Control {
 public:
  Control(Form& owner, std::string name, ControlKind kind);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return owner_; }

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  void SetBounds(int left, int top, int width, int height);
  bool Contains(int x, int y) const;  // edges inclusive

  bool visible() const { return visible_; }
  void SetVisible(bool v);
  // Readies what drawing the control needs; it runs before the control appears on screen. An
  // error it raises is the program's to report, as the control's setter raised it.
  virtual void PrepareToShow() const {}
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool enabled() const { return enabled_; }
  void SetEnabled(bool v);

  // Z-order within the form: the last brought to the front is drawn on top.
  void BringToFront();

  // A picture button that shows only under the mouse is still drawn by its page's background:
  // as a tab stop the keyboard reaches and presses it while it is hidden.
  bool tabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  // Within a row of stops the keyboard goes by this rank first, then left to right.
  int tabRank() const { return tabRank_; }
  void SetTabRank(int rank) { tabRank_ = rank; }
  // A stop that has no hover picture of its own (a link), or whose hover picture would pass for
  // another button's, shows the keyboard focus as a frame around itself as the page draws it.
  bool focusFramed() const { return focusFramed_; }
  void SetFocusFramed(bool v);

  std::function<void()> onClick;
  std::function<void(int x, int y)> onMouseMove;

  // Input, as a user gives it; the backends call these.
  void Click();
  void MouseMove(int x, int y);
  // The keyboard's click: a tab stop takes it while hidden, any other control as Click does.
  bool Pressable() const { return enabled_ && (visible_ || tabStop_); }
  void Press();

 protected:
  void Changed();  // tells the form (and so the backend) to repaint
  bool AcceptsInput() const { return visible_ && enabled_; }

 private:
  void RunOnClick();

  Form& owner_;
  std::string name_;
  ControlKind kind_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  int tabRank_ = 0;
  bool focusFramed_ = false;
};

}  // namespace ui
