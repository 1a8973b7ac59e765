#pragma once

#include <wx/event.h>

namespace zib {

// The program's two private window messages ("Sty-Harvoll-Dunmore" and
// "Prg-Harvoll-Dunmore"). They are registered at start-up; no code posts or
// handles them yet.
wxDECLARE_EVENT(EVT_ZIB_STY_MESSAGE, wxCommandEvent);
wxDECLARE_EVENT(EVT_ZIB_PRG_MESSAGE, wxCommandEvent);

// The value of an in-place value editor reached its owner: GetInt() is the
// new value, GetExtraLong() the row in the low 16 bits and the column in the
// high 16 bits (the Windows WM_USER + 1 of the position dialog).
wxDECLARE_EVENT(EVT_ZIB_POSITION_VALUE, wxCommandEvent);

// The MIDI player's end of playback, posted from a MIDI callback thread to
// the bar view (the Windows WM_USER + 1): GetInt() is the code (101 when all
// buffers came back, 0 after a failed restart) for
// CMidiBarPlayer::FinishMidiPlayback.
wxDECLARE_EVENT(EVT_ZIB_PLAYBACK_END, wxCommandEvent);

// Any display change of the MIDI player posted from a MIDI callback thread
// (position and tempo texts, cursor, editors following the played tick):
// the window reads the player's state when it handles it.
wxDECLARE_EVENT(EVT_ZIB_PLAYBACK_DISPLAY, wxCommandEvent);

} // namespace zib
