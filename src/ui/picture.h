#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// Decoded pixels, top row first, 3 bytes (R, G, B) per pixel. Backends only blit these.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

using PicturePtr = std::shared_ptr<const Picture>;

struct PictureSize {
  int width = 0;
  int height = 0;
};

// Decoders take untrusted bytes: they check every size against the buffer and throw
// PictureError for anything they cannot decode; they never read past `size`.
Picture DecodeJpeg(const std::uint8_t* data, std::size_t size);
Picture DecodeBmp(const std::uint8_t* data, std::size_t size);
// Reads and checks a JPEG's headers (markers, tables, frame) without decoding any pixel.
PictureSize ProbeJpeg(const std::uint8_t* data, std::size_t size);

// Loads a picture file; the extension (.jpg/.jpeg or .bmp, any letter case) picks the decoder.
// Throws PictureError on an empty path, a missing file or undecodable content.
Picture LoadPictureFile(const std::string& path);
// True for the extensions that name a JPEG file.
bool IsJpegPath(const std::string& path);
// The size of a JPEG file's picture from its headers; throws PictureError as LoadPictureFile does
// for a missing file or a header that does not decode.
PictureSize ProbeJpegFile(const std::string& path);

}  // namespace ui
