#include "ui/win32/form_window.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/ansi_text.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/progress_bar.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"QuillonForm";
constexpr int kKeyF4 = 115;

// Controls shown by a native child window rather than painted by the form.
bool IsNativeKind(ControlKind kind) {
  return IsInputKind(kind) || kind == ControlKind::ProgressBar;
}

DWORD StyleFor(bool borderless) {
  const DWORD common = WS_POPUP | WS_CLIPCHILDREN;
  return borderless ? common : common | WS_CAPTION | WS_SYSMENU;
}

// The main window has a taskbar button of its own; the dialogs belong to it.
DWORD ExStyleFor(bool borderless) {
  return borderless ? WS_EX_APPWINDOW : 0;
}

// The model's bounds are the client area's; a captioned window's frame lies around them, so
// that a dialog centred on the wizard by its bounds shows centred, as with the Linux backend.
RECT OuterRect(const Form& form, bool borderless) {
  RECT r{form.left(), form.top(), form.left() + std::max(1, form.width()),
         form.top() + std::max(1, form.height())};
  if (!borderless) AdjustWindowRectEx(&r, StyleFor(false), FALSE, ExStyleFor(false));
  return r;
}

int ShiftNow() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftShift;
  if (GetKeyState(VK_MENU) < 0) shift |= kShiftAlt;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kShiftCtrl;
  return shift;
}

}  // namespace

LRESULT CALLBACK FormWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<FormWindow*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  LRESULT result = 0;
  self->backend_.Guarded([&] { result = self->Handle(msg, wParam, lParam); });
  return result;
}

void RegisterFormClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FormWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
}

FormWindow::FormWindow(Win32Backend& backend, Form& form)
    : backend_(backend), form_(&form), borderless_(form.borderless()) {
  const RECT r = OuterRect(form, borderless_);
  CreateWindowExW(ExStyleFor(borderless_), kFormClass, L"", StyleFor(borderless_), r.left, r.top,
                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                  this);
  Sync();
}

FormWindow::~FormWindow() {
  Detach();
  natives_.clear();
  ReleaseBackBuffer();
}

void FormWindow::Detach() {
  form_ = nullptr;
  pressed_ = nullptr;
  // Destroying the window takes its native children with it; their objects stay until this
  // window is freed, as one of them may be inside its own message handler right now.
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void FormWindow::ReleaseBackBuffer() {
  if (backDc_ == nullptr) return;
  SelectObject(backDc_, backOld_);
  DeleteObject(backBitmap_);
  DeleteDC(backDc_);
  backDc_ = nullptr;
  backBitmap_ = nullptr;
}

void FormWindow::MarkDirty() {
  dirty_ = true;
  // A paint handler that sets its texts must not start another paint.
  if (!painting_ && hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormWindow::Sync() {
  dirty_ = false;
  if (form_ == nullptr || hwnd_ == nullptr) return;
  SyncFrame();
  SyncChildren();
  bitmaps_.Prune();
}

void FormWindow::SyncFrame() {
  if (form_->borderless() != borderless_) {
    borderless_ = form_->borderless();
    const DWORD visible = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)) & WS_VISIBLE;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, StyleFor(borderless_) | visible);
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ExStyleFor(borderless_));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const RECT want = OuterRect(*form_, borderless_);
  RECT have;
  GetWindowRect(hwnd_, &have);
  if (!EqualRect(&want, &have))
    SetWindowPos(hwnd_, nullptr, want.left, want.top, want.right - want.left,
                 want.bottom - want.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!captionSet_ || caption_ != form_->caption()) {
    captionSet_ = true;
    caption_ = form_->caption();
    SetWindowTextW(hwnd_, AnsiToWide(caption_, kAnsiCharset).c_str());
  }
}

void FormWindow::SyncChildren() {
  std::vector<HWND> order;
  std::vector<HWND> inputs;
  for (Control* control : form_->zOrder()) {
    if (!IsNativeKind(control->kind())) continue;
    auto found = natives_.find(control);
    // A page's controls get their windows when the page first shows them: the start-up then
    // makes only the few the main menu shows.
    if (found == natives_.end() && !control->visible()) continue;
    auto& native = found != natives_.end() ? found->second : natives_[control];
    if (!native) {
      switch (control->kind()) {
        case ControlKind::ComboBox:
          native = std::make_unique<ComboNative>(*this, static_cast<ComboBox&>(*control));
          break;
        case ControlKind::Button:
          native = std::make_unique<ButtonNative>(*this, static_cast<Button&>(*control));
          break;
        case ControlKind::ProgressBar:
          native = std::make_unique<ProgressNative>(*this, static_cast<ProgressBar&>(*control));
          break;
        default:
          native = std::make_unique<EditNative>(*this, static_cast<Edit&>(*control));
      }
    } else {
      native->Sync();
    }
    order.push_back(native->hwnd());
    if (IsInputKind(control->kind()) && control->visible() && control->enabled())
      inputs.push_back(native->hwnd());
  }
  if (order != childOrder_) {
    // Each placed on top of its siblings in turn, bottom first: the last is the topmost.
    for (HWND child : order)
      SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    childOrder_ = std::move(order);
  }
  if (inputs == inputsShown_) return;
  // Other fields show (a new page): where the keyboard rested on none of them, nor on a picture
  // button, it starts at the first, so that a user types into it at once.
  const bool onShownInput = std::find(inputs.begin(), inputs.end(), GetFocus()) != inputs.end();
  inputsShown_ = std::move(inputs);
  if (!onShownInput && form_->keyFocus() == nullptr && GetActiveWindow() == hwnd_) StartKeyboard();
}

void FormWindow::StartKeyboard() {
  if (form_ == nullptr || hwnd_ == nullptr) return;
  for (Control* stop : form_->TabStops()) {
    NativeControl* native = IsInputKind(stop->kind()) ? NativeFor(*stop) : nullptr;
    if (native == nullptr || native->hwnd() == nullptr || !IsWindowVisible(native->hwnd()) ||
        !IsWindowEnabled(native->hwnd()))
      continue;
    SetFocus(native->hwnd());
    return;
  }
  lastFocus_ = nullptr;
  SetFocus(hwnd_);
}

NativeControl* FormWindow::NativeFor(const Control& control) const {
  auto it = natives_.find(&control);
  return it == natives_.end() ? nullptr : it->second.get();
}

void FormWindow::Show(HWND owner) {
  if (hwnd_ == nullptr) return;
  // A dialog stays above the window it was opened from.
  if (owner != nullptr && owner != hwnd_)
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  // Each showing starts the keyboard afresh, as a dialog on Windows starts at its first stop:
  // its field, or its default button, takes the keys without a click.
  lastFocus_ = nullptr;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  StartKeyboard();
}

void FormWindow::Hide() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::FocusNext(const Control* from, bool backwards) {
  if (form_ == nullptr) return;
  Control* next = form_->MoveKeyFocus(from, backwards);
  if (next == nullptr) return;
  NativeControl* native = IsInputKind(next->kind()) ? NativeFor(*next) : nullptr;
  // A picture button is painted by this window, which then takes the keys itself, also when
  // it is active again after a dialog.
  if (native == nullptr) lastFocus_ = nullptr;
  SetFocus(native != nullptr ? native->hwnd() : hwnd_);
}

void FormWindow::NoteFocus(HWND child) {
  lastFocus_ = child;
  if (form_ != nullptr) form_->SetKeyFocus(nullptr);
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted by WM_PAINT
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      HandleMouse(msg, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_) pressed_ = nullptr;
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      HandleKey(wParam);
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_SYSKEYUP:
      return 0;  // no menu to open, no beep for a key without a mnemonic
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (form_ != nullptr) form_->Close();
        return 0;
      }
      break;
    case WM_CLOSE:
      if (form_ != nullptr) form_->Close();
      return 0;
    case WM_COMMAND:
      if (lParam != 0) {
        for (auto& [control, native] : natives_)
          // A control being created is in the map before its object is complete.
          if (native && native->hwnd() == reinterpret_cast<HWND>(lParam)) {
            if (form_ != nullptr) native->OnCommand(HIWORD(wParam));
            break;
          }
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && SetCursorShape(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam) != 0) break;
      // Coming back from a dialog, the keyboard returns to the control that had it; where it
      // had none (the control went with its page), it starts at the first field.
      if (lastFocus_ != nullptr && IsWindow(lastFocus_) && GetParent(lastFocus_) == hwnd_ &&
          IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      if (form_ != nullptr && form_->keyFocus() == nullptr) {
        StartKeyboard();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

bool FormWindow::SetCursorShape(HWND under) {
  if (backend_.cursor() != Cursor::Arrow || under == hwnd_) {
    ::SetCursor(backend_.CurrentCursor());
    return true;
  }
  return false;  // a native control shows its own (the edits' text cursor)
}

void FormWindow::HandleMouse(UINT msg, int x, int y) {
  // The page logic relies on the hover that reveals a picture coming before the click on it.
  if (msg == WM_LBUTTONDOWN && (x != lastMoveX_ || y != lastMoveY_))
    HandleMouse(WM_MOUSEMOVE, x, y);
  if (form_ == nullptr) return;
  Control* control = form_->ControlAt(x, y);
  if (msg == WM_LBUTTONUP) {
    Control* pressed = pressed_;
    pressed_ = nullptr;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (pressed != nullptr && control == pressed) pressed->Click();
    return;
  }
  if (msg == WM_MOUSEMOVE) {
    lastMoveX_ = x;
    lastMoveY_ = y;
  }
  // Over a native control the control takes the mouse itself.
  if (control != nullptr && IsNativeKind(control->kind())) return;
  if (msg == WM_LBUTTONDOWN) {
    form_->SetKeyFocus(nullptr);
    pressed_ = control;
    SetCapture(hwnd_);
    return;
  }
  if (control != nullptr) control->MouseMove(x, y);
}

bool FormWindow::DialogKey(UINT msg, WPARAM key) {
  if (form_ == nullptr || (key != VK_RETURN && key != VK_ESCAPE)) return false;
  if (msg == WM_CHAR) {
    const bool taken = dialogKeyTaken_;
    dialogKeyTaken_ = false;
    return taken;
  }
  if (msg != WM_KEYDOWN) return false;
  bool taken = false;
  backend_.Guarded([&] { taken = form_->DialogKey(static_cast<int>(key)); });
  dialogKeyTaken_ = taken;
  return taken;
}

void FormWindow::HandleKey(WPARAM key) {
  if (form_ == nullptr) return;
  if (DialogKey(WM_KEYDOWN, key)) {
    dialogKeyTaken_ = false;  // the window swallows its own character messages
    return;
  }
  const int shift = ShiftNow();
  if (key == VK_TAB && (shift & (kShiftAlt | kShiftCtrl)) == 0) {
    FocusNext(form_->keyFocus(), (shift & kShiftShift) != 0);
    return;
  }
  if (key == VK_SPACE && form_->DialogKey(kKeySpace)) return;
  form_->KeyDown(static_cast<int>(key), shift);
  if (static_cast<int>(key) == kKeyF4 && (shift & kShiftAlt) != 0 && form_ != nullptr)
    form_->Close();
}

void FormWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (form_ != nullptr) {
    painting_ = true;
    form_->Paint();
    painting_ = false;
    if (dirty_) Sync();
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  const int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
  if (backDc_ == nullptr || backW_ != w || backH_ != h) {
    ReleaseBackBuffer();
    backDc_ = CreateCompatibleDC(dc);
    backBitmap_ = CreateCompatibleBitmap(dc, w, h);
    backOld_ = SelectObject(backDc_, backBitmap_);
    backW_ = w;
    backH_ = h;
  }
  PaintModel(backDc_);
  BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
         ps.rcPaint.bottom - ps.rcPaint.top, backDc_, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  EndPaint(hwnd_, &ps);
  if (form_ != nullptr) backend_.FramePresented();
}

void FormWindow::PaintModel(HDC dc) {
  const RECT all{0, 0, backW_, backH_};
  HBRUSH back = CreateSolidBrush(form_ != nullptr ? form_->color() : 0xFFFFFF);
  FillRect(dc, &all, back);
  DeleteObject(back);
  if (form_ == nullptr) return;
  for (const Control* control : form_->zOrder()) {
    if (!control->visible()) continue;
    switch (control->kind()) {
      case ControlKind::Image:
        DrawImage(dc, static_cast<const Image&>(*control), bitmaps_);
        break;
      case ControlKind::Panel:
        DrawPanel(dc, static_cast<const Panel&>(*control));
        break;
      case ControlKind::Label:
        DrawLabel(dc, static_cast<const Label&>(*control), backend_.fonts());
        break;
      default:
        break;  // native children draw themselves, on top
    }
  }
  // The picture button the keyboard rests on shows on top, as under the mouse: the skin's mark.
  // A stop without a fitting picture (a link, Exit, a damaged picture) shows a frame instead.
  const Control* focused = form_->keyFocus();
  if (focused == nullptr) return;
  const bool image = focused->kind() == ControlKind::Image;
  if (image && !focused->focusFramed() && static_cast<const Image&>(*focused).picture())
    DrawImage(dc, static_cast<const Image&>(*focused), bitmaps_);
  else
    DrawFocusFrame(dc, *focused);
}

}  // namespace ui::win32
