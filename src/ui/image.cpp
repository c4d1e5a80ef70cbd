#include "ui/image.h"

#include "ui/picture_cache.h"

namespace ui {

Image::Image(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Image) {}

void Image::LoadPicture(const std::string& path) {
  // Get throws before anything changes, so a failed load keeps the previous picture.
  PicturePtr picture = PictureCache::Instance().Get(path);
  SetPicture(std::move(picture));
  picturePath_ = path;
}

void Image::SetPicture(PicturePtr picture) {
  picturePath_.clear();
  const bool same = picture == picture_;
  picture_ = std::move(picture);
  if (picture_) SetBounds(left(), top(), picture_->width, picture_->height);
  if (!same) Changed();
}

}  // namespace ui
