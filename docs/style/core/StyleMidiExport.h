#pragma once

#include "docs/style/core/StyUiPort.h"
#include "midi/CStyleMidiReader.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace zib {

class CStyItem;
class CStyleMidiReader;

// Style To MIDI of one style item into a folder. Wq styles: one collected
// file "<name>_COLLECT.mid" or one file per chord variation "<name>_<element>
// <digit>.mid" (elements V1-V4, I1, I2, E1, E2, F1, F2); Qe styles: one file
// collected from temporary chord-variation files "<name>_QECOLLECT.MID" (its
// log "CollectQeCVMidi.txt" beside it) or one file per chord variation
// (elements V1-V4, I1, I2, F1, F2, E1, E2, F3, I3; twelve for a Qe9z style).
// <name> is the item's name made a valid file name.
struct StyleMidiExport {
    const CStyItem* style = nullptr;
    const CStyItem* sts = nullptr; // Qe: its STS item, embedded when it holds data
    uint32_t model = 0;            // the document's model letter
    int styToMidiType = 0;         // 0 one collected file, else one file per chord variation
    bool percussionOnDrumChannel = true;
    QeCvCollectSettings qeCollect;
};

enum class StyleMidiOutcome { Converted, Failed, Skipped, Cancelled };

// Writes the files of one style. An existing collected file is asked about
// through `ask` unless `yesToAll` is set (Yes To All sets it); a style is
// converted only when every file it needed was written. Temporary files are
// removed.
StyleMidiOutcome ExportStyleToMidi(const StyleMidiExport& job, const std::filesystem::path& folder,
                                   StyUiPort& ask, bool& yesToAll);

// The events and tables of one style for the playback console, and the
// console's title (the item name, at most 16 characters).
struct StylePlayback {
    std::unique_ptr<CStyleMidiReader> reader;
    std::string title;
};

// Fills a style MIDI reader from a style item: a Wq style through
// chord-variation MIDI files written to and read back from `tempFolder`; a
// Qe style through the library's export (a Qe9z style converted to the Qe4k
// layout on a copy). Nullopt after the Wq path's message (Qe failures are
// silent).
std::optional<StylePlayback> BuildStylePlayback(const CStyItem& style, uint32_t model,
                                                const std::filesystem::path& tempFolder, bool percussionOnDrumChannel,
                                                StyUiPort& port);

// The folder of temporary files: $TMPDIR, else the system's temporary folder.
std::filesystem::path TemporaryFolder();

} // namespace zib
