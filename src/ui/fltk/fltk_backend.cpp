#include "ui/fltk/fltk_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ui/ansi_text.h"
#include "ui/fltk/draw_controls.h"
#include "ui/fltk/first_frame.h"
#include "ui/fltk/form_window.h"

namespace ui::fltk {

namespace {

// FLTK's callbacks are plain functions; there is one screen backend per process.
FltkBackend* gBackend = nullptr;

void* AsData(std::uint64_t id) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id));
}
std::uint64_t AsId(void* data) {
  return reinterpret_cast<std::uintptr_t>(data);
}

bool IsInputEvent(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOVE:
    case FL_MOUSEWHEEL:
    case FL_ENTER:
    case FL_LEAVE:
    case FL_KEYDOWN:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_LEAVE:
    case FL_DND_RELEASE:
    case FL_CLOSE:
      return true;
    default:
      return false;
  }
}

}  // namespace

FltkBackend::FltkBackend() : uiThread_(std::this_thread::get_id()) {
  gBackend = this;
  // Without the lock taken once up front, Fl::awake from a worker does not wake the loop.
  Fl::lock();
  fl_close = "OK";
  fl_message_hotspot(0);
  Fl::add_check(OnCheck, this);
  const char* exitFlag = std::getenv("QUILLON_EXIT_AFTER_FIRST_FRAME");
  exitAfterFirstFrame_ = exitFlag != nullptr && std::strcmp(exitFlag, "1") == 0;
}

FltkBackend::~FltkBackend() {
  Fl::remove_check(OnCheck, this);
  for (const auto& [id, timer] : timers_) Fl::remove_timeout(OnTimeout, AsData(id));
  for (const auto& [id, watch] : watches_) Fl::remove_fd(watch.fd);
  for (auto& [form, window] : windows_) {
    window->Detach();
    delete window;
  }
  if (gBackend == this) gBackend = nullptr;
}

void FltkBackend::Run() {
  while (!quit_.load()) Fl::wait(1e20);
}

void FltkBackend::RunUntil(const std::function<bool()>& done) {
  while (!quit_.load() && !done()) Fl::wait(1e20);
}

void FltkBackend::Quit() {
  quit_.store(true);
  if (!IsUiThread()) Fl::awake();
}

void FltkBackend::Post(std::function<void()> task) {
  std::lock_guard lock(postMu_);
  posts_.push_back(std::move(task));
  if (awakePending_) return;
  awakePending_ = true;
  Fl::awake(OnAwake, this);
}

void FltkBackend::OnAwake(void* self) {
  static_cast<FltkBackend*>(self)->RunPosts();
}

// One task per wake-up, re-armed while more wait: a task that opens a modal form then still
// lets the tasks behind it run inside the modal loop, in order.
void FltkBackend::RunPosts() {
  std::function<void()> task;
  {
    std::lock_guard lock(postMu_);
    if (waitDepth_ > 0 || posts_.empty()) {
      awakePending_ = false;  // WaitOnUiThread re-arms when it ends
      return;
    }
    task = std::move(posts_.front());
    posts_.pop_front();
    if (posts_.empty())
      awakePending_ = false;
    else
      Fl::awake(OnAwake, this);
  }
  task();
}

Backend::TimerId FltkBackend::StartTimer(std::int64_t intervalMs, std::function<void()> tick) {
  const TimerId id = nextId_++;
  const double interval = static_cast<double>(intervalMs > 0 ? intervalMs : 1) / 1000.0;
  timers_[id] = TimerEntry{interval, std::move(tick)};
  Fl::add_timeout(interval, OnTimeout, AsData(id));
  return id;
}

void FltkBackend::StopTimer(TimerId id) {
  if (timers_.erase(id) == 0) return;
  Fl::remove_timeout(OnTimeout, AsData(id));
  Fl::remove_timeout(OnMissedTick, AsData(id));
}

void FltkBackend::OnTimeout(void* data) {
  FltkBackend* self = gBackend;
  if (self == nullptr) return;
  auto it = self->timers_.find(AsId(data));
  if (it == self->timers_.end()) return;
  Fl::repeat_timeout(it->second.intervalS, OnTimeout, data);
  if (self->waitDepth_ > 0) {
    it->second.missed = true;
    return;
  }
  auto tick = it->second.tick;  // the handler may stop this timer
  tick();
}

void FltkBackend::OnMissedTick(void* data) {
  FltkBackend* self = gBackend;
  if (self == nullptr) return;
  auto it = self->timers_.find(AsId(data));
  if (it == self->timers_.end()) return;
  auto tick = it->second.tick;
  tick();
}

Backend::WatchId FltkBackend::WatchReadable(SocketHandle socket, std::function<void()> readable) {
  const WatchId id = nextId_++;
  const int fd = static_cast<int>(socket);
  watches_[id] = WatchEntry{fd, std::move(readable)};
  if (waitDepth_ == 0) Fl::add_fd(fd, FL_READ, OnReadable, AsData(id));
  return id;
}

void FltkBackend::Unwatch(WatchId id) {
  auto it = watches_.find(id);
  if (it == watches_.end()) return;
  Fl::remove_fd(it->second.fd);
  watches_.erase(it);
}

void FltkBackend::OnReadable(int, void* data) {
  FltkBackend* self = gBackend;
  if (self == nullptr) return;
  auto it = self->watches_.find(AsId(data));
  if (it == self->watches_.end()) return;
  auto readable = it->second.readable;
  readable();
}

int FltkBackend::FilterDuringWait(int event, Fl_Window* window) {
  if (IsInputEvent(event)) return 1;  // swallowed: the program is busy
  return Fl::handle_(event, window);
}

void FltkBackend::WaitOnUiThread(std::int64_t ms) {
  // Painting goes on (FLTK flushes damage in every wait); input is swallowed, and our own
  // timers, sockets and posts are held until the wait ends, as a blocked window thread would.
  const Fl_Event_Dispatch previous = Fl::event_dispatch();
  if (waitDepth_++ == 0) {
    Fl::event_dispatch(FilterDuringWait);
    for (const auto& [id, watch] : watches_) Fl::remove_fd(watch.fd);
  }
  const std::int64_t end = clock_.NowMs() + ms;
  for (std::int64_t now = clock_.NowMs(); now < end; now = clock_.NowMs())
    Fl::wait(static_cast<double>(end - now) / 1000.0);
  if (--waitDepth_ > 0) return;
  Fl::event_dispatch(previous);
  for (const auto& [id, watch] : watches_) Fl::add_fd(watch.fd, FL_READ, OnReadable, AsData(id));
  for (auto& [id, timer] : timers_) {
    if (!timer.missed) continue;
    timer.missed = false;
    Fl::add_timeout(0.0, OnMissedTick, AsData(id));
  }
  std::lock_guard lock(postMu_);
  if (!posts_.empty() && !awakePending_) {
    awakePending_ = true;
    Fl::awake(OnAwake, this);
  }
}

int FltkBackend::screenWidth() const {
  return Fl::w();
}
int FltkBackend::screenHeight() const {
  return Fl::h();
}

int FltkBackend::MessageBox(const std::string& text, const std::string& caption) {
  fl_message_title(caption.c_str());
  fl_message("%s", AnsiToUtf8(text, messageCharset()).c_str());
  return 1;
}

int FltkBackend::WrappedTextHeight(const std::string& text, int points, bool bold, int charset,
                                   int width) {
  // Measured as DrawLabel draws it: the same font, wrapped at the same width.
  fl_font(bold ? FL_HELVETICA_BOLD : FL_HELVETICA, PixelsForPoints(points));
  int w = width, h = 0;
  fl_measure(AnsiToUtf8(text, charset).c_str(), w, h, 0);
  return h;
}

int FltkBackend::MessageBoxWithButtons(const std::string& text, const std::string& caption,
                                       int buttons) {
  const std::string shown = AnsiToUtf8(text, messageCharset());
  fl_message_title(caption.c_str());
  switch (buttons) {
    case kButtonsOkCancel:
      // fl_choice numbers its buttons from the left: Cancel 0, OK 1.
      return fl_choice("%s", "Cancel", "OK", nullptr, shown.c_str()) == 1 ? 1 : 2;
    case kButtonsAbortRetryIgnore:
      return 3 + fl_choice("%s", "Abort", "Retry", "Ignore", shown.c_str());
    default:
      fl_message("%s", shown.c_str());
      return 1;
  }
}

void FltkBackend::FramePresented() {
  if (!exitAfterFirstFrame_ || framePresented_) return;
  framePresented_ = true;
  // Reported from the loop, after FLTK has flushed the frame to the X server.
  Fl::add_timeout(0.0, [](void*) { ExitAfterFirstFrame(); });
}

}  // namespace ui::fltk
