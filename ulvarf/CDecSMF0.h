#pragma once

#include "ulvarf/PropEvent.h"
#include "ulvarf/SmfCvData.h"

#include "platform/ByteCursor.h"

#include <cstdint>
#include <span>

namespace zib::ulvarf {

// How extracting an event ended.
enum class SmfExtract : uint8_t {
    Event, // an event was given
    End,   // the end of track, or the track's last byte after a whole event
    Error, // bytes that are not an event (traced); nothing past them is read
};

// Decodes a format-0 Standard MIDI File (one "MTrk" chunk) into property
// events with their ticks rescaled to 384 per quarter note:
// - delta times of at most 4 bytes; each delta d becomes
//   (d x 384 + carry) / division, the remainder carried into the next one
//   (64-bit, so no legal delta overflows); a division of 0 keeps the deltas;
// - channel messages with running status become cells of kind
//   (status >> 4) - 8 whose track is the MIDI channel; a note on with
//   velocity 0, and a note off whose velocity byte is missing, become note
//   offs with velocity 64; controllers 120-127 become kind 8;
// - F0 42 3x 78 01 b c d e F7 becomes VexSound off (b = 0) or on (b = 1) on
//   channel c, key d, velocity e;
// - FF 7F 42 60 s ... becomes a control event (meta 0x7E: s and 4 bytes
//   for s = 8, 1 for s = 9 or 11, 3 for s = 10, the rest for s = 7; missing
//   bytes read as 0); s = 5 or 6 is dropped; any other FF 7F stays meta 0x7F;
//   FF 7E is dropped; other metas and system exclusive pass as they are.
class CDecSMF0 {
public:
    explicit CDecSMF0(std::span<const uint8_t> image);

    // Header: "MThd" of at least 6 bytes inside the image, format 0, one
    // track, a division in ticks per quarter note (SMPTE refused), then the
    // head of an "MTrk" chunk. False (traced) otherwise. A track chunk longer
    // than the rest of the image is decoded up to the image's end.
    bool Open();
    uint16_t division() const { return division_; }

    // Events (Open first)
    SmfExtract ExtractEvent(PropEvent& event);
    // Tick of the event given last, 384 per quarter note, not cut to 32 bits
    // (the event's own tick is cut at 0xFFFFFFFF).
    uint64_t tick() const { return tick_; }
    // After the end: whether another "MTrk" chunk follows the track (a file
    // of more than one track, whatever its header says; traced).
    bool HasSecondTrack();

    // Loads one chord variation from a Standard MIDI File (two passes over
    // the file, see CDecSMF0.cpp). False, with `result` untouched, when the
    // header is refused; a decoding fault ends the track where it stands and
    // what came before it is imported.
    static bool ImportCv(std::span<const uint8_t> smf, const SmfImportTarget& target, SmfImportResult& result);

private:
    bool extractChannel(uint8_t status, PropEvent& event, SmfExtract& step);
    bool extractMeta(PropEvent& event, bool& keep, SmfExtract& step);
    bool extractSysEx(uint8_t status, PropEvent& event, SmfExtract& step);
    SmfExtract unexpectedEnd();
    void Trace(const char* text) const;

    zib::ByteCursor image_;
    zib::ByteCursor track_;
    size_t trackEnd_ = 0; // offset of the first byte after the track chunk
    uint16_t division_ = 0;
    bool open_ = false;
    bool done_ = false;
    bool traces_ = true; // off for a second pass over what was traced already
    uint8_t runningStatus_ = 0;
    uint64_t tick_ = 0;
    uint64_t carry_ = 0;
};

} // namespace zib::ulvarf
