#pragma once

namespace zib {

// Receives the notes of the on-screen piano and the computer keyboard. The
// style playback console forwards note down to its key operation as
// (note, 1) and note up as (note, 0).
class CPianoListener {
public:
    virtual ~CPianoListener() = default;

    virtual void NoteDown(int note) = 0;
    virtual void NoteUp(int note) = 0;
};

} // namespace zib
