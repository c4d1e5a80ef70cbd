#include "ui/picture_cache.h"

#include <unordered_map>

namespace ui {

struct PictureCache::Impl {
  std::unordered_map<std::string, PicturePtr> pictures;
  std::unordered_map<std::string, PictureSize> sizes;
};

PictureCache& PictureCache::Instance() {
  static PictureCache cache;
  return cache;
}

PictureCache::PictureCache() : impl_(new Impl) {}

PictureCache::~PictureCache() {
  delete impl_;
}

PicturePtr PictureCache::Get(const std::string& path) {
  auto it = impl_->pictures.find(path);
  if (it != impl_->pictures.end()) return it->second;
  ++decodeCount_;
  auto picture = std::make_shared<const Picture>(LoadPictureFile(path));
  impl_->pictures.emplace(path, picture);
  return picture;
}

PictureSize PictureCache::Probe(const std::string& path) {
  if (auto it = impl_->pictures.find(path); it != impl_->pictures.end())
    return {it->second->width, it->second->height};
  if (auto it = impl_->sizes.find(path); it != impl_->sizes.end()) return it->second;
  // A bitmap is small and quick to decode; only a JPEG is worth deferring.
  if (!IsJpegPath(path)) {
    const PicturePtr picture = Get(path);
    return {picture->width, picture->height};
  }
  const PictureSize size = ProbeJpegFile(path);
  impl_->sizes.emplace(path, size);
  return size;
}

void PictureCache::Clear() {
  impl_->pictures.clear();
  impl_->sizes.clear();
}

std::size_t PictureCache::size() const {
  return impl_->pictures.size();
}

}  // namespace ui
