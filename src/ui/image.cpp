#include "ui/image.h"

#include <cstdio>

#include "ui/exception.h"
#include "ui/form.h"
#include "ui/picture_cache.h"

namespace ui {

Image::Image(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Image) {}

void Image::LoadPicture(const std::string& path) {
  // Probe throws before anything changes, so a failed load keeps the previous picture.
  const PictureSize size = PictureCache::Instance().Probe(path);
  const bool same = path == picturePath_;
  if (!same) {
    picture_.reset();
    decodeFailed_ = damageReported_ = false;
  }
  picturePath_ = path;
  SetBounds(left(), top(), size.width, size.height);
  if (!same) Changed();
  if (visible() && form().visible()) PrepareToShow();
}

void Image::SetPicture(PicturePtr picture) {
  picturePath_.clear();
  decodeFailed_ = damageReported_ = false;
  const bool same = picture == picture_;
  picture_ = std::move(picture);
  if (picture_) SetBounds(left(), top(), picture_->width, picture_->height);
  if (!same) Changed();
}

// Decoding here rather than while drawing lets the damage reach the user: drawing has nowhere
// to report it to. The damage is reported once: a button shown on every move of the mouse or
// every Tab would otherwise bring the same error back each time, and the picture stays empty.
void Image::PrepareToShow() const {
  if (picture_ || picturePath_.empty() || damageReported_) return;
  try {
    picture_ = PictureCache::Instance().Get(picturePath_);
    decodeFailed_ = false;
  } catch (const PictureError&) {
    decodeFailed_ = true;
    damageReported_ = true;
    throw;
  }
}

const PicturePtr& Image::picture() const {
  if (!picture_ && !picturePath_.empty() && !decodeFailed_) {
    try {
      picture_ = PictureCache::Instance().Get(picturePath_);
    } catch (const PictureError& e) {
      decodeFailed_ = true;
      std::fprintf(stderr, "picture %s: %s\n", name().c_str(), e.what());
    }
  }
  return picture_;
}

}  // namespace ui
