#include "ui/picture_cache.h"

#include <unordered_map>

namespace ui {

struct PictureCache::Impl {
  std::unordered_map<std::string, PicturePtr> pictures;
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

void PictureCache::Clear() {
  impl_->pictures.clear();
}

std::size_t PictureCache::size() const {
  return impl_->pictures.size();
}

}  // namespace ui
