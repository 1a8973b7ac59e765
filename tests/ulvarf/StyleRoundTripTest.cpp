// The property: a random style model written as a resource and read back is
// the model as written (after the writer's pruning), field by field.

#include "ulvarf/CNstQeIfc.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/CStyleEditor.h"
#include "ulvarf/QeTime.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/ulvarf/PropEventSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::SampleRandom;

// Fills an editor's model at random: style fields, elements with random
// signatures, track records, chord assign and NTT, CVs of 1-4 bars with
// tempo changes, and patterns of the CV's length, some empty, some long
// enough to be split, some repeated figures, some shared with other CVs.
void randomModel(CNstStyle& style, SampleRandom& r)
{
    std::string name;
    for (uint32_t i = 0, n = r.below(32); i < n; ++i) name += char(1 + r.below(255));
    style.SetName(name);
    style.version = int(r.below(2));
    style.typeForcing = r.below(2) != 0;
    for (size_t t = 0; t < 8; ++t) {
        style.tracks[t] = {uint8_t(r.below(4)), uint8_t(r.below(2)), uint8_t(r.below(2)), uint8_t(r.below(256))};
        style.trackPatternType[t] = uint8_t(r.below(3));
    }
    style.styleByteA = uint8_t(r.below(256));
    style.styleByteB = uint8_t(r.below(256));

    std::vector<Bytes> shared;
    for (int e = 0; e < 12; ++e) {
        if (e > 0 && r.below(3) == 0) continue;
        CNstStyleElem& element = style.Element(e);
        element.numerator = uint8_t(1 + r.below(16));
        element.log2Denominator = uint8_t(r.below(5));
        element.ntt = uint8_t(r.below(4));
        for (uint8_t& a : element.chordAssign) a = uint8_t(r.below(6));
        for (CNstTrackRecord& rec : element.tracks) {
            rec = {uint8_t(r.below(128)), uint8_t(r.below(128)), uint8_t(r.below(128)),
                   uint8_t(r.below(128)), uint8_t(r.below(128)), uint8_t(r.below(128))};
        }
        const uint32_t bar = BarLength(element.numerator, element.log2Denominator);
        for (int c = 0; c < 6; ++c) {
            if ((e > 0 || c > 0) && r.below(2)) continue;
            CNstChordVar& cv = style.ChordVar(e, c);
            cv.bars = uint8_t(1 + r.below(4));
            cv.length = cv.bars * bar;
            zib::test::PropStreamBuilder tempo;
            const uint32_t changes = r.below(3);
            for (uint32_t i = 0; i < changes; ++i) tempo.tempo(i * bar / 2, uint8_t(1 + r.below(255)));
            cv.stream = changes ? tempo.end(cv.length) : Bytes();
            for (int t = 0; t < 8; ++t) {
                // Element 0 always has data, so the writer never makes it.
                if ((e > 0 || c > 0 || t > 0) && r.below(3) == 0) continue;
                Bytes stream;
                if (r.below(4) == 0 && !shared.empty()) {
                    stream = shared[r.below(uint32_t(shared.size()))];
                    if (CPropEventList::Decode(stream).endTick() != cv.length) continue;
                } else if (bar == 1536 && r.below(4) == 0) {
                    stream = zib::test::repeatedPropFigure(r, cv.bars, 50 + r.below(40));
                } else {
                    const uint32_t events = r.below(4) ? r.below(60) : 120 + r.below(300);
                    stream = zib::test::randomPropPattern(r, cv.length, e + c + t == 0 ? events + 1 : events);
                }
                shared.push_back(stream);
                CNstPattern& pattern = style.Pattern(e, c, t);
                pattern.SetStream(stream);
                pattern.length = cv.length;
                pattern.bars = cv.bars;
                pattern.chord = uint8_t(r.below(22));
                pattern.key = uint8_t(r.below(12));
            }
        }
    }
}

// What the resource does not store comes back as in "New Style".
void expectSameStyle(const CNstStyle& want, const CNstStyle& got)
{
    const auto fresh = CNstQeIfc::NewStyle();
    EXPECT_EQ(got.name(), want.name());
    EXPECT_EQ(got.version, want.version);
    EXPECT_EQ(got.release, want.version ? 2 : 0);
    EXPECT_TRUE(got.typeForcing);
    for (size_t t = 0; t < 8; ++t) {
        EXPECT_EQ(got.tracks[t].mode, want.tracks[t].mode);
        EXPECT_EQ(got.tracks[t].tension, want.tracks[t].tension);
        EXPECT_EQ(got.tracks[t].thirdFlag, want.version ? want.tracks[t].thirdFlag : fresh->tracks[t].thirdFlag);
        EXPECT_EQ(got.tracks[t].trackByte, want.version ? want.tracks[t].trackByte : fresh->tracks[t].trackByte);
        if (want.QueryPattern(0, 0, int(t)) == 0) {
            EXPECT_EQ(got.trackPatternType[t], fresh->trackPatternType[t]);
        }
    }
    EXPECT_EQ(got.styleByteA, want.version ? want.styleByteA : 0);
    EXPECT_EQ(got.styleByteB, want.version ? want.styleByteB : 0);
    for (int e = 0; e < 12; ++e) {
        ASSERT_EQ(got.QueryStyleElem(e), want.QueryStyleElem(e)) << e;
        const CNstStyleElem* we = want.FindElement(e);
        if (!we) continue;
        const CNstStyleElem& ge = *got.FindElement(e);
        EXPECT_EQ(ge.numerator, we->numerator);
        EXPECT_EQ(ge.log2Denominator, we->log2Denominator);
        EXPECT_EQ(ge.ntt, we->ntt);
        EXPECT_EQ(ge.chordAssign, we->chordAssign);
        for (size_t t = 0; t < 8; ++t) {
            const CNstTrackRecord& a = ge.tracks[t];
            const CNstTrackRecord& b = we->tracks[t];
            EXPECT_EQ((Bytes{a.expression, a.bankMsb, a.bankLsb, a.program, a.rangeLow, a.rangeHigh}),
                      (Bytes{b.expression, b.bankMsb, b.bankLsb, b.program, b.rangeLow, b.rangeHigh}));
        }
        for (int c = 0; c < 6; ++c) {
            ASSERT_EQ(got.QueryChordVar(e, c), want.QueryChordVar(e, c)) << e << " " << c;
            const CNstChordVar* wc = want.FindChordVar(e, c);
            if (!wc) continue;
            const CNstChordVar& gc = *got.FindChordVar(e, c);
            EXPECT_EQ(gc.length, wc->length);
            EXPECT_EQ(gc.bars, wc->bars);
            EXPECT_EQ(gc.numerator, we->numerator);
            EXPECT_EQ(gc.stream, wc->stream);
            for (int t = 0; t < 8; ++t) {
                ASSERT_EQ(got.QueryPattern(e, c, t), want.QueryPattern(e, c, t)) << e << " " << c << " " << t;
                const CNstPattern& wp = wc->patterns[size_t(t)];
                if (!wp.created()) continue;
                const CNstPattern& gp = gc.patterns[size_t(t)];
                const uint8_t type = want.typeForcing ? want.trackPatternType[size_t(t)] : wp.type;
                EXPECT_EQ(gp.type, type);
                EXPECT_EQ(gp.chord, type ? wp.chord : 0);
                EXPECT_EQ(gp.key, type ? wp.key : 0);
                EXPECT_EQ(gp.numerator, we->numerator);
                EXPECT_EQ(gp.log2Denominator, we->log2Denominator);
                EXPECT_EQ(gp.bars, wc->bars);
                EXPECT_EQ(gp.length, wp.length);
                // Extended or split patterns are re-encoded with both switches
                // off: the same events, notes with a duration as pairs.
                EXPECT_EQ(playedEvents(gp.stream), playedEvents(wp.stream));
                if (e == 0 && c == 0) {
                    EXPECT_EQ(got.trackPatternType[size_t(t)], type);
                }
            }
        }
    }
}

TEST(StyleRoundTrip, ARandomModelReadsBackAsItWasWritten)
{
    SampleRandom random(99);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        auto editor = CStyleEditor::NewStyle(round % 2 == 1);
        editor->SetTempo(int(40 + random.below(200)));
        randomModel(editor->style(), random);
        auto resource = editor->CreateResource(); // prunes the model
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource->type(), round % 2 ? 9 : 2);
        EXPECT_TRUE(resource->chunk().flags() & 0x20);

        zib::test::TraceCapture trace;
        auto back = CStyleEditor::FromResource(*resource);
        ASSERT_TRUE(back);
        for (const std::string& text : trace.texts()) EXPECT_NE(text.rfind("Warning!", 0), 0u) << text;
        EXPECT_EQ(back->type9(), round % 2 == 1);
        // The tempo is the editor's, not the resource's.
        EXPECT_EQ(back->tempo(), CStyleEditor::kDefaultTempo);
        expectSameStyle(editor->style(), back->style());

        // Written again, the style read back gives the same resource from
        // then on (the first write may force other pattern types).
        auto again = back->CreateResource();
        ASSERT_TRUE(again);
        auto backAgain = CStyleEditor::FromResource(*again);
        ASSERT_TRUE(backAgain);
        auto third = backAgain->CreateResource();
        ASSERT_TRUE(third);
        Bytes second(again->SerialisedSize()), last(third->SerialisedSize());
        ASSERT_TRUE(again->PutSerialised(second));
        ASSERT_TRUE(third->PutSerialised(last));
        EXPECT_EQ(second, last);
    }
}

} // namespace
} // namespace zib::ulvarf
