#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "ui/exception.h"
#include "ui/picture.h"
#include "ui/picture_limits.h"

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>

namespace ui {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. We leave through
// longjmp back into DecodeRows, whose frame holds only trivially destructible objects, and turn
// the error into a PictureError there.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// A progressive file may carry thousands of tiny scans; a real picture has a dozen or so.
constexpr int kMaxScans = 256;

void OnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings (premature end of data, corrupt entropy data) mean a damaged file: libjpeg would fill
// the rest with grey and carry on, but a damaged skin picture is an error for us.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level < 0) OnError(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(errors->message, sizeof errors->message, "too many scans");
    std::longjmp(errors->jump, 1);
  }
}

// The CMYK that libjpeg hands back is stored inverted by the programs that write Adobe markers.
void CmykRowToRgb(const JSAMPLE* in, std::uint8_t* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[0] = static_cast<std::uint8_t>(c * k / 255);
    out[1] = static_cast<std::uint8_t>(m * k / 255);
    out[2] = static_cast<std::uint8_t>(y * k / 255);
  }
}

struct Decoder {
  jpeg_decompress_struct info;
  ErrorManager errors;
  jpeg_progress_mgr progress;
};

// Sets libjpeg up with our error handling; `d` must stay where it is until it is destroyed.
void CreateDecoder(Decoder& d) {
  d.info.err = jpeg_std_error(&d.errors.base);
  d.errors.base.error_exit = OnError;
  d.errors.base.emit_message = OnMessage;
  d.progress.progress_monitor = OnProgress;
  jpeg_create_decompress(&d.info);
  d.info.progress = &d.progress;
}

bool HeaderSizeAllowed(Decoder& d) {
  if (PictureSizeAllowed(d.info.image_width, d.info.image_height)) return true;
  std::snprintf(d.errors.message, sizeof d.errors.message, "picture too large (%ux%u)",
                d.info.image_width, d.info.image_height);
  return false;
}

// Returns false with errors.message set on any libjpeg failure. `picture` and `cmykRow` live in
// the caller's frame, so nothing that needs a destructor is skipped by a longjmp out of here.
bool DecodeRows(Decoder& d, const std::uint8_t* data, std::size_t size, Picture& picture,
                std::vector<JSAMPLE>& cmykRow) {
  if (setjmp(d.errors.jump) != 0) return false;
  jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.info, TRUE);
  if (!HeaderSizeAllowed(d)) return false;
  const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
  d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&d.info);
  const JDIMENSION width = d.info.output_width;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(d.info.output_height);
  picture.rgb.assign(static_cast<std::size_t>(width) * d.info.output_height * 3, 0);
  if (cmyk) cmykRow.assign(static_cast<std::size_t>(width) * 4, 0);
  const bool inverted = d.info.saw_Adobe_marker != 0;
  while (d.info.output_scanline < d.info.output_height) {
    std::uint8_t* dest = picture.rgb.data() + std::size_t(d.info.output_scanline) * width * 3;
    JSAMPROW row = cmyk ? cmykRow.data() : dest;
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) {
      std::snprintf(d.errors.message, sizeof d.errors.message, "no scanline decoded");
      return false;
    }
    if (cmyk) CmykRowToRgb(cmykRow.data(), dest, width, inverted);
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

bool ReadHeaderOnly(Decoder& d, const std::uint8_t* data, std::size_t size, PictureSize& out) {
  if (setjmp(d.errors.jump) != 0) return false;
  jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.info, TRUE);
  if (!HeaderSizeAllowed(d)) return false;
  out.width = static_cast<int>(d.info.image_width);
  out.height = static_cast<int>(d.info.image_height);
  return true;
}

}  // namespace

PictureSize ProbeJpeg(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 4) throw PictureError("JPEG image is too short");
  Decoder d{};
  CreateDecoder(d);
  PictureSize found{};
  const bool ok = ReadHeaderOnly(d, data, size, found);
  jpeg_destroy_decompress(&d.info);
  if (!ok) throw PictureError(std::string("JPEG error: ") + d.errors.message);
  return found;
}

Picture DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 4) throw PictureError("JPEG image is too short");
  Decoder d{};
  CreateDecoder(d);
  Picture picture;
  std::vector<JSAMPLE> cmykRow;
  bool ok = false;
  try {
    ok = DecodeRows(d, data, size, picture, cmykRow);
  } catch (...) {
    jpeg_destroy_decompress(&d.info);
    throw;
  }
  jpeg_destroy_decompress(&d.info);
  if (!ok) throw PictureError(std::string("JPEG error: ") + d.errors.message);
  return picture;
}

}  // namespace ui
