#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>

#include <cstddef>
#include <string>
#include <vector>

namespace ui {
class Button;
class ComboBox;
class Control;
class Edit;
}  // namespace ui

namespace ui::fltk {

class FltkBackend;

// An FLTK widget that mirrors one input control of the model. The model is the truth: user
// input goes to the control's input methods, and the widget then shows what the model holds.
class SyncedWidget {
 public:
  virtual ~SyncedWidget() = default;
  virtual void Sync() = 0;
  virtual Fl_Widget& widget() = 0;
  virtual std::string Text() const = 0;  // what the widget shows, UTF-8
};

// A drop-down list. Up and Down pick the neighbouring row as a native list does.
class ComboWidget : public Fl_Choice, public SyncedWidget {
 public:
  explicit ComboWidget(ComboBox& model);
  void Sync() override;
  Fl_Widget& widget() override { return *this; }
  std::string Text() const override;
  int handle(int event) override;

 private:
  static void OnPick(Fl_Widget* widget, void*);
  void Pick(int index);

  ComboBox& model_;
  std::vector<std::string> shownItems_;  // the model's items at the last rebuild
  int shownCharset_ = -1;
  std::vector<std::string> labels_;  // UTF-8, escaped for FLTK's label drawing
  std::vector<Fl_Menu_Item> menu_;
};

// A one-line edit (plain, password or masked). Typed characters are converted to the control's
// code page and go through Edit::UserKey one by one; the key filter may discard them.
class EditWidget : public Fl_Input, public SyncedWidget {
 public:
  EditWidget(FltkBackend& backend, Edit& model);
  void Sync() override;
  Fl_Widget& widget() override { return *this; }
  std::string Text() const override { return value(); }
  int handle(int event) override;

 private:
  int HandleKey();
  void Type(const char* utf8, int length);
  // The selection to the clipboard (none from a password field), or a text already cut.
  void Copy();
  void Copy(const std::string& ansi);
  // Offsets into the model's text and into the UTF-8 text the widget shows.
  int ShownOffset(std::size_t modelOffset) const;
  std::size_t ModelOffset(int shownOffset) const;

  FltkBackend& backend_;
  Edit& model_;
};

// A push button: a mouse click, or space or Return while it has the focus, is Control::Click.
class ButtonWidget : public Fl_Button, public SyncedWidget {
 public:
  explicit ButtonWidget(Button& model);
  void Sync() override;
  Fl_Widget& widget() override { return *this; }
  std::string Text() const override { return caption_; }
  int handle(int event) override;

 private:
  static void OnPress(Fl_Widget* widget, void*);

  Button& model_;
  std::string caption_;  // UTF-8; FLTK keeps only the pointer
};

// Keeps a control's bounds, visibility and enabled state on its widget; input controls whose
// height the skin leaves at 0 get the classic 21 pixels.
void SyncCommon(Fl_Widget& widget, const Control& control);

}  // namespace ui::fltk
