#pragma once

#include "ui/core/ToolbarChoice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace zib {

// The "Choose Sorting Method" dialog (181): 0 "Quick Sort" (radio 1550), 1 "Insert Sort" (1551).
struct SortMethodDlgModel {
    static constexpr int kQuickSort = 1550;
    static constexpr int kInsertSort = 1551;

    uint32_t method = 0;

    int CheckedAtStart() const { return method != 0 ? kInsertSort : kQuickSort; }
    void Ok(int checkedRadio) { method = checkedRadio == kQuickSort ? 0 : 1; }
};

// The "Transpose Settings" dialog (182): bit i set = channel i + 1 is not
// transposed; boxes "Channel1" .. "Channel16" are 1552 .. 1567.
struct TransposeSettingsDlgModel {
    static constexpr int kFirstBox = 1552;

    uint32_t mask = 512;

    bool CheckedAtStart(int channel) const { return (mask >> channel) & 1; }
    // The mask from the sixteen boxes; every other bit is cleared.
    void Ok(const std::array<bool, 16>& boxes)
    {
        mask = 0;
        for (int i = 0; i < 16; ++i)
            if (boxes[size_t(i)]) mask |= 1u << i;
    }
};

// The "Get Keyboard Type" dialog (190): one radio per model letter; QE4K is shown disabled.
struct KeyboardTypeDlgModel {
    struct Radio {
        int id;
        uint32_t code;
        std::string_view label;
    };
    static constexpr std::array<Radio, 6> kRadios{{
        {1576, 57, "Wq8"},
        {1577, 60, "WQ6Q/M"},
        {1578, 72, "WqT517"},
        {1579, 77, "WqR65/WqR27"},
        {1580, 73, "Wq41"},
        {1581, 70, "QE4K"},
    }};
    static constexpr int kDisabledRadio = 1581;

    uint32_t code = 57;

    // The radio checked at start: the one of the code, 0 for none.
    int CheckedAtStart() const
    {
        for (const auto& r : kRadios)
            if (r.code == code) return r.id;
        return 0;
    }
    // OK: the checked radio gives the code; with none checked the code stays.
    void Ok(int checkedRadio)
    {
        for (const auto& r : kRadios)
            if (r.id == checkedRadio) code = r.code;
    }
};

// The "Toolbars" dialog (249): nine boxes, one per visibility flag of the
// main frame. Each click applies at once through `apply`.
class ToolbarsDlgModel {
public:
    struct Box {
        int id;
        BarFlag flag;
        std::string_view label;
    };
    static constexpr std::array<Box, 9> kBoxes{{
        {1905, BarFlag::Standard, "Common"},
        {1911, BarFlag::StyDoc, "Style"},
        {1913, BarFlag::MoveItem, "MoveItem"},
        {1912, BarFlag::StyleTree, "StyleTree"},
        {1906, BarFlag::MidiDoc, "MidiEdit"},
        {1907, BarFlag::MidiPlay, "MidiPlay"},
        {1910, BarFlag::MidiTempo, "MidiTempo"},
        {1908, BarFlag::MidiPosition, "MidiPosition"},
        {1909, BarFlag::MidiSelection, "MidiSelect"},
    }};

    // `kind` is the window-kind code of the active child (ToolbarsDialogKind).
    ToolbarsDlgModel(int kind, const BarFlags& flags, std::function<void(BarFlag, bool)> apply = {});

    // Box states at start
    bool enabled(int boxId) const;
    bool checked(int boxId) const;

    // A click: the flag takes the box's state and the bar follows at once.
    void Click(int boxId, bool state);

    const BarFlags& flags() const { return flags_; }

private:
    int kind_;
    BarFlags flags_;
    std::function<void(BarFlag, bool)> apply_;
};

} // namespace zib
