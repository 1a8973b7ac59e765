#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

class QeStyleEditor;

// "QE Pattern Key-Chord Settings" of one pattern, without its window: one
// list of the 264 key-chord texts (for each key C .. B the 22 chord types),
// position = key * 22 + chord.
class QeKeyChordDlgModel {
public:
    static constexpr int kEntries = 12 * 22;

    QeKeyChordDlgModel(QeStyleEditor& editor, int element, int cv, int track);

    // Element, CV and track names for the title "'%s_%s_%s' KeyChord".
    std::vector<std::string> TitleParts() const;
    static std::vector<std::string> Entries();
    // The position of the stored key and chord; -1 when either is out of
    // range (the list then shows no selection and OK keeps them).
    int SelectionAtStart() const;

    // OK with the list's position (-1 none: nothing changes; 264 or more
    // counts as 0). Chord and key are written (chord first) only when one of
    // them changed. Returns the change flag.
    int Ok(int position);
    int changed = 0;
    uint8_t chord = 0;
    uint8_t key = 0;

private:
    QeStyleEditor& editor_;
    int element_;
    int cv_;
    int track_;
};

} // namespace zib
