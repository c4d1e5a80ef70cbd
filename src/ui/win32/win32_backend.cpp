#include "ui/win32/win32_backend.h"

#include <cstdlib>
#include <cstring>

#include "ui/ansi_text.h"
#include "ui/win32/first_frame.h"
#include "ui/win32/form_window.h"
#include "ui/win32/paint_controls.h"
#include "ui/win32/wide_text.h"

namespace ui::win32 {

namespace {

constexpr UINT kPostMessage = WM_APP + 1;    // posted tasks are waiting
constexpr UINT kSocketMessage = WM_APP + 2;  // WSAAsyncSelect: wParam socket, lParam event
constexpr UINT kWakeMessage = WM_APP + 3;    // a quit request from another thread
constexpr wchar_t kMessageClass[] = L"QuillonMessages";

Win32Backend* gBackend = nullptr;

// A datagram announced by FD_READ may have been read already by an earlier handler; a zero
// timeout select tells whether there is still something (data or a pending error) to take.
bool StillReadable(SOCKET socket) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  timeval now{0, 0};
  return select(0, &set, nullptr, nullptr, &now) > 0;
}

}  // namespace

Win32Backend::Win32Backend() : uiThread_(std::this_thread::get_id()), fonts_(new FontCache) {
  gBackend = this;
  // Winsock starts with the first socket the platform opens, not here: the window shows sooner
  // without it, and a socket watch always follows a socket.

  // The first use of the display (under Wine: loading its driver, connecting to the X server,
  // loading the theme) takes longer than the whole start-up's reading of its files; it runs
  // beside that reading, and the UI thread's first window waits for it.
  displayWarmUp_ = std::thread([] { ReleaseDC(nullptr, GetDC(nullptr)); });
  const char* exitFlag = std::getenv("QUILLON_EXIT_AFTER_FIRST_FRAME");
  exitAfterFirstFrame_ = exitFlag != nullptr && std::strcmp(exitFlag, "1") == 0;
}

void Win32Backend::EnsureWindows() {
  if (messageWindow_.load() != nullptr) return;
  if (displayWarmUp_.joinable()) displayWarmUp_.join();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MessageWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kMessageClass;
  RegisterClassExW(&wc);
  const HWND window = CreateWindowExW(0, kMessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      wc.hInstance, nullptr);
  RegisterFormClass();
  // Tasks or a quit request that other threads sent before the window existed wake the loop
  // now.
  std::lock_guard lock(postMu_);
  messageWindow_.store(window);
  if (!posts_.empty()) PostMessageW(window, kPostMessage, 0, 0);
  if (quit_.load()) PostMessageW(window, kWakeMessage, 0, 0);
}

Win32Backend::~Win32Backend() {
  if (displayWarmUp_.joinable()) displayWarmUp_.join();
  const HWND messages = messageWindow_.load();
  for (const auto& [id, tick] : timers_) KillTimer(messages, static_cast<UINT_PTR>(id));
  for (const auto& [id, watch] : watches_) WSAAsyncSelect(watch.socket, messages, 0, 0);
  for (auto& [form, window] : windows_) window->Detach();
  windows_.clear();
  graveyard_.clear();
  if (messages != nullptr) DestroyWindow(messages);
  if (gBackend == this) gBackend = nullptr;
}

LRESULT CALLBACK Win32Backend::MessageWindowProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                 LPARAM lParam) {
  Win32Backend* self = gBackend;
  if (self == nullptr || hwnd != self->messageWindow_.load())
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case kPostMessage:
      self->Guarded([self] { self->RunPosts(); });
      return 0;
    case kSocketMessage:
      self->Guarded([&] { self->OnSocket(static_cast<SOCKET>(wParam), lParam); });
      return 0;
    case WM_TIMER:
      self->Guarded([&] { self->OnTimer(wParam); });
      return 0;
    case kWakeMessage:
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

void Win32Backend::Guarded(const std::function<void()>& handler) {
  // An exception must not unwind through the system's dispatching frames; it is carried over
  // them and rethrown where our loop called DispatchMessage.
  try {
    handler();
  } catch (...) {
    if (!pending_) pending_ = std::current_exception();
  }
}

void Win32Backend::PumpOne() {
  EnsureWindows();
  SyncDirtyWindows();
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0) {
    quit_.store(true);  // WM_QUIT, from a system dialog or another part of the process
    return;
  }
  if (got < 0) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  graveyard_.clear();
  if (pending_) {
    std::exception_ptr error = pending_;
    pending_ = nullptr;
    std::rethrow_exception(error);
  }
}

void Win32Backend::Run() {
  while (!quit_.load()) PumpOne();
}

void Win32Backend::RunUntil(const std::function<bool()>& done) {
  while (!quit_.load() && !done()) PumpOne();
}

void Win32Backend::Quit() {
  quit_.store(true);
  if (IsUiThread()) return;
  std::lock_guard lock(postMu_);
  if (HWND window = messageWindow_.load()) PostMessageW(window, kWakeMessage, 0, 0);
}

void Win32Backend::Post(std::function<void()> task) {
  std::lock_guard lock(postMu_);
  posts_.push_back(std::move(task));
  if (postPending_) return;
  postPending_ = true;
  if (HWND window = messageWindow_.load()) PostMessageW(window, kPostMessage, 0, 0);
}

// One task per message, re-posted while more wait: a task that opens a modal form then still
// lets the tasks behind it run inside the modal loop, in order.
void Win32Backend::RunPosts() {
  std::function<void()> task;
  {
    std::lock_guard lock(postMu_);
    if (posts_.empty()) {
      postPending_ = false;
      return;
    }
    task = std::move(posts_.front());
    posts_.pop_front();
    if (posts_.empty())
      postPending_ = false;
    else
      PostMessageW(messageWindow_.load(), kPostMessage, 0, 0);
  }
  task();
}

Backend::TimerId Win32Backend::StartTimer(std::int64_t intervalMs, std::function<void()> tick) {
  const TimerId id = nextId_++;
  const UINT interval = static_cast<UINT>(
      intervalMs < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM
                                      : (intervalMs > 0x7FFFFFFF ? 0x7FFFFFFF : intervalMs));
  EnsureWindows();
  timers_[id] = std::move(tick);
  SetTimer(messageWindow_.load(), static_cast<UINT_PTR>(id), interval, nullptr);
  return id;
}

void Win32Backend::StopTimer(TimerId id) {
  if (timers_.erase(id) == 0) return;
  // KillTimer also drops a WM_TIMER of this timer that is already queued.
  KillTimer(messageWindow_.load(), static_cast<UINT_PTR>(id));
}

void Win32Backend::OnTimer(UINT_PTR id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  auto tick = it->second;  // the handler may stop this timer
  tick();
}

Backend::WatchId Win32Backend::WatchReadable(SocketHandle socket, std::function<void()> readable) {
  const WatchId id = nextId_++;
  const SOCKET s = static_cast<SOCKET>(socket);
  EnsureWindows();
  watches_[id] = WatchEntry{s, std::move(readable)};
  WSAAsyncSelect(s, messageWindow_.load(), kSocketMessage, FD_READ);
  return id;
}

void Win32Backend::Unwatch(WatchId id) {
  auto it = watches_.find(id);
  if (it == watches_.end()) return;
  WSAAsyncSelect(it->second.socket, messageWindow_.load(), 0, 0);
  watches_.erase(it);
}

void Win32Backend::OnSocket(SOCKET socket, LPARAM event) {
  for (const auto& [id, watch] : watches_) {
    if (watch.socket != socket) continue;
    if (WSAGETSELECTERROR(event) == 0 && !StillReadable(socket)) return;
    auto readable = watch.readable;  // the handler may close the socket
    readable();
    return;
  }
}

void Win32Backend::WaitOnUiThread(std::int64_t ms) {
  // Only painting goes on, as in a window thread that sleeps but whose windows the system still
  // shows: timers, socket events and posts stay queued until the wait ends, and input given
  // meanwhile is dropped, as the program is busy.
  ++waitDepth_;
  const std::int64_t end = clock_.NowMs() + ms;
  for (std::int64_t now = clock_.NowMs(); now < end; now = clock_.NowMs()) {
    SyncDirtyWindows();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now),
                                QS_PAINT | QS_SENDMESSAGE | kWakeOnInput, 0);
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
  }
  --waitDepth_;
  if (pending_) {
    std::exception_ptr error = pending_;
    pending_ = nullptr;
    std::rethrow_exception(error);
  }
}

int Win32Backend::screenWidth() const {
  return GetSystemMetrics(SM_CXSCREEN);
}

int Win32Backend::screenHeight() const {
  return GetSystemMetrics(SM_CYSCREEN);
}

HCURSOR Win32Backend::CurrentCursor() const {
  switch (cursor_) {
    case Cursor::HourGlass:
      return LoadCursorA(nullptr, IDC_WAIT);
    case Cursor::HandPoint:
      return LoadCursorA(nullptr, IDC_HAND);
    default:
      return LoadCursorA(nullptr, IDC_ARROW);
  }
}

void Win32Backend::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  // The shape changes at once where the pointer is over one of our windows; elsewhere the next
  // WM_SETCURSOR of our windows picks it up.
  POINT at;
  if (!GetCursorPos(&at)) return;
  HWND under = GetAncestor(WindowFromPoint(at), GA_ROOT);
  for (const auto& [form, window] : windows_)
    if (window->hwnd() == under) ::SetCursor(CurrentCursor());
}

HWND Win32Backend::ModalOwner() const {
  HWND active = GetActiveWindow();
  for (const auto& [form, window] : windows_)
    if (window->hwnd() == active && IsWindowVisible(active)) return active;
  for (const auto& [form, window] : windows_)
    if (IsWindowVisible(window->hwnd()) && IsWindowEnabled(window->hwnd())) return window->hwnd();
  return nullptr;
}

int Win32Backend::WrappedTextHeight(const std::string& text, int points, bool bold, int charset,
                                    int width) {
  // Measured as DrawLabel draws it: the same font and flags, on the screen's device context.
  const std::wstring wide = AnsiToWide(text, charset);
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, fonts().Get(points, bold, false, charset));
  RECT r{0, 0, width, 0};
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
            DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT);
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);
  return r.bottom;
}

int Win32Backend::MessageBox(const std::string& text, const std::string& caption) {
  return MessageBoxWithButtons(text, caption, kButtonsOk);
}

int Win32Backend::MessageBoxWithButtons(const std::string& text, const std::string& caption,
                                        int buttons) {
  // The texts are in the language folder's code page, whatever the system's ANSI one is.
  UINT type = MB_OK;
  if (buttons == kButtonsOkCancel) type = MB_OKCANCEL;
  if (buttons == kButtonsAbortRetryIgnore) type = MB_ABORTRETRYIGNORE;
  HWND owner = ModalOwner();
  if (owner == nullptr) type |= MB_TASKMODAL;
  SyncDirtyWindows();
  // The classic codes: IDOK 1, IDCANCEL 2, IDABORT 3, IDRETRY 4, IDIGNORE 5.
  const int answer =
      MessageBoxW(owner, AnsiToWide(text, messageCharset()).c_str(),
                  AnsiToWide(caption, kAnsiCharset).c_str(), type | MB_SETFOREGROUND);
  if (answer == 0) return buttons == kButtonsOk ? 1 : 2;
  return answer;
}

void Win32Backend::FramePresented() {
  if (!exitAfterFirstFrame_ || framePresented_) return;
  framePresented_ = true;
  ExitAfterFirstFrame();
}

}  // namespace ui::win32
