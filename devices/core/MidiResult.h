#pragma once

#include <cstdint>
#include <string_view>

namespace zib {

// Results of the MIDI device layer. The numbers are the system's MIDI error
// numbers (0 success, 1-20 general, 64-71 MIDI), so stored codes and messages
// keep their meaning; the texts are in MidiResult.cpp.
enum class MidiResult : uint32_t {
    NoError = 0,
    Error = 1,           // unspecified failure
    BadDeviceId = 2,     // no device with this id
    NotEnabled = 3,      // the driver failed to enable
    Allocated = 4,       // the device is already in use
    InvalidHandle = 5,   // the handle is closed or invalid
    NoDriver = 6,        // no driver is installed for the device
    NoMemory = 7,        // memory could not be allocated
    NotSupported = 8,    // the function is not supported
    BadErrorNumber = 9,  // the error number is out of range
    InvalidFlag = 10,    // an invalid flag was passed
    InvalidParameter = 11, // an invalid parameter was passed
    Unprepared = 64,     // the header is not prepared
    StillPlaying = 65,   // buffers are still queued
    NoMap = 66,          // no instrument map
    NotReady = 67,       // the hardware is busy
    NoDevice = 68,       // the port is no longer connected
    InvalidSetup = 69,   // invalid setup
    BadOpenMode = 70,    // the operation is not allowed in this open mode
    DontContinue = 71,   // the thru device is eating a message
};

// The text of a result, or an empty view for a number without one.
std::string_view MidiResultText(MidiResult result);

// Fills `text` with the text of `code` (at most `size` - 1 characters and a
// terminator). Returns NoError, BadErrorNumber for a number without a text,
// or InvalidParameter for a null or empty buffer.
MidiResult MidiErrorText(uint32_t code, char* text, size_t size);

inline bool Succeeded(MidiResult r) { return r == MidiResult::NoError; }

} // namespace zib
