#pragma once

#include "docs/style/core/UlvaRfHandles.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct ULStEEditor;

namespace zib {

// The style editor of one Qe style or pad as the trees, dialogs and the edit
// frame's rebuild use it: the status queries, the values per element, chord
// variation and track, and the structural edits. The library's editor
// implements it (LibraryQeStyleEditor); tests use a fake that records every
// call that changes the style.
class QeStyleEditor {
public:
    virtual ~QeStyleEditor() = default;

    // Status: 0 absent, 1 present with every pattern flagged empty, 2 with data
    virtual int QueryStyleElem(int e) = 0;
    virtual int QueryChordVar(int e, int cv) = 0;
    virtual int QueryPattern(int e, int cv, int t) = 0;
    // Low byte of the style's version (0 Qe4k, 1 Qe9z)
    virtual uint8_t QeVersion() = 0;

    // Structure
    virtual void DeleteStyleElem(int e) = 0;
    virtual void DeleteChordVar(int e, int cv) = 0;
    virtual void DeletePattern(int e, int cv, int t) = 0;
    virtual bool ImportSmf(std::span<const uint8_t> smf, int e, int cv) = 0;
    // The chord variation as a Standard MIDI File; empty when it cannot be made.
    virtual std::vector<uint8_t> ExportSmf(int e, int cv) = 0;
    // The edited style as a serialised resource instance; empty when no
    // resource or an empty one came back.
    virtual std::vector<uint8_t> SerializedResource() = 0;

    // Element values
    virtual uint8_t Signature(int e) = 0;
    virtual void SetSignature(int e, uint8_t value) = 0;
    virtual uint8_t Ntt(int e) = 0;
    virtual void SetNtt(int e, uint8_t value) = 0;
    virtual uint8_t ChordAssign(int e, int i) = 0;
    virtual void SetChordAssign(int e, int i, uint8_t cv) = 0;
    // Track records of an element
    virtual uint8_t TrackExpression(int e, int t) = 0;
    virtual void SetTrackExpression(int e, int t, uint8_t value) = 0;
    virtual uint32_t TrackProgram(int e, int t) = 0;
    virtual void SetTrackProgram(int e, int t, uint32_t value) = 0;
    virtual uint8_t TrackKBRangeLow(int e, int t) = 0;
    virtual void SetTrackKBRangeLow(int e, int t, uint8_t note) = 0;
    virtual uint8_t TrackKBRangeHigh(int e, int t) = 0;
    virtual void SetTrackKBRangeHigh(int e, int t, uint8_t note) = 0;
    // Patterns of a chord variation
    virtual uint8_t TrackChord(int e, int cv, int t) = 0;
    virtual void SetTrackChord(int e, int cv, int t, uint8_t value) = 0;
    virtual uint8_t TrackKey(int e, int cv, int t) = 0;
    virtual void SetTrackKey(int e, int cv, int t, uint8_t value) = 0;
    // Style tracks
    virtual uint8_t TrackMode(int t) = 0;
    virtual void SetTrackMode(int t, uint8_t value) = 0;
    virtual uint8_t TrackTension(int t) = 0;
    virtual void SetTrackTension(int t, uint8_t value) = 0;

    // The library's handle when there is one (the clipboard edits work on it).
    virtual ULStEEditor* Handle() { return nullptr; }

    // Number of chord variations an element may hold: six for the
    // variations (0-3), two for the others.
    static int CvCountOf(int e) { return e < 4 ? 6 : 2; }
    // Elements of the style: 12 for a Qe9z style, else 10.
    int ElementCount() { return QeVersion() == 1 ? 12 : 10; }
};

// The library's style editor; owns its handle.
class LibraryQeStyleEditor : public QeStyleEditor {
public:
    explicit LibraryQeStyleEditor(UlsteEditorPtr handle) : handle_(std::move(handle)) {}

    // Results of FromItem: 0 made, 1 no resource instance from the data, 2 no editor.
    struct Made {
        int result = 0;
        std::unique_ptr<LibraryQeStyleEditor> editor;
    };
    // An editor over an item's data (a serialised resource instance).
    static Made FromItem(std::span<const uint8_t> data);

    int QueryStyleElem(int e) override;
    int QueryChordVar(int e, int cv) override;
    int QueryPattern(int e, int cv, int t) override;
    uint8_t QeVersion() override;
    void DeleteStyleElem(int e) override;
    void DeleteChordVar(int e, int cv) override;
    void DeletePattern(int e, int cv, int t) override;
    bool ImportSmf(std::span<const uint8_t> smf, int e, int cv) override;
    std::vector<uint8_t> ExportSmf(int e, int cv) override;
    std::vector<uint8_t> SerializedResource() override;
    uint8_t Signature(int e) override;
    void SetSignature(int e, uint8_t value) override;
    uint8_t Ntt(int e) override;
    void SetNtt(int e, uint8_t value) override;
    uint8_t ChordAssign(int e, int i) override;
    void SetChordAssign(int e, int i, uint8_t cv) override;
    uint8_t TrackExpression(int e, int t) override;
    void SetTrackExpression(int e, int t, uint8_t value) override;
    uint32_t TrackProgram(int e, int t) override;
    void SetTrackProgram(int e, int t, uint32_t value) override;
    uint8_t TrackKBRangeLow(int e, int t) override;
    void SetTrackKBRangeLow(int e, int t, uint8_t note) override;
    uint8_t TrackKBRangeHigh(int e, int t) override;
    void SetTrackKBRangeHigh(int e, int t, uint8_t note) override;
    uint8_t TrackChord(int e, int cv, int t) override;
    void SetTrackChord(int e, int cv, int t, uint8_t value) override;
    uint8_t TrackKey(int e, int cv, int t) override;
    void SetTrackKey(int e, int cv, int t, uint8_t value) override;
    uint8_t TrackMode(int t) override;
    void SetTrackMode(int t, uint8_t value) override;
    uint8_t TrackTension(int t) override;
    void SetTrackTension(int t, uint8_t value) override;
    ULStEEditor* Handle() override { return handle_.get(); }

private:
    UlsteEditorPtr handle_;
};

// Chord and key of pattern t of a present chord variation (e, cv), through
// the library's handle. The library's accessors make an absent pattern
// present (flagged empty) as they touch it; these leave an absent pattern
// absent, so that reading chord and key, or writing them to a track without
// a pattern, leaves the tracks of the chord variation as they were (an
// absent pattern's values are not saved either way).
struct QePatternChordKey {
    uint8_t chord = 0;
    uint8_t key = 0;
};
QePatternChordKey ReadQePatternChordKey(ULStEEditor* editor, int e, int cv, int t);
void WriteQePatternChordKey(ULStEEditor* editor, int e, int cv, int t, QePatternChordKey value);

// The MIDI image the library exports for chord variation (e, cv); empty
// when it has none or the two export calls do not agree.
std::vector<uint8_t> ExportCvImage(ULStEEditor* editor, int e, int cv);

} // namespace zib
