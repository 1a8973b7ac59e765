#pragma once

#include "ui/core/ChildKind.h"

namespace zib {

enum class CloseDecision { Close, Refuse };

// Whether the main frame may close. It refuses whenever MIDI is playing,
// whichever child is active: closing would destroy the views that the MIDI
// callback thread still writes to.
CloseDecision MainFrameCloseDecision(ChildKind active, bool midiPlaying);

} // namespace zib
