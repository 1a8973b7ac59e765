#pragma once

namespace zib {

// How a command of the MIDI document core ended.
enum class EditResult {
    Done,                // the document changed (or a copy was made)
    Nothing,             // nothing to do: no selection, nothing to copy, nothing pasted ...
    Cancelled,           // a dialog was cancelled
    RefusedWhilePlaying, // the playing flag was set: nothing changed
    Unavailable,         // the command does not apply here (no private format, another kind of list ...)
    Failed,              // the command failed; its message was reported
};

} // namespace zib
