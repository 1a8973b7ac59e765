#include "devices/core/MidiResult.h"

#include <algorithm>
#include <cstring>

namespace zib {

namespace {

struct ResultText {
    MidiResult result;
    std::string_view text;
};

// One text per result, in the order of their numbers.
constexpr ResultText kResultTexts[] = {
    {MidiResult::NoError, "The operation completed successfully."},
    {MidiResult::Error, "An unspecified error occurred."},
    {MidiResult::BadDeviceId, "The MIDI device number is out of range: no such device."},
    {MidiResult::NotEnabled, "The MIDI driver could not be enabled."},
    {MidiResult::Allocated, "The MIDI device is already in use by another program or port."},
    {MidiResult::InvalidHandle, "The MIDI device handle is closed or invalid."},
    {MidiResult::NoDriver, "No driver is available for this MIDI device."},
    {MidiResult::NoMemory, "Not enough memory for the MIDI operation."},
    {MidiResult::NotSupported, "The MIDI device does not support this operation."},
    {MidiResult::BadErrorNumber, "The error number is out of range."},
    {MidiResult::InvalidFlag, "An invalid flag was passed to the MIDI device."},
    {MidiResult::InvalidParameter, "An invalid parameter was passed to the MIDI device."},
    {MidiResult::Unprepared, "The MIDI buffer header has not been prepared."},
    {MidiResult::StillPlaying, "MIDI buffers are still queued on the device."},
    {MidiResult::NoMap, "No MIDI instrument map is set up."},
    {MidiResult::NotReady, "The MIDI device is busy; try again later."},
    {MidiResult::NoDevice, "The MIDI port is no longer connected."},
    {MidiResult::InvalidSetup, "The MIDI setup is invalid."},
    {MidiResult::BadOpenMode, "The MIDI operation is not allowed in this open mode."},
    {MidiResult::DontContinue, "The MIDI message was taken by a thru connection."},
};

} // namespace

std::string_view MidiResultText(MidiResult result)
{
    for (const auto& row : kResultTexts)
        if (row.result == result) return row.text;
    return {};
}

MidiResult MidiErrorText(uint32_t code, char* text, size_t size)
{
    if (text == nullptr || size == 0) return MidiResult::InvalidParameter;
    text[0] = '\0';
    const std::string_view found = MidiResultText(static_cast<MidiResult>(code));
    if (found.empty()) return MidiResult::BadErrorNumber;
    const size_t n = std::min(found.size(), size - 1);
    std::memcpy(text, found.data(), n);
    text[n] = '\0';
    return MidiResult::NoError;
}

} // namespace zib
