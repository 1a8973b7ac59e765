#pragma once

#include "mididoc/core/TrackPropertiesDlgModel.h"

namespace zib {

// What the Track Properties dialog offers, taken from the application: the
// instrument definitions (loaded when first needed), the port-instrument
// relations, the user's MIDI OUT ports and their names.
TrackPropertiesSources AppTrackPropertiesSources();
// The relations as they are now, for the dialog to show again.
std::vector<TrackPropertiesSources::Relation> AppPortRelations();

} // namespace zib
