#include "ui/core/OpenEditCommands.h"

#include "ui/core/CommandIds.h"

#include <algorithm>
#include <array>

namespace zib {

bool CommandCommitsOpenEdits(int command)
{
    static constexpr std::array kCommands = {
        // saving and closing
        cmd::FileSave, cmd::FileSaveAs, cmd::FileClose, cmd::WindowClose,
        // playing
        cmd::MidiPlay, cmd::MidiRecord, cmd::StartStopPlayback,
        // the text dumps and conversions that write the document elsewhere
        cmd::MidiToText, cmd::FileTextDump, cmd::MidiToWqStyle, cmd::MidiToQe4kStyle, cmd::StyleToMidi,
        cmd::StyDumpToText, cmd::ExtractItem, cmd::PadToMidi};
    return std::find(kCommands.begin(), kCommands.end(), command) != kCommands.end();
}

} // namespace zib
