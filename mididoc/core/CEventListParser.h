#pragma once

#include "midi/CMidiParserEx.h"

namespace zib {

// The editable sequence behind the pad-track and style-track lists: the
// sequence of a chord variation exported as a format-0 file, read as
// CMidiParserEx reads it, except that the system-exclusive messages that
// carry VEX Noise notes become note events flagged VEX Noise (0x10) and every
// other system-exclusive message is dropped.
//
// VEX Noise message data (after the status and length):
//   0 DaskMidiId   1 0x3F   2 0x78   3 not read
//   4 0 note-off, 1 note-on (anything else: dropped)
//   5 channel c (0-15; above: dropped)   6 note   7 velocity
// The note goes on track c + 1 with status 0x80|c or 0x90|c and 11 raw bytes
// (note, velocity, nine zeros); it counts and pairs as a channel note does.
// A message under 8 data bytes is dropped.
class CEventListParser : public CMidiParserEx {
public:
    CEventListParser();
    ~CEventListParser() override;

protected:
    int OnSysEx() override;
};

} // namespace zib
