#pragma once

#include <cstdint>

namespace zib {

// The "Select Style To MIDI conversion metod" dialog (213): StyToMidiType
// 0 = one collected MIDI file (radio 1637), 1 = one MIDI file per CV (1638).
struct StyToMidiMethodDlgModel {
    static constexpr int kOneFileRadio = 1637;
    static constexpr int kMultipleFilesRadio = 1638;

    uint32_t method = 0;

    int CheckedAtStart() const { return method != 0 ? kMultipleFilesRadio : kOneFileRadio; }
    void Ok(int checkedRadio) { method = checkedRadio == kOneFileRadio ? 0 : 1; }
};

} // namespace zib
