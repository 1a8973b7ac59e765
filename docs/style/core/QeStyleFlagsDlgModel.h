#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zib {

class QeStyleEditor;

// "Style Flags" of a Qe style, without its window: per style track a mode
// (row "Silent" 0, "Re-Trig" 1, "Re-Pitch" 2) and a tension box.
class QeStyleFlagsDlgModel {
public:
    static constexpr int kTracks = 8;
    enum Row : int { kSilent = 0, kReTrig = 1, kRePitch = 2 };

    QeStyleFlagsDlgModel(QeStyleEditor& editor, std::string styleName);

    const std::string& StyleName() const { return name_; }
    // The row checked at start: mode 1 "Re-Trig", 2 "Re-Pitch", any other "Silent".
    int RowAtStart(int track) const;
    bool TensionAtStart(int track) const { return tensions_[size_t(track)] == 1; }

    // OK with the checked rows and tension boxes: the eight modes are written
    // when a row is not the one checked at start (a mode no row stands for
    // then becomes 0), the eight tensions likewise; confirming without a
    // change writes nothing. Returns the change flag.
    int Ok(const std::array<int, kTracks>& rows, const std::array<bool, kTracks>& tension);
    int changed = 0;

private:
    QeStyleEditor& editor_;
    std::string name_;
    std::array<uint8_t, kTracks> modes_{};
    std::array<uint8_t, kTracks> tensions_{};
};

} // namespace zib
