#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The "Arranger Info" page of STS data, without its window: style bank and
// position, tempo, initial variation and style element and the two fill
// modes. In kind 4 (a performance) bank and position can be chosen; in
// kind 2 (the STS data of a style) they are shown only.
class StsArrangerInfoPageModel {
public:
    static constexpr int kStsChunk = 2;
    static constexpr int kPerformance = 4;
    static constexpr int kMinTempo = 40;
    static constexpr int kMaxTempo = 240;

    enum class Field { Bank, Position, Variation, Element, Fill1, Fill2 };
    // One entry of a combo: its text and the value it stands for.
    struct Entry {
        std::string text;
        int value = 0;
    };

    StsArrangerInfoPageModel(std::span<const uint8_t> data, uint32_t model, int kind = kStsChunk);

    int Kind() const { return kind_; }
    // The combos: their entries, whether they can be changed, and the entry
    // of the stored value (-1 when no entry has it).
    std::vector<Entry> Entries(Field field) const;
    bool Enabled(Field field) const;
    int Selection(Field field) const;
    // A combo's selection changed to entry `index`.
    void Select(Field field, int index);

    // Tempo: the edit's text after a change (a value of 241 or more shows
    // 240: the text to put back is returned), and the spin's steps.
    std::optional<std::string> TempoTyped(const std::string& text);
    void TempoStep(int direction);

    // The values and the changed flag
    uint8_t bank = 0, position = 0, tempo = 0, variation = 0, element = 0, fill1 = 0, fill2 = 0;
    bool changed = false;

    // Category names of the banks 0-19 ("Reserved" for 16).
    static const char* CategoryName(int bank);

private:
    uint8_t& ValueOf(Field field);
    uint8_t ValueOf(Field field) const;

    uint32_t model_;
    int kind_;
};

} // namespace zib
