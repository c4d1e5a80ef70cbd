#pragma once

#include <string>

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

// A picture control. Loading sizes the control to the picture; a missing file or one whose
// headers do not decode raises PictureError and leaves the previous picture in place.
//
// The skin loads every page's pictures at start and on every page change, but only one page
// shows at a time, so a JPEG's pixels are decoded when the picture is about to be shown (or is
// asked for through picture()), once per file. A file whose headers are sound but whose pixel
// data is damaged raises PictureError then, once, as a missing file does when it is loaded.
class Image : public Control {
 public:
  Image(Form& owner, std::string name);

  void LoadPicture(const std::string& path);  // through PictureCache
  void SetPicture(PicturePtr picture);
  // The pixels; decodes a loaded file on first use. Empty when there is no picture or its
  // pixel data turned out to be damaged.
  const PicturePtr& picture() const;
  void PrepareToShow() const override;
  bool hasPicture() const { return picture_ != nullptr || !picturePath_.empty(); }
  const std::string& picturePath() const { return picturePath_; }

 private:
  mutable PicturePtr picture_;
  mutable bool decodeFailed_ = false;
  mutable bool damageReported_ = false;
  std::string picturePath_;
};

}  // namespace ui
