#pragma once

#include <string>

#include "ui/picture.h"

namespace ui {

// The skin is re-applied on every page change, so each file is decoded once and shared after
// that. The cache is keyed by path; it is cleared when the language folder changes, since another
// language brings other files under possibly the same names. UI thread only.
class PictureCache {
 public:
  static PictureCache& Instance();

  // Throws PictureError as LoadPictureFile does; a failure is not cached.
  PicturePtr Get(const std::string& path);
  // The picture's size, with its file checked as far as that is cheap: a JPEG's headers only
  // (its pixels are decoded when first drawn), a bitmap fully. Throws PictureError.
  PictureSize Probe(const std::string& path);
  void Clear();
  std::size_t size() const;
  std::size_t decodeCount() const { return decodeCount_; }

 private:
  struct Impl;
  PictureCache();
  ~PictureCache();
  Impl* impl_;
  std::size_t decodeCount_ = 0;
};

}  // namespace ui
