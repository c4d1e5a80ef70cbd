#pragma once

#include <stdexcept>
#include <string>

namespace ui {

// The framework's exception class: what the application's exception display shows.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Raised by a picture control when its file is missing, unreadable or not a picture we decode.
class PictureError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace ui
