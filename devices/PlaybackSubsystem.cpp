#include "devices/PlaybackSubsystem.h"

#include "ui/ZibSubsystems.h"
#include "devices/CPlayMidiFile.h"

namespace zib {

void ConnectPlayback(ZibSubsystems& subsystems)
{
    subsystems.CreatePlayMidiFile = [](ZibMdiParentFrame& frame, const wxString& path, uint8_t* playing) -> wxWindow* {
        return new CPlayMidiFile(frame, path, playing);
    };
}

} // namespace zib
