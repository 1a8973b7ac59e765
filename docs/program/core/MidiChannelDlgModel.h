#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

// The "Midi Channel" dialog (201) of one channel record without its window:
// the record's label and a drop-down list sorted as text ("1", "10" to "16",
// "2" to "9", and "OFF" last where the record offers it) with the current
// channel selected (none for a channel that has no entry).
class MidiChannelDlgModel {
public:
    MidiChannelDlgModel(std::string label, uint32_t datum);

    std::string label;
    std::vector<std::string> options;
    int selection = -1;

    // OK: the datum with bits 16-23 the chosen channel (OFF 0xFF); without a
    // selection the datum as it came.
    uint32_t Ok() const;

private:
    uint32_t datum_;
};

} // namespace zib
