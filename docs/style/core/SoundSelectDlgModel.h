#pragma once

#include "docs/style/core/QeSoundList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

// "Sounds", the choice of one sound from the sound list of a model, without
// its window: the list, the entry of the current sound and the title of a
// selection.
class SoundSelectDlgModel {
public:
    // Model 'F' gives the Qe4k list, anything else the Qe9z list.
    SoundSelectDlgModel(uint32_t model, uint32_t current);

    const QeSoundList& List() const { return list_; }
    // The entry of the current sound; -1 when the list has none.
    int SelectionAtStart() const { return list_.IndexOf(current_); }
    // The title for a selected entry: "Sounds: (%d,%d,%d) - %s" with MSB,
    // LSB, program and name; "Sounds" without a selection. The arguments of
    // the format come in `args`.
    std::string TitleFormat(int selection) const;
    std::vector<std::string> TitleArgs(int selection) const;

    // OK: the chosen sound (the current one without a selection).
    uint32_t Ok(int selection) const;

private:
    const QeSoundList& list_;
    uint32_t current_;
};

} // namespace zib
