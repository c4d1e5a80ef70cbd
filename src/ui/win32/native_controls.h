#pragma once

#include <string>
#include <vector>

#include "ui/win32/win32_api.h"

namespace ui {
class Button;
class ComboBox;
class Control;
class Edit;
class ProgressBar;
}  // namespace ui

namespace ui::win32 {

class FormWindow;

// A native child control that mirrors one control of the model. The model is the truth: user
// input goes to the control's input methods, and the control then shows what the model holds.
class NativeControl {
 public:
  NativeControl(FormWindow& window, Control& model, const wchar_t* windowClass, DWORD style,
                DWORD exStyle);
  virtual ~NativeControl();
  NativeControl(const NativeControl&) = delete;
  NativeControl& operator=(const NativeControl&) = delete;

  HWND hwnd() const { return hwnd_; }
  Control& model() const { return model_; }
  virtual void Sync();
  // A WM_COMMAND notification the control sent its parent.
  virtual void OnCommand(int code) { (void)code; }
  // What the control shows, for tests and diagnostics.
  std::wstring Text() const;

 protected:
  // The subclass hook: returns true when the message was handled and must not reach the control.
  virtual bool Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
  // Tab and Shift+Tab move between the form's input controls in their tab order.
  bool HandleTab(UINT msg, WPARAM wParam);
  void SetFont(HFONT font);
  // The native window's height for the control's height: a drop-down list adds its list.
  virtual int WindowHeight(int controlHeight) const { return controlHeight; }

  FormWindow& window_;
  Control& model_;
  HWND hwnd_ = nullptr;
  int classicHeight_ = 21;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Gives the window back its own procedure and forgets the handle.
  void LetGo();
  WNDPROC controlProc_ = nullptr;  // the system control's own procedure
  HFONT font_ = nullptr;
  RECT applied_{0, 0, 0, 0};  // the bounds last given to the native window
};

// A drop-down list (CBS_DROPDOWNLIST): picking a row is ComboBox::UserSelect.
class ComboNative : public NativeControl {
 public:
  ComboNative(FormWindow& window, ComboBox& model);
  void Sync() override;
  void OnCommand(int code) override;

 protected:
  bool Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  int WindowHeight(int controlHeight) const override;

 private:
  int Rows() const;

  ComboBox& combo_;
  std::vector<std::string> shownItems_;
  int shownCharset_ = -1;
};

// A one-line edit (plain, password or masked). Typed characters are converted to the control's
// code page and go through Edit::UserKey one by one, so its key filter and length limit decide;
// the native edit never changes its text by itself.
class EditNative : public NativeControl {
 public:
  EditNative(FormWindow& window, Edit& model);
  void Sync() override;

 protected:
  bool Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Type(const std::wstring& typed);
  void Paste();
  void Cut();
  // Left, Right, Home, End, Delete and Insert, with Shift or Ctrl; false for other keys.
  bool EditingKey(WPARAM key);
  std::size_t ShownOffset(std::size_t modelOffset) const;
  std::size_t ModelOffset(std::size_t shownOffset) const;

  Edit& edit_;
  std::wstring shown_;
  bool shownOnce_ = false;
};

// A push button: a click, space, or Return while it has the focus, is Control::Click.
class ButtonNative : public NativeControl {
 public:
  ButtonNative(FormWindow& window, Button& model);
  void Sync() override;
  void OnCommand(int code) override;

 protected:
  bool Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  Button& button_;
  std::wstring caption_;
  bool captionSet_ = false;
};

// The common controls' progress bar.
class ProgressNative : public NativeControl {
 public:
  ProgressNative(FormWindow& window, ProgressBar& model);
  void Sync() override;

 private:
  ProgressBar& bar_;
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace ui::win32
