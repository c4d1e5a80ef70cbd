#pragma once

#include <string>

#include "ui/control.h"
#include "ui/picture.h"

namespace ui {

// A picture control. Loading sizes the control to the picture; a missing or undecodable file
// raises PictureError and leaves the previous picture in place.
class Image : public Control {
 public:
  Image(Form& owner, std::string name);

  void LoadPicture(const std::string& path);  // through PictureCache
  void SetPicture(PicturePtr picture);
  const PicturePtr& picture() const { return picture_; }
  const std::string& picturePath() const { return picturePath_; }

 private:
  PicturePtr picture_;
  std::string picturePath_;
};

}  // namespace ui
