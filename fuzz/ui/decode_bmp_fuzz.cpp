// Any bytes either decode to a picture of the size the header gave or throw PictureError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/exception.h"
#include "ui/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const ui::Picture picture = ui::DecodeBmp(data, size);
    if (picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) std::abort();
  } catch (const ui::PictureError&) {
  }
  return 0;
}
