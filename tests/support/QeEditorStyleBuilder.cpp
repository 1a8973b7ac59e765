#include "tests/support/QeEditorStyleBuilder.h"

#include <gtest/gtest.h>

#include "tests/support/SmfBuilder.h"
#include "ulvarf/ulvarf.h"

namespace zib::test {

int qeTrackChannel(int t)
{
    static constexpr int kChannels[8] = {9, 10, 8, 11, 12, 13, 14, 15};
    return t >= 0 && t < 8 ? kChannels[t] : 0;
}

std::vector<uint8_t> qeCvSmf(const std::vector<int>& tracks, int bars, int format)
{
    SmfBuilder smf(uint16_t(format), 384);
    SmfTrack& meta = smf.AddTrack();
    meta.Tempo(0, 500000).TimeSig(0, 4, 2);
    SmfTrack& track = format == 0 ? meta : smf.AddTrack();
    for (int t : tracks) {
        const int ch = qeTrackChannel(t);
        track.Controller(0, ch, 11, 100)
            .Controller(0, ch, 0, 0)
            .Controller(0, ch, 32, 0)
            .Program(0, ch, t + 1);
    }
    for (int beat = 0; beat < bars * 4; ++beat)
        for (int t : tracks) {
            const int ch = qeTrackChannel(t);
            track.NoteOn(uint32_t(beat * 384), ch, 36 + t * 5 + beat % 3, 100);
            track.NoteOff(uint32_t(beat * 384 + 192), ch, 36 + t * 5 + beat % 3);
        }
    meta.EndAt(uint32_t(bars * 1536));
    track.EndAt(uint32_t(bars * 1536));
    return smf.Build();
}

QeEditorStyleBuilder::QeEditorStyleBuilder() : editor_(_ULStECreateInstance(nullptr)) {}

QeEditorStyleBuilder::~QeEditorStyleBuilder()
{
    _ULStEDeleteInstance(editor_);
}

QeEditorStyleBuilder& QeEditorStyleBuilder::cv(int e, int cv, const std::vector<uint8_t>& smf)
{
    EXPECT_TRUE(_ULStEImportSmf(editor_, smf.data(), uint32_t(smf.size()), e, cv))
        << "element " << e << " cv " << cv;
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::cvWithNotes(int e, int cvIndex, std::vector<int> tracks, int bars)
{
    return cv(e, cvIndex, qeCvSmf(tracks, bars));
}

QeEditorStyleBuilder& QeEditorStyleBuilder::name(const char* text)
{
    _ULStESetName(editor_, text);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::trackMode(int t, uint8_t mode)
{
    _ULStESetTrackMode(editor_, t, &mode);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::tension(int t, uint8_t value)
{
    _ULStESetTrackTension(editor_, t, &value);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::ntt(int e, uint8_t value)
{
    _ULStESetNTT(editor_, e, &value);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::chordAssign(int e, int i, uint8_t cvIndex)
{
    _ULStESetChordAssign(editor_, e, i, &cvIndex);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::range(int e, int t, uint8_t low, uint8_t high)
{
    _ULStESetTrackKBRangeLow(editor_, e, t, &low);
    _ULStESetTrackKBRangeHigh(editor_, e, t, &high);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::program(int e, int t, uint32_t value)
{
    _ULStESetTrackProgram(editor_, e, t, &value);
    return *this;
}

QeEditorStyleBuilder& QeEditorStyleBuilder::chordKey(int e, int cvIndex, int t, uint8_t chord, uint8_t key)
{
    _ULStESetTrackChord(editor_, e, cvIndex, t, &chord);
    _ULStESetTrackKey(editor_, e, cvIndex, t, &key);
    return *this;
}

std::vector<uint8_t> QeEditorStyleBuilder::resource()
{
    ULRFResInstance* instance = _ULStECreateResource(editor_);
    EXPECT_NE(instance, nullptr);
    if (!instance) return {};
    const int size = _ULRFResInstanceSize(instance);
    std::vector<uint8_t> out(size > 0 ? size_t(size) : 0);
    EXPECT_TRUE(_ULRFPutResInstance(instance, out.data(), uint32_t(out.size())));
    _ULRFDelResInstance(instance);
    return out;
}

} // namespace zib::test
