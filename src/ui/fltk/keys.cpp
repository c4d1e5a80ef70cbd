#include "ui/fltk/keys.h"

#include <FL/Enumerations.H>

#include "ui/form.h"

namespace ui::fltk {

int VirtualKey(int key) {
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  if ((key >= '0' && key <= '9') || key == ' ') return key;
  if (key >= FL_F + 1 && key <= FL_F + 24) return kKeyF1 + (key - FL_F - 1);
  if (key >= FL_KP + '0' && key <= FL_KP + '9') return 96 + (key - FL_KP - '0');
  switch (key) {
    case FL_BackSpace:
      return kKeyBack;
    case FL_Tab:
      return kKeyTab;
    case FL_Enter:
    case FL_KP_Enter:
      return kKeyReturn;
    case FL_Escape:
      return kKeyEscape;
    case FL_Shift_L:
    case FL_Shift_R:
      return 16;
    case FL_Control_L:
    case FL_Control_R:
      return 17;
    case FL_Alt_L:
    case FL_Alt_R:
      return 18;
    case FL_Pause:
      return 19;
    case FL_Caps_Lock:
      return 20;
    case FL_Page_Up:
      return 33;
    case FL_Page_Down:
      return 34;
    case FL_End:
      return 35;
    case FL_Home:
      return 36;
    case FL_Left:
      return 37;
    case FL_Up:
      return 38;
    case FL_Right:
      return 39;
    case FL_Down:
      return 40;
    case FL_Insert:
      return 45;
    case FL_Delete:
      return 46;
    default:
      return 0;
  }
}

int ShiftState(int state) {
  int shift = 0;
  if (state & FL_SHIFT) shift |= kShiftShift;
  if (state & FL_ALT) shift |= kShiftAlt;
  if (state & FL_CTRL) shift |= kShiftCtrl;
  return shift;
}

}  // namespace ui::fltk
