#include "platform/drive_path.h"

namespace platform {

// On Windows the drive names are the real ones.
std::string LocalDrivePath(const std::string& name) {
  return name;
}

}  // namespace platform
