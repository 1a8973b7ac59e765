#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The sound, volume and pan rows of STS data, without a window: the eight
// style tracks of the "Style Performance" page or the four realtime tracks
// (LOW, UP1, UP2, UP3) of one STS block on the "Realtime tracks: Sound,
// Vol, Pan" page.
class StsTrackPageModel {
public:
    static constexpr uint8_t kPanOff = 255;

    // The style performance page: records from offset 136.
    static StsTrackPageModel StylePerformance(std::span<const uint8_t> data, uint32_t model);
    // The STS page of the block at `ordinal` (records 113 bytes into the
    // block at 432 + 261 * ordinal).
    static StsTrackPageModel Realtime(std::span<const uint8_t> data, uint32_t model, int slot, int ordinal);

    struct Row {
        std::string name; // "DRUM" .. "ACC5" or "LOW" .. "UP3"
        uint32_t sound = 0;
        uint8_t volume = 0;
        uint8_t pan = 0;
    };
    const std::vector<Row>& Rows() const { return rows_; }
    bool IsRealtime() const { return realtime_; }
    uint32_t Model() const { return model_; }
    int Slot() const { return slot_; }
    int Ordinal() const { return ordinal_; }

    // The sound box of a row: "(%d,%d,%d) - %s" of MSB, LSB, program and the
    // sound's name; after a sound was chosen the style page shows that text
    // without outer blanks and the STS page the name alone.
    std::string SoundText(int row) const;
    // The sound dialog chose `sound` for a row: true when it changed.
    bool SoundChosen(int row, uint32_t sound);

    // Volume: a typed text (128 or more becomes 127 and that text is
    // returned to be put back) and the spin's steps.
    std::optional<std::string> VolumeTyped(int row, const std::string& text);
    void VolumeStep(int row, int direction);

    // Pan combo: "Off" (255), then the 128 pan texts of 0-127.
    static std::vector<std::string> PanTexts();
    static uint8_t PanOfEntry(int index) { return index == 0 ? kPanOff : uint8_t(index - 1); }
    // The entry of a row's pan: "Off" for 255, -1 for 128-254.
    int PanSelection(int row) const;
    void PanSelected(int row, int index);

    bool changed = false;

private:
    StsTrackPageModel(std::span<const uint8_t> data, uint32_t model, size_t first, std::vector<std::string> names,
                      bool realtime);

    std::vector<Row> rows_;
    uint32_t model_;
    bool realtime_;
    bool soundChosen_ = false;
    int slot_ = 0;
    int ordinal_ = 0;
};

} // namespace zib
