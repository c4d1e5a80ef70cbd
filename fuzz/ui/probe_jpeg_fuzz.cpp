// The header probe that start-up runs on every JPEG skin picture: any bytes either give a size
// the picture limits allow or throw PictureError, and a file that also decodes decodes to
// exactly the size the probe promised, since the control is laid out by the probe alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ui/exception.h"
#include "ui/picture.h"
#include "ui/picture_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so a read past the end is caught by the sanitizer.
  const std::vector<uint8_t> bytes(data, data + size);
  ui::PictureSize probed;
  try {
    probed = ui::ProbeJpeg(bytes.data(), bytes.size());
  } catch (const ui::PictureError&) {
    return 0;
  }
  if (!ui::PictureSizeAllowed(probed.width, probed.height)) std::abort();
  try {
    const ui::Picture picture = ui::DecodeJpeg(bytes.data(), bytes.size());
    if (picture.width != probed.width || picture.height != probed.height) std::abort();
  } catch (const ui::PictureError&) {
  }
  return 0;
}
