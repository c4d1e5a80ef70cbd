#include "ui/application.h"

#include <cstdlib>

namespace ui {

Application::Application(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {}

Application::~Application() = default;

void Application::Terminate() {
  backend_->Quit();
}

bool Application::terminated() const {
  return backend_->quitRequested();
}

void Application::Run() {
  backend_->Run();
}

int Application::MessageBox(const std::string& text) {
  return backend_->MessageBox(text, title_);
}

void Application::ShowException(const std::exception& e) {
  MessageBox(e.what());
}

void Application::Guard(const std::function<void()>& handler) {
  // Only ordinary errors become the exception display; anything else (a test's HaltRequested,
  // a stalled headless loop) is meant to unwind further.
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

void Application::Halt(int code) {
  if (haltHandler_) haltHandler_(code);
  // A handler must not return; if one does, the process still ends as asked.
  std::exit(code);
}

}  // namespace ui
