#pragma once

namespace zib {

// Numbers of the localized message table that the MIDI document core reports.
inline constexpr int kMsgNoMemory = 2;                     // "Memory allocation failed!"
inline constexpr int kMsgActionFinished = 4;               // "Action successfully finished"
inline constexpr int kMsgNoFocusedItem = 23;               // "There is no focused item"
inline constexpr int kMsgNoSelectedItem = 24;              // "There is no selected item"
inline constexpr int kMsgLimitReached = 25;                // "Insertion stopped - LIMIT reached!"
inline constexpr int kMsgCannotAttach = 33;                // "Cannot attach to clipboard"
inline constexpr int kMsgCannotGetData = 34;               // "Cannot get clipboard data"
inline constexpr int kMsgEmptyFile = 46;                   // "File possibly corrupted - empty file"
inline constexpr int kMsgCannotCreateViewer = 59;          // "Cannot create text viewer window"
inline constexpr int kMsgCannotOpenReport = 60;            // "Cannot open report file"
inline constexpr int kMsgCannotUpdateDescription = 61;     // "Cannot update text description file"
inline constexpr int kMsgCannotChangeTrackProperties = 62; // "Fatal error - Cannot change track properties"
inline constexpr int kMsgCannotCreateTemplate = 68;        // "Cannot create new midi template"
inline constexpr int kMsgFromThruEqual = 69;               // "From-Thru positions are equal - no events for transposition!"
inline constexpr int kMsgCannotCreateTrack = 70;           // "Cannot create track object"
inline constexpr int kMsgCannotAllocateEvent = 89;         // "Cannot allocate space for midi event"
inline constexpr int kMsgCannotCreateEvent = 90;           // "Error: cannot create midi event"
inline constexpr int kMsgCannotShift = 91;                 // "Fatal error - Cannot shift MIDI events"
inline constexpr int kMsgCannotPaste = 96;                 // "Cannot paste data"
inline constexpr int kMsgConvertToWqStyle = 110;           // "Convert MIDI to Wq-series style"
inline constexpr int kMsgConvertToQeStyle = 111;           // "Convert MIDI to Qe-series style"

} // namespace zib
