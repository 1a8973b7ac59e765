#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// Where and what a paste of an event block takes, as the paste dialog gives
// it to the paste.
struct PasteOptions {
    int mode = 1;             // 1: into the MIDI document's tracks; else into an event list
    uint32_t startTick = 0;
    int startTrack = 1;       // 1-64
    bool oneTrack = false;
    // The kinds of events the block holds (in) and the user keeps (out):
    // track events, markers, tempo changes, time-signature ("tact") changes.
    enum Kind { TrackEvents, Markers, TempoChanges, TactChanges };
    std::array<bool, 4> kinds{true, true, true, true};
    bool operator==(const PasteOptions&) const = default;
};

// "Paste MIDI events": the start position, the start track and the
// one-track switch of a document paste, and an "Events to Paste:" panel
// that opens on demand.
class PasteEventsDlgModel {
public:
    static constexpr int kMinTrack = 1;
    static constexpr int kMaxTrack = 64;

    explicit PasteEventsDlgModel(const PasteOptions& given) : given_(given) {}

    bool TrackControlsEnabled() const { return given_.mode == 1; }
    // A one-track flag given set stays set.
    bool OneTrackEditable() const { return given_.mode == 1 && !given_.oneTrack; }
    // A kind the block does not hold cannot be chosen.
    bool KindEnabled(PasteOptions::Kind kind) const { return given_.kinds[size_t(kind)]; }
    const PasteOptions& Given() const { return given_; }

    bool DetailsShown() const { return details_; }
    void ToggleDetails() { details_ = !details_; }
    std::string_view DetailsButtonText() const { return details_ ? "Show Less Details" : "Show More Details"; }

    // While typing the start track: above 64 the edit shows 64 (the text to show).
    std::optional<std::string> TypeStartTrack(std::string_view text) const;

    // OK: the start track is kept to 1-64 (0 would reach the master track).
    PasteOptions Ok(uint32_t startTick, std::string_view startTrackText, bool oneTrack,
                    const std::array<bool, 4>& kinds) const;

private:
    PasteOptions given_;
    bool details_ = false;
};

} // namespace zib
