#pragma once

#include "ulvarf/CEncoderBase.h"
#include "ulvarf/PropEvent.h"
#include "ulvarf/SmfCvData.h"

#include "platform/ByteWriter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zib::ulvarf {

// Writes property events as a format-0 Standard MIDI File of one track at
// 384 ticks per quarter note:
//
//   offset  bytes  content
//   0       14     "MThd", length 6, format 0, 1 track, division 0x0180
//   14      8      "MTrk", big-endian length of the track data (set at Close)
//   22      ...    events: delta as a variable-length quantity, then the event
//
// Event forms (channel = the low 4 bits of the event's track):
//   0 note off            8n key velocity (or 9n key 0 when set so)
//   1, 2, 6               9n / An / En with two data bytes
//   3, 8                  Bn controller value
//   4, 5                  Cn / Dn with one data byte
//   7 note with duration  note on now, its note off at tick + duration
//   12, 13 VexSound       F0 09 42 3F 78 01 (0 off, 1 on) channel key velocity F7
//   14 VexSound w. dur.   as 7, with VexSound on and off
//   meta (not 0x7E)       FF type length data
//   meta 0x7E (control)   FF 7F (length + 2) 42 60 data
//   sysex modes 0, 1      F0 (length - 1) data after the F0
//   sysex modes 2, 3      F7 length data
// Channel messages use running status; meta, sysex and VexSound messages
// clear it. Notes still sounding at the end of track (a pending off, or a
// note on that never met its off) are ended there, before the one end of
// track the file gets.
class CEncoderSMF0 : public CEncoderBase {
public:
    CEncoderSMF0();

    // Writing
    // Header and an empty "MTrk".
    void Open(bool noteOffAsNoteOn = false);
    // Writes the end of track at the tick when none was written yet, then
    // the track length; the image is complete.
    bool Close(uint32_t endTick);
    const std::vector<uint8_t>& bytes() const { return out_.bytes(); }
    std::vector<uint8_t> Take() { return out_.take(); }

    // Renders one chord variation as a file: at tick 0 the tempo (when
    // above 0) and the time signature, then for each created pattern its
    // track record (controllers 11, 0, 32 and the program) on its channel,
    // then every created pattern, repeated over the CV length and put on its
    // track's channel, merged by tick with the CV's own tempo changes. The
    // patterns' own ends of track are left out; the file has one, at the CV
    // length. A meta or sysex event that another source already wrote with
    // the same bytes at the same tick is written once. Nothing when the
    // signature has no bar length or the bytes cannot be written.
    static std::optional<std::vector<uint8_t>> ExportCv(const SmfExportCv& cv);

protected:
    bool OnChannelMsg(const PropEvent& event) override;
    bool OnMetaEvent(const PropEvent& event) override;
    bool OnSysExEvent(const PropEvent& event) override;
    bool OnEndOfTrack(uint32_t tick) override;

private:
    bool writeDelta(uint32_t tick);
    bool writeChannel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2, bool twoBytes);
    bool writeVexSound(uint32_t tick, bool on, uint8_t channel, uint8_t key, uint8_t velocity);
    void countNote(size_t table, uint8_t channel, uint8_t key, bool on);

    zib::ByteWriter out_;
    bool noteOffAsNoteOn_ = false;
    uint8_t runningStatus_ = 0;
    uint32_t writtenTick_ = 0;
    bool endWritten_ = false;
    // Notes and sounds sounding now, by channel x 128 + key (0: notes, 1: sounds)
    std::array<std::vector<uint16_t>, 2> sounding_;
};

} // namespace zib::ulvarf
