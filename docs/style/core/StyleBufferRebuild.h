#pragma once

#include "docs/style/core/StyNotice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace zib {

class CMidiParserEx;
class QeStyleEditor;

// Writing an edited chord variation back into its style: the events of the
// sequence the track editor changed become track bytes again, then a
// Standard MIDI File, which goes into the style (Qe: the style editor; Wq:
// the item's image). The edit frames call these when they close and when
// the track editor moves on to another chord variation.
//
// Results of both rebuilds: 0 nothing to do or written back, -1 the edit
// could not be written (the item is as it was), -2 the item cannot be used
// any more (the document must be aborted).

// Why track bytes could not be made.
enum class TrackBytesError { None, VexSound, SizeDiffers };

// The one track of a Qe chord variation: every event in order with its
// delta time and running status (after a meta or system-exclusive event the
// status is written again, and after a VexSound event too), a VexSound note
// as F0 09 42 3F 78 01 k c d1 d2 F7 (k 0 note off, 1 note on, c the
// channel), then the end of track on the bar line after the last event (a
// note-off on a bar line ends the bar before it), and never before the end
// of track the sequence was read with (taken up to a bar line). The deltas
// are stored in the events as they are written. Events whose index is set
// in `leftOut` are not written.
struct QeTrackBytes {
    std::vector<uint8_t> bytes;
    TrackBytesError error = TrackBytesError::None;
    uint32_t endTick = 0;
};
QeTrackBytes BuildQeTrackBytes(CMidiParserEx& sequence, const std::vector<bool>& leftOut = {});

// The tracks of a Wq chord variation: each track (0-64) with its own deltas
// and running status and 00 FF 2F 00 at its end; a track without events is
// empty.
std::vector<std::vector<uint8_t>> BuildWqTrackBytes(CMidiParserEx& sequence);

// A Standard MIDI File image of the given tracks (format 0 for one track,
// else 1); empty tracks are left out.
std::vector<uint8_t> SmfImageOf(uint16_t division, const std::vector<std::vector<uint8_t>>& tracks);

// A chord variation's export image taken apart for a paste: the export
// starts each created pattern's channel with the element's track record
// (expression, bank select MSB and LSB, program change at tick 0). Imported
// as it stands into an element that holds data, those events would become
// the patterns' own and each copy of a copy would add a set; `patterns` is
// the image without them, `records` what they set per style track.
// Nullopt when the image does not read.
struct CvTrackRecord {
    bool present = false;
    uint8_t expression = 0;
    uint32_t program = 0; // bank select MSB << 24 | LSB << 16 | program
};
struct CvImageParts {
    std::vector<uint8_t> patterns;
    std::array<CvTrackRecord, 8> records;
};
std::optional<CvImageParts> SplitCvExportImage(std::span<const uint8_t> image);

// What both rebuilds share: the edited sequence (null when there is none),
// the tree's edited flag, the messages, and the document's hooks.
struct StyleRebuildContext {
    CMidiParserEx* sequence = nullptr;
    int* edited = nullptr;
    StyNoticeSink notify;
    // Closes the document's track event-list window and clears its undo
    // manager (after a failed rebuild).
    std::function<void()> closeEventWindow;
    std::function<void()> setModified;
};

// The Qe side: the style editor, the chord variation open in the sequence,
// and where the serialised style goes (the item's data).
struct QeRebuildTarget {
    QeStyleEditor* editor = nullptr;
    uint8_t element = 255;
    uint8_t cv = 255;
    std::function<void(std::vector<uint8_t>)> storeItemData;
};
// The edited CV goes into the editor first, imported over the CV as it
// stands (its patterns keep their chords and keys, its element its
// signature and track records) and without the events the export made of
// those records; a CV that cannot be imported keeps what it held. Then,
// when the style was edited, it is serialised into the item.
int RecreateQeStyleBuffer(const StyleRebuildContext& context, const QeRebuildTarget& target);

// The Wq side: the open track and the document's replacement of one
// track's data in the item (1 done), after which the frame makes its style
// data anew over the item (false: it could not).
struct WqRebuildTarget {
    uint8_t element = 255;
    uint8_t cv = 255;
    uint8_t track = 255;
    std::function<int(std::span<const uint8_t> smf, int element, int cv, int track)> replaceTrackData;
    std::function<bool()> remakeStyleData;
};
int RecreateOldStyleBuffer(const StyleRebuildContext& context, const WqRebuildTarget& target);

} // namespace zib
