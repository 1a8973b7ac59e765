#include "devices/PlaybackSubsystem.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "devices/CBarViewHostFrame.h"
#include "devices/CPlayMidiFile.h"
#include "devices/CZibMidBarView.h"
#include "devices/dialogs/CRecordInputDlg.h"
#include "platform/WxText.h"

#include <wx/textctrl.h>

namespace zib {

void ConnectPlayback(ZibSubsystems& subsystems)
{
    subsystems.CreatePlayMidiFile = [](ZibMdiParentFrame& frame, const wxString& path, uint8_t* playing) -> wxWindow* {
        return new CPlayMidiFile(frame, path, playing);
    };
}

} // namespace zib
