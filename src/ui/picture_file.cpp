#include <algorithm>
#include <cctype>
#include <fstream>

#include "ui/exception.h"
#include "ui/picture.h"

namespace ui {

namespace {

std::string LowerExtension(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

// The whole file in one read: start-up reads every page's picture headers, and a byte-wise
// read cost more than the parsing.
std::vector<std::uint8_t> ReadPictureBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw PictureError("Cannot open file \"" + path + "\"");
  const std::streamoff size = in.tellg();
  if (size < 0) throw PictureError("Cannot read file \"" + path + "\"");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw PictureError("Cannot read file \"" + path + "\"");
  return bytes;
}

}  // namespace

bool IsJpegPath(const std::string& path) {
  const std::string ext = LowerExtension(path);
  return ext == ".jpg" || ext == ".jpeg";
}

PictureSize ProbeJpegFile(const std::string& path) {
  if (path.empty()) throw PictureError("No picture file name");
  if (!IsJpegPath(path)) throw PictureError("Not a JPEG file name (" + path + ")");
  const std::vector<std::uint8_t> bytes = ReadPictureBytes(path);
  try {
    return ProbeJpeg(bytes.data(), bytes.size());
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " (" + path + ")");
  }
}

Picture LoadPictureFile(const std::string& path) {
  if (path.empty()) throw PictureError("No picture file name");
  const std::string ext = LowerExtension(path);
  const bool jpeg = ext == ".jpg" || ext == ".jpeg";
  if (!jpeg && ext != ".bmp") throw PictureError("Unknown picture file extension (" + ext + ")");
  const std::vector<std::uint8_t> bytes = ReadPictureBytes(path);
  try {
    return jpeg ? DecodeJpeg(bytes.data(), bytes.size()) : DecodeBmp(bytes.data(), bytes.size());
  } catch (const PictureError& e) {
    throw PictureError(std::string(e.what()) + " (" + path + ")");
  }
}

}  // namespace ui
