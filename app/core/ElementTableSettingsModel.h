#pragma once

#include "app/core/ConversionSeries.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// What the chord-table and key-chord pages of a MIDI-to-style settings sheet
// share: a byte table with values per style element of the series, shown one
// element at a time (its choices reach the table when another element is
// chosen and on OK), and the determination switch: 0 the converter uses the
// table, 1 it finds the values itself.
class ElementTableSettingsModel {
public:
    static constexpr int kAcceptUserRadio = 1623;     // determination 0
    static constexpr int kLetApplicationRadio = 1624; // determination 1

    virtual ~ElementTableSettingsModel() = default;

    // Controls
    ConversionSeries series() const { return series_; }
    int ElementCount() const { return ElementCountOf(series_); }
    int ElementRadioId(int element) const; // Wq 1001 + e, Qe 1639 + e

    // State
    int determination() const { return determination_; }
    int element() const { return element_; }
    const std::vector<uint8_t>& table() const { return table_; }
    int CheckedDeterminationRadio() const { return determination_ ? kLetApplicationRadio : kAcceptUserRadio; }
    // Element radios (and the boxes) are usable only with user-defined settings.
    bool ElementsEnabled() const { return determination_ == 0; }

    // Actions. `chosen` holds the text each box of the page shows ("" = none).
    // Another element: the shown element's choices are stored first.
    void ChooseElement(int element, std::span<const std::string> chosen);
    // A determination radio was checked.
    void ChooseDetermination(int radioId);
    // OK (and Apply): the shown element's choices are stored, the
    // determination taken from the checked radio.
    void Ok(std::span<const std::string> chosen, int checkedDeterminationRadio);

    // The table as the setting's letters.
    std::string Letters() const;

protected:
    ElementTableSettingsModel(ConversionSeries series, int determination, std::vector<uint8_t> table);
    // The shown element's choices into the table.
    virtual void StoreElement(std::span<const std::string> chosen) = 0;

    std::vector<uint8_t> table_;

private:
    ConversionSeries series_;
    int determination_;
    int element_ = 0;
};

} // namespace zib
