#include "ui/win32/screen_probe.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "ui/form.h"
#include "ui/win32/form_window.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

namespace {

Win32Backend& AsWin32(Backend& backend) {
  auto* win32 = dynamic_cast<Win32Backend*>(&backend);
  if (win32 == nullptr) throw std::logic_error("ScreenProbe needs the Windows screen backend");
  return *win32;
}

struct Press {
  int code;
  bool done;
};

BOOL CALLBACK PressIfMessageBox(HWND hwnd, LPARAM data) {
  auto* press = reinterpret_cast<Press*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (process != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd))
    return TRUE;
  PostMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(press->code), 0);
  press->done = true;
  return FALSE;
}

}  // namespace

struct ScreenProbe::Answerer {
  std::thread thread;
  ~Answerer() {
    if (thread.joinable()) thread.join();
  }
};

ScreenProbe::ScreenProbe(Backend& backend) : backend_(AsWin32(backend)) {}

ScreenProbe::~ScreenProbe() = default;

namespace {

HWND FormHwnd(Win32Backend& backend, const Form& form) {
  FormWindow* window = backend.WindowOf(form);
  return window == nullptr ? nullptr : window->hwnd();
}

NativeControl* Native(Win32Backend& backend, const Control& control) {
  FormWindow* window = backend.WindowOf(control.form());
  return window == nullptr ? nullptr : window->NativeFor(control);
}

HWND NativeHwnd(Win32Backend& backend, const Control& control) {
  backend.SyncDirtyWindows();
  NativeControl* native = Native(backend, control);
  return native == nullptr ? nullptr : native->hwnd();
}

}  // namespace

bool ScreenProbe::HasWindow(const Form& form) const {
  return FormHwnd(backend_, form) != nullptr;
}

bool ScreenProbe::WindowVisible(const Form& form) const {
  HWND hwnd = FormHwnd(backend_, form);
  return hwnd != nullptr && IsWindowVisible(hwnd);
}

bool ScreenProbe::WindowEnabled(const Form& form) const {
  HWND hwnd = FormHwnd(backend_, form);
  return hwnd != nullptr && IsWindowEnabled(hwnd);
}

Color ScreenProbe::PixelAt(const Form& form, int x, int y) const {
  backend_.SyncDirtyWindows();
  HWND hwnd = FormHwnd(backend_, form);
  if (hwnd == nullptr) return 0xFFFFFFFF;
  UpdateWindow(hwnd);
  HDC dc = GetDC(hwnd);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return pixel;  // both are 0x00BBGGRR
}

bool ScreenProbe::HasNative(const Control& control) const {
  return NativeHwnd(backend_, control) != nullptr;
}

bool ScreenProbe::NativeVisible(const Control& control) const {
  HWND hwnd = NativeHwnd(backend_, control);
  return hwnd != nullptr && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string ScreenProbe::NativeText(const Control& control) const {
  backend_.SyncDirtyWindows();
  NativeControl* native = Native(backend_, control);
  if (native == nullptr) return {};
  return WideToUtf8(native->Text());
}

int ScreenProbe::PasswordChar(const Control& edit) const {
  HWND hwnd = NativeHwnd(backend_, edit);
  return hwnd == nullptr ? -1 : static_cast<int>(SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0));
}

int ScreenProbe::ProgressPosition(const Control& bar) const {
  HWND hwnd = NativeHwnd(backend_, bar);
  return hwnd == nullptr ? -1 : static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
}

int ScreenProbe::ComboCount(const Control& combo) const {
  HWND hwnd = NativeHwnd(backend_, combo);
  return hwnd == nullptr ? -1 : static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0));
}

int ScreenProbe::ComboSelection(const Control& combo) const {
  HWND hwnd = NativeHwnd(backend_, combo);
  return hwnd == nullptr ? -2 : static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
}

void ScreenProbe::TypeChar(const Control& edit, char32_t c) const {
  HWND hwnd = NativeHwnd(backend_, edit);
  if (hwnd == nullptr) return;
  if (c < 0x10000) {
    SendMessageW(hwnd, WM_CHAR, static_cast<WPARAM>(c), 1);
    return;
  }
  const char32_t v = c - 0x10000;  // a pair of surrogates, as the system sends them
  SendMessageW(hwnd, WM_CHAR, static_cast<WPARAM>(0xD800 + (v >> 10)), 1);
  SendMessageW(hwnd, WM_CHAR, static_cast<WPARAM>(0xDC00 + (v & 0x3FF)), 1);
}

void ScreenProbe::PickRow(const Control& combo, int row) const {
  HWND hwnd = NativeHwnd(backend_, combo);
  if (hwnd == nullptr) return;
  SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  // A user's pick is announced to the parent; CB_SETCURSEL alone is not.
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(hwnd));
}

void ScreenProbe::ClickButton(const Control& button) const {
  HWND hwnd = NativeHwnd(backend_, button);
  if (hwnd != nullptr) SendMessageW(hwnd, BM_CLICK, 0, 0);
}

void ScreenProbe::ClickAt(const Form& form, int x, int y) const {
  backend_.SyncDirtyWindows();
  HWND hwnd = FormHwnd(backend_, form);
  if (hwnd == nullptr) return;
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, at);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

void ScreenProbe::KeyDown(const Form& form, int virtualKey) const {
  HWND hwnd = FormHwnd(backend_, form);
  if (hwnd != nullptr) SendMessageW(hwnd, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
}

void ScreenProbe::AnswerNextMessageBox(int code) {
  answerer_ = std::make_unique<Answerer>();
  answerer_->thread = std::thread([code] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Press press{code, false};
    while (!press.done && std::chrono::steady_clock::now() < end) {
      EnumWindows(PressIfMessageBox, reinterpret_cast<LPARAM>(&press));
      if (!press.done) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
}

}  // namespace ui::win32
