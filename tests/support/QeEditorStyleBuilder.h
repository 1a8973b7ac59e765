#pragma once

#include <cstdint>
#include <vector>

struct ULStEEditor;

namespace zib::test {

// Builds Qe style resources through the library's style-editor exports (the
// way a style document makes them): start from "New Style", load chord
// variations from format-0 MIDI files, set fields, then take the serialised
// resource instance. Linking it needs the UlvaRf library.
class QeEditorStyleBuilder {
public:
    QeEditorStyleBuilder();
    ~QeEditorStyleBuilder();
    QeEditorStyleBuilder(const QeEditorStyleBuilder&) = delete;
    QeEditorStyleBuilder& operator=(const QeEditorStyleBuilder&) = delete;

    // CV (e, cv) from a format-0 Standard MIDI File (fails the test when refused)
    QeEditorStyleBuilder& cv(int e, int cv, const std::vector<uint8_t>& smf);
    // A CV whose notes play on the channels of `tracks` (style tracks 0-7),
    // `bars` bars of 4/4 at 384 ticks per quarter note
    QeEditorStyleBuilder& cvWithNotes(int e, int cv, std::vector<int> tracks, int bars = 1);

    // Fields
    QeEditorStyleBuilder& name(const char* name);
    QeEditorStyleBuilder& trackMode(int t, uint8_t mode);
    QeEditorStyleBuilder& tension(int t, uint8_t tension);
    QeEditorStyleBuilder& ntt(int e, uint8_t ntt);
    QeEditorStyleBuilder& chordAssign(int e, int i, uint8_t cv);
    QeEditorStyleBuilder& range(int e, int t, uint8_t low, uint8_t high);
    QeEditorStyleBuilder& program(int e, int t, uint32_t value);
    QeEditorStyleBuilder& chordKey(int e, int cv, int t, uint8_t chord, uint8_t key);

    ULStEEditor* editor() { return editor_; }

    // The serialised resource instance (type 2, ids 0)
    std::vector<uint8_t> resource();

private:
    ULStEEditor* editor_ = nullptr;
};

// Style track t to its MIDI channel (0-based): 9, 10, 8, 11 ... 15
int qeTrackChannel(int t);

// A CV file at 384 ticks per quarter note: 4/4, for each style track in
// `tracks` expression 100, bank 0/0 and program t + 1 at tick 0, and one note
// per beat over `bars` bars on its channel. Format 0 is one track (what the
// library imports); format 1 puts tempo and signature in a track of their own
// (what the collectors read).
std::vector<uint8_t> qeCvSmf(const std::vector<int>& tracks, int bars = 1, int format = 0);

} // namespace zib::test
