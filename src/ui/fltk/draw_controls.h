#pragma once

#include <map>
#include <memory>

#include "ui/picture.h"

class Fl_RGB_Image;

namespace ui {
class Control;
class Image;
class Label;
class Panel;
class ProgressBar;
}  // namespace ui

namespace ui::fltk {

// FLTK images over our decoded pictures. An FLTK image keeps a server-side copy after its first
// draw, so each picture is converted once however often the page is redrawn.
class PictureImages {
 public:
  PictureImages();
  ~PictureImages();
  Fl_RGB_Image& For(const PicturePtr& picture);
  // Forgets the pictures no control holds any more.
  void Prune();

 private:
  struct Entry {
    PicturePtr picture;
    std::unique_ptr<Fl_RGB_Image> image;
  };
  std::map<const Picture*, Entry> images_;
};

// Each draws one control in window coordinates, clipped to its bounds.
void DrawImage(const Image& image, PictureImages& images);
void DrawPanel(const Panel& panel);
// The keyboard's mark around a control that shows its focus as a frame.
void DrawFocusFrame(const Control& control);
void DrawLabel(const Label& label);
void DrawProgressBar(const ProgressBar& bar);

// Points as the forms give them to FLTK pixels on a 96 dpi screen.
int PixelsForPoints(int points);

}  // namespace ui::fltk
