#pragma once

#include "docs/style/core/QeSoundList.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zib {

class QeStyleEditor;

// "Track parameters" of one element, without its window: per style track
// (DRUM .. ACC5) the sound, expression and keyboard range, and "Apply Sound
// Info To All Style Elements".
class TrackParamsDlgModel {
public:
    static constexpr int kTracks = 8;
    static constexpr int kLowestNote = 21;
    static constexpr int kHighestNote = 108;

    TrackParamsDlgModel(QeStyleEditor& editor, int element, std::string styleName);

    // Texts
    std::string ElementName() const; // for "'%s' Tracks Settings"
    const std::string& StyleName() const { return name_; }
    // "Tact:": "%d/1" .. "%d/16" of the element's signature, "?/?" beyond.
    static std::string TactText(uint8_t signature);
    std::string TactText() const { return TactText(signature_); }
    // The note names of the keyboard-range lists (21 .. 108).
    static std::vector<std::string> NoteTexts();
    // The entry of a note in those lists; -1 outside 21-108.
    static int NoteIndex(uint8_t note);
    // The sound list of the style's series, shared by every row.
    const QeSoundList& Sounds() const { return sounds_; }
    // The model letter the sound dialog gets ('F' for a Qe4k style).
    uint32_t SoundModel() const { return version_ == 0 ? 'F' : 'X'; }

    // One row
    struct Row {
        uint32_t program = 0;    // as read
        uint32_t newProgram = 0; // as chosen
        uint8_t expression = 0;
        uint8_t low = 0;
        uint8_t high = 0;
    };
    const Row& RowOf(int track) const { return rows_[size_t(track)]; }
    // The sound list entry of a row's chosen sound (-1 none).
    int SoundIndex(int track) const { return sounds_.IndexOf(rows_[size_t(track)].newProgram); }
    // A row's "Sound" list changed to entry `index`.
    void SoundChanged(int track, int index);
    // The sound dialog chose `value`: true when the row changed.
    bool SoundChosen(int track, uint32_t value);
    // The texts of the MSB, LSB and program fields of a row.
    std::array<std::string, 3> SoundBytes(int track) const;
    // A typed expression: numbers are clamped to 0-127; -1 when the text is
    // no number (the value read is kept).
    static int ParseExpression(const std::string& text);

    // OK with what the controls hold per row: the "Sound" entry (-1 none),
    // the "Expr" text and the "Key Low" / "Key Hi" entries (-1 none). Each
    // group of eight is written only when one of its values changed; with
    // "Apply to all" every other element takes the four values where they
    // differ. Returns the modified flag.
    struct Controls {
        std::array<int, kTracks> sound{};
        std::array<std::string, kTracks> expression{};
        std::array<int, kTracks> low{};
        std::array<int, kTracks> high{};
        bool applyToAll = false;
    };
    int Ok(const Controls& controls);
    int modified = 0;
    // The controls as the dialog fills them at start: OK with these changes nothing.
    Controls ControlsAtStart() const;

private:
    QeStyleEditor& editor_;
    int element_;
    std::string name_;
    uint8_t version_ = 0;
    uint8_t signature_ = 0;
    const QeSoundList& sounds_;
    std::array<Row, kTracks> rows_{};
};

} // namespace zib
