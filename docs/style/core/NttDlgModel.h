#pragma once

#include <cstdint>
#include <string>

namespace zib {

class QeStyleEditor;

// "QE NTT" of one element, without its window: four radio buttons
// "Transpose Root" (0), "Transpose 5th" (1), "wq-series compatibility" (2)
// and "No Transpose" (3).
class NttDlgModel {
public:
    static constexpr int kButtons = 4;

    NttDlgModel(QeStyleEditor& editor, int element);

    std::string ElementName() const; // for "'%s' NTT"
    static const char* ButtonText(int button);
    // The button checked at start; -1 for an NTT above 3 (none is checked).
    int ButtonAtStart() const { return ntt <= 3 ? ntt : -1; }

    // OK with the checked button (-1 none: the NTT is kept). Written only
    // when it changed. Returns the change flag.
    int Ok(int button);
    int changed = 0;
    uint8_t ntt = 0;

private:
    QeStyleEditor& editor_;
    int element_;
};

} // namespace zib
