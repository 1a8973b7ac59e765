#pragma once

#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zib {

class CWqStyleFile;
class QeStyleEditor;

// The MIDI files the style and pad trees make of a chord variation: to
// play it (Play CV, Play Track) and to load it into the track editor.

// A Qe chord variation (or only its track's channel, of QeTrackChannelTable)
// as a format-0 file: 1 written, 0 not (after the message of a failed
// conversion, caption "CreateMidiFromQeCvOrTrack", or of a file that cannot
// be written, caption "CreateMidiFromQeCvOrTr"). Track 255: every track.
int CreateMidiFromQeCvOrTrack(QeStyleEditor& editor, int element, int cv, int track,
                              const std::filesystem::path& file, bool percussionOnDrumChannel,
                              const StyNoticeSink& notify);

// A Wq chord variation (all tracks) as the image the track editor loads:
// written to a file of its own in `folder`, read back and the file deleted.
// Empty when it cannot be made (after "Cannot create SMF buffer", caption
// "OnOldStyTrackMidiEdit", when the file cannot be read back).
std::vector<uint8_t> WqCvImage(const CWqStyleFile& style, int element, int cv, const std::filesystem::path& folder,
                               const StyNoticeSink& notify);

} // namespace zib
