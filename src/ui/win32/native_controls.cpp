#include "ui/win32/native_controls.h"

#include <algorithm>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/progress_bar.h"
#include "ui/win32/form_window.h"
#include "ui/win32/paint_controls.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

namespace {

constexpr int kClassicButtonHeight = 25;

bool HasStyle(HWND hwnd, DWORD style) {
  return (static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & style) != 0;
}

// The common controls library is loaded with the first progress bar, not at start-up: every
// other control is the system's own, and under Wine loading the library before the first frame
// cost more than making the window.
const wchar_t* ProgressClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  return PROGRESS_CLASSW;
}

}  // namespace

NativeControl::NativeControl(FormWindow& window, Control& model, const wchar_t* windowClass,
                             DWORD style, DWORD exStyle)
    : window_(window), model_(model) {
  hwnd_ = CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style,
                          model.left(), model.top(), 1, classicHeight_, window.hwnd(), nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) return;
  // The control's own window procedure stays behind ours; the system's controls keep their
  // state in their window's extra bytes, so the user data slot is ours.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  controlProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
}

NativeControl::~NativeControl() {
  if (hwnd_ == nullptr) return;
  const HWND hwnd = hwnd_;
  LetGo();
  DestroyWindow(hwnd);
}

void NativeControl::LetGo() {
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

LRESULT CALLBACK NativeControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NativeControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    // Its parent destroys it: the handle is about to be freed (and may be reused).
    const WNDPROC controlProc = self->controlProc_;
    self->LetGo();
    return CallWindowProcW(controlProc, hwnd, msg, wParam, lParam);
  }
  if (msg == WM_SETFOCUS) self->window_.NoteFocus(hwnd);
  // Alt+F4 closes the window from a control as from the window itself; the drop-down list would
  // otherwise swallow it. Posted, as the system does, so the control is not torn down under us.
  if (msg == WM_SYSKEYDOWN && wParam == VK_F4) {
    PostMessageW(self->window_.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  // A focused button takes Return itself (its filter), so the form's dialog keys come after the
  // filter; their character message is swallowed before it.
  if (msg == WM_CHAR && self->window_.DialogKey(msg, wParam)) return 0;
  LRESULT result = 0;
  bool handled = false;
  self->window_.backend().Guarded([&] { handled = self->Filter(msg, wParam, lParam, result); });
  if (handled) return result;
  if (msg == WM_KEYDOWN && self->window_.DialogKey(msg, wParam)) return 0;
  return CallWindowProcW(self->controlProc_, hwnd, msg, wParam, lParam);
}

bool NativeControl::Filter(UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
  return HandleTab(msg, wParam);
}

LRESULT NativeControl::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(controlProc_, hwnd_, msg, wParam, lParam);
}

bool NativeControl::HandleTab(UINT msg, WPARAM wParam) {
  if (msg == WM_CHAR && wParam == L'\t') return true;
  if (msg != WM_KEYDOWN || wParam != VK_TAB) return false;
  window_.FocusNext(&model_, GetKeyState(VK_SHIFT) < 0);
  return true;
}

void NativeControl::SetFont(HFONT font) {
  if (font == font_) return;
  font_ = font;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::wstring NativeControl::Text() const {
  const int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
  GetWindowTextW(hwnd_, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

void NativeControl::Sync() {
  if (hwnd_ == nullptr) return;
  const int h = WindowHeight(model_.height() > 0 ? model_.height() : classicHeight_);
  const int w = model_.width() > 0 ? model_.width() : 1;
  const RECT want{model_.left(), model_.top(), model_.left() + w, model_.top() + h};
  if (!EqualRect(&want, &applied_)) {
    applied_ = want;
    SetWindowPos(hwnd_, nullptr, want.left, want.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const bool shown = HasStyle(hwnd_, WS_VISIBLE);
  const bool enabled = !HasStyle(hwnd_, WS_DISABLED);
  // A focused control that goes away hands the keyboard to its window, not to nowhere.
  if ((!model_.visible() && shown) || (!model_.enabled() && enabled)) {
    if (GetFocus() == hwnd_) SetFocus(window_.hwnd());
  }
  if (model_.visible() != shown) ShowWindow(hwnd_, model_.visible() ? SW_SHOWNA : SW_HIDE);
  if (model_.enabled() != enabled) EnableWindow(hwnd_, model_.enabled() ? TRUE : FALSE);
}

ComboNative::ComboNative(FormWindow& window, ComboBox& model)
    : NativeControl(window, model, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0),
      combo_(model) {
  Sync();
}

void ComboNative::Sync() {
  if (hwnd_ == nullptr) return;
  SetFont(window_.backend().fonts().Get(kControlFontPoints, false, false, combo_.fontCharset()));
  if (shownItems_ != combo_.items() || shownCharset_ != combo_.fontCharset()) {
    shownItems_ = combo_.items();
    shownCharset_ = combo_.fontCharset();
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const auto& item : shownItems_) {
      const std::wstring text = AnsiToWide(item, shownCharset_);
      SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  const int index = combo_.itemIndex();
  if (SendMessageW(hwnd_, CB_GETCURSEL, 0, 0) != index)
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The list shows dropDownCount rows: the window's height sets it for the classic control, the
  // visible-row count for the themed one.
  SendMessageW(hwnd_, CB_SETMINVISIBLE, static_cast<WPARAM>(Rows()), 0);
  NativeControl::Sync();
}

int ComboNative::Rows() const {
  return combo_.dropDownCount() > 0 ? combo_.dropDownCount() : 8;
}

int ComboNative::WindowHeight(int fieldHeight) const {
  const int itemHeight = static_cast<int>(SendMessageW(hwnd_, CB_GETITEMHEIGHT, 0, 0));
  return fieldHeight + Rows() * (itemHeight > 0 ? itemHeight : 14) + 2;
}

void ComboNative::OnCommand(int code) {
  if (code == CBN_SELCHANGE) {
    const int index = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
    combo_.UserSelect(index);
    Sync();  // the model may have refused the row
  } else if (code == CBN_KILLFOCUS) {
    combo_.UserExit();
  }
}

bool ComboNative::Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_KEYUP) {
    result = CallDefault(msg, wParam, lParam);
    if (GetFocus() == hwnd_) combo_.UserKeyUp(static_cast<int>(wParam));
    return true;
  }
  return HandleTab(msg, wParam);
}

EditNative::EditNative(FormWindow& window, Edit& model)
    : NativeControl(window, model, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE),
      edit_(model) {
  Sync();
}

void EditNative::Sync() {
  if (hwnd_ == nullptr) return;
  SetFont(window_.backend().fonts().Get(kControlFontPoints, false, false, edit_.fontCharset()));
  NativeControl::Sync();
  const WPARAM password = static_cast<unsigned char>(edit_.passwordChar());
  if (static_cast<WPARAM>(SendMessageW(hwnd_, EM_GETPASSWORDCHAR, 0, 0)) != password) {
    SendMessageW(hwnd_, EM_SETPASSWORDCHAR, password, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  if (HasStyle(hwnd_, ES_READONLY) != edit_.readOnly())
    SendMessageW(hwnd_, EM_SETREADONLY, edit_.readOnly() ? TRUE : FALSE, 0);
  // The model enforces the length; the native limit keeps a paste from overshooting on screen.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, edit_.maxLength() > 0 ? edit_.maxLength() : 0, 0);
  const std::wstring wide = AnsiToWide(edit_.text(), edit_.fontCharset());
  if (!shownOnce_ || wide != shown_) {
    shownOnce_ = true;
    shown_ = wide;
    SetWindowTextW(hwnd_, wide.c_str());
  }
  const std::size_t caret = ShownOffset(edit_.caret()), anchor = ShownOffset(edit_.anchor());
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  // The caret goes to the second end, so a selection grown to the left keeps its caret there.
  if (start != std::min(caret, anchor) || end != std::max(caret, anchor))
    SendMessageW(hwnd_, EM_SETSEL, anchor, caret);
}

std::size_t EditNative::ShownOffset(std::size_t modelOffset) const {
  const std::string& text = edit_.text();
  return AnsiToWide(text.substr(0, std::min(modelOffset, text.size())), edit_.fontCharset()).size();
}

std::size_t EditNative::ModelOffset(std::size_t shownOffset) const {
  return WideToAnsi(shown_.substr(0, std::min(shownOffset, shown_.size())), edit_.fontCharset())
      .size();
}

// The native selection mirrors the model's, so the control's own copy takes the right text;
// a password field copies nothing, natively as in the model.
void EditNative::Cut() {
  SendMessageW(hwnd_, WM_COPY, 0, 0);
  edit_.UserCut();
  Sync();
}

bool EditNative::EditingKey(WPARAM key) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (key) {
    case VK_LEFT:
      edit_.UserMoveCaret(Edit::CaretMove::Left, shift);
      break;
    case VK_RIGHT:
      edit_.UserMoveCaret(Edit::CaretMove::Right, shift);
      break;
    case VK_HOME:
      edit_.UserMoveCaret(Edit::CaretMove::Home, shift);
      break;
    case VK_END:
      edit_.UserMoveCaret(Edit::CaretMove::End, shift);
      break;
    case VK_DELETE:
      if (shift) {
        Cut();
        return true;
      }
      edit_.UserDelete();
      break;
    case VK_INSERT:
      // Ctrl+Insert is the control's own copy; Shift+Insert pastes through the model.
      if (GetKeyState(VK_CONTROL) < 0) return false;
      if (shift) Paste();
      return true;
    default:
      return false;
  }
  Sync();
  return true;
}

void EditNative::Type(const std::wstring& typed) {
  for (char c : WideToAnsi(typed, edit_.fontCharset())) edit_.UserKey(c);
  Sync();
}

void EditNative::Paste() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(hwnd_)) return;
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  Type(text);
}

bool EditNative::Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_CHAR: {
      const auto c = static_cast<wchar_t>(wParam);
      switch (c) {
        case L'\t':
          return true;
        case 0x08:
        case 0x0D:
        case 0x1B:
          edit_.UserKey(static_cast<char>(c));
          Sync();
          return true;
        case 0x16:  // Ctrl+V
          Paste();
          return true;
        case 0x03:  // Ctrl+C only reads the text
          return false;
        case 0x18:  // Ctrl+X
          Cut();
          return true;
        case 0x01:  // Ctrl+A
          edit_.UserSelectAll();
          Sync();
          return true;
        default:
          // Other control characters (Ctrl+Z, Ctrl+Backspace) would edit behind the model's
          // back.
          if (c >= 0x20 && c != 0x7F) Type(std::wstring(1, c));
          return true;
      }
    }
    case WM_KEYDOWN:
      if (HandleTab(msg, wParam)) return true;
      // The caret and the selection are the model's: the control only shows them.
      return EditingKey(wParam);
    case WM_PASTE:
      Paste();
      return true;
    case WM_CUT:
      Cut();
      return true;
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case WM_CONTEXTMENU:
      return true;
    case WM_LBUTTONUP: {
      result = CallDefault(msg, wParam, lParam);
      // Where the mouse put the caret (or what it selected) is the model's from now on; in an
      // address field typing still fills the digits from where the keys left the caret.
      if (edit_.kind() != ControlKind::MaskEdit) {
        DWORD start = 0, end = 0;
        SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        edit_.UserSelect(ModelOffset(start), ModelOffset(end));
      }
      RECT client;
      GetClientRect(hwnd_, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (PtInRect(&client, at)) edit_.Click();
      Sync();
      return true;
    }
    default:
      return false;
  }
}

ButtonNative::ButtonNative(FormWindow& window, Button& model)
    : NativeControl(window, model, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0), button_(model) {
  classicHeight_ = kClassicButtonHeight;
  Sync();
}

void ButtonNative::Sync() {
  if (hwnd_ == nullptr) return;
  SetFont(window_.backend().fonts().Get(kControlFontPoints, button_.bold(), false,
                                        button_.fontCharset()));
  NativeControl::Sync();
  // The native button, like the classic one, underlines the letter after '&'.
  const std::wstring caption = AnsiToWide(button_.caption(), button_.fontCharset());
  if (!captionSet_ || caption != caption_) {
    captionSet_ = true;
    caption_ = caption;
    SetWindowTextW(hwnd_, caption_.c_str());
  }
}

void ButtonNative::OnCommand(int code) {
  if (code == BN_CLICKED) button_.Click();
}

bool ButtonNative::Filter(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  result = 0;
  if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
    button_.Click();
    return true;
  }
  if (msg == WM_CHAR && wParam == L'\r') return true;
  return HandleTab(msg, wParam);
}

ProgressNative::ProgressNative(FormWindow& window, ProgressBar& model)
    : NativeControl(window, model, ProgressClass(), 0, 0), bar_(model) {
  SendMessageW(hwnd_, PBM_SETRANGE32, 0, 100);
  Sync();
}

void ProgressNative::Sync() {
  if (hwnd_ == nullptr) return;
  NativeControl::Sync();
  if (bar_.min() != min_ || bar_.max() != max_) {
    min_ = bar_.min();
    max_ = bar_.max();
    SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    position_ = min_ - 1;  // the range change may have moved the shown position
  }
  if (bar_.position() != position_) {
    position_ = bar_.position();
    SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
  }
}

}  // namespace ui::win32
