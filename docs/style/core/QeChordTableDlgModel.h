#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zib {

class QeStyleEditor;

// "Edit QE Chord Table" of one element, without its window: for each of the
// 22 chord types the chord variation it plays, chosen among the present CVs.
class QeChordTableDlgModel {
public:
    static constexpr int kChordTypes = 22;

    QeChordTableDlgModel(QeStyleEditor& editor, int element);

    // The element's name for the title "'%s' Chord Table".
    std::string ElementName() const;
    // "Major:" .. "No3rdNo5th:", the labels of the lists.
    static std::string ChordLabel(int chordType);
    // The CV names every list offers (the present CVs in order).
    std::vector<std::string> OfferedNames() const;
    // The entry a list selects at start; -1 when its CV is not offered.
    int SelectionAtStart(int chordType) const;

    // OK with each list's selection (-1 none: CV1): the 22 bytes are written
    // only when a list is not as at start and one of them changed. Returns
    // the change flag.
    int Ok(const std::array<int, kChordTypes>& selections);
    int changed = 0;

private:
    QeStyleEditor& editor_;
    int element_;
    std::vector<int> offered_; // CV numbers
    std::array<uint8_t, kChordTypes> initial_{};
};

} // namespace zib
