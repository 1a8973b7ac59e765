#include "devices/core/BarViewCommands.h"

#include "ui/core/PlayerSlot.h"
#include "devices/core/PlaybackEngine.h"

namespace zib {

bool RouteBarViewCommand(int command, PlaybackEngine& engine, PlayerSlot& player)
{
    switch (command) {
    case barcmd::Play:
    case barcmd::Stop: player.StartStop(&engine, kMidiBarViewPlayer); return true;
    case barcmd::Record: engine.OnRecord(); return true;
    case barcmd::GoToEnd: engine.GoToEnd(); return true;
    case barcmd::Rewind: engine.Rewind(); return true;
    case barcmd::PrevMeasure: engine.PrevBar(); return true;
    case barcmd::NextMeasure: engine.NextBar(); return true;
    case barcmd::SetFrom: engine.SetFromAtPosition(); return true;
    case barcmd::SetThru: engine.SetThruBeforeMeasure(); return true;
    case barcmd::Loop: engine.ToggleLoop(); return true;
    case barcmd::SetTempo: engine.RefreshEventEditor(); return true;
    case barcmd::GoToFrom:
        if (!player.IsPlaying()) engine.GoToStartMarker();
        return true;
    case barcmd::GoToThru:
        if (!player.IsPlaying()) engine.GoToEndMarker();
        return true;
    default: return false;
    }
}

} // namespace zib
