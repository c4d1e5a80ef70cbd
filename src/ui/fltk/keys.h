#pragma once

namespace ui::fltk {

// The virtual key code of an FLTK key (Fl::event_key()), or 0 for keys the forms never see.
int VirtualKey(int fltkKey);
// ShiftBits of an FLTK event state (Fl::event_state()).
int ShiftState(int fltkState);

}  // namespace ui::fltk
