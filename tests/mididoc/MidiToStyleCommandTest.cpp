#include "mididoc/core/MidiToStyleCommand.h"

#include "mididoc/core/CZibMidDoc.h"
#include "styles/CWqStyleData.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"
#include "ulvarf/ulvarf.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

constexpr int kDrum = 10;

// A MIDI file with the style text commands of a series (Wq: text events,
// Qe: markers): one element, one CV, eight drum notes.
std::vector<uint8_t> styleMidi(StyleSeries series)
{
    const int metaType = series == StyleSeries::Wq ? StyleMidiBuilder::kText : StyleMidiBuilder::kMarker;
    StyleMidiBuilder b;
    b.Command(0, "Name: Pop", metaType);
    b.Command(1, "Element: VAR1", metaType).Command(1, series == StyleSeries::Wq ? "CV: CMajor" : "CV: C Major", metaType);
    for (int beat = 0; beat < 8; ++beat)
        b.NoteSpan(kDrum, b.Bar(1) + uint32_t(beat) * 96, b.Bar(1) + uint32_t(beat) * 96 + 48, 36, 100);
    b.EndAt(b.Bar(3));
    return b.Build();
}

std::string fileText(const std::filesystem::path& path)
{
    const auto bytes = readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(MidiToStyleCommand, DefaultNamesDropTheExtensionAndTheCollectSuffix)
{
    struct Case {
        const char* title;
        StyleSeries series;
        const char* name;
    };
    for (const Case& c : {
             Case{"Pop_COLLECT.MID", StyleSeries::Wq, "Pop.STY"},
             Case{"Pop_COLLECT.MID", StyleSeries::Qe, "Pop_COLLECT.STY"},
             Case{"Pop_QECOLLECT.MID", StyleSeries::Qe, "Pop.STY"},
             Case{"Pop_QECOLLECT.MID", StyleSeries::Wq, "Pop_QECOLLECT.STY"},
             Case{"My.Song.mid", StyleSeries::Wq, "My.Song.STY"},
             Case{"NoExtension", StyleSeries::Qe, "NoExtension.STY"},
             Case{"A_COLLECT_B.mid", StyleSeries::Wq, "A.STY"},
         }) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(MidiToStyleDefaultName(c.title, c.series), c.name);
    }
}

TEST(MidiToStyleCommand, WqSeriesStyleFromADocumentOpensAsAStyle)
{
    TempDir dir;
    auto doc = loadDocument(styleMidi(StyleSeries::Wq), (dir / "Pop.mid").string());
    for (char model : {'9', 'M'}) {
        SCOPED_TRACE(model);
        const auto target = dir / (std::string("Pop") + model + ".STY");
        const auto log = dir / std::string(kMidiToStyleLogName);
        const MidiToStyleOutcome o =
            RunMidiToStyle(*doc, StyleSeries::Wq, target, uint32_t(model), {}, {}, log);
        ASSERT_EQ(o.code, 0) << o.errorText;
        EXPECT_TRUE(o.logWritten);
        EXPECT_NE(fileText(log).find("Number of errors found: 0"), std::string::npos);

        const auto image = readFileBytes(target);
        ASSERT_GE(image.size(), 5u);
        EXPECT_EQ(std::string(image.begin(), image.begin() + 5), std::string("DASK") + model);
        // One drum track shares nothing: the style image follows the file head unpatternized.
        const size_t head = model == 'M' ? 224 : 96;
        ASSERT_GT(image.size(), head);
        CWqStyleData style(image.data() + head, image.size() - head, uint32_t(model));
        EXPECT_EQ(style.Validate(), WqImageError::None);
        EXPECT_EQ(style.GetRawStyleName(), "Pop" + std::string(model == 'M' ? 13 : 7, ' ')); // padded to the name width
        EXPECT_FALSE(style.IsChordVarEmpty(0, 0));
    }
}

TEST(MidiToStyleCommand, QeSeriesStyleFromADocumentOpensInTheContainer)
{
    TempDir dir;
    auto doc = loadDocument(styleMidi(StyleSeries::Qe), (dir / "Pop.mid").string());
    const auto target = dir / "Pop.STY";
    const MidiToStyleOutcome o =
        RunMidiToStyle(*doc, StyleSeries::Qe, target, 'F', {}, {}, dir / std::string(kMidiToStyleLogName));
    ASSERT_EQ(o.code, 0) << o.errorText;

    auto image = readFileBytes(target);
    ASSERT_FALSE(image.empty());
    ULRFContainer* container = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
    ASSERT_NE(container, nullptr);
    char name[18] = {};
    int type = 0, user1 = 0, user2 = 0;
    EXPECT_TRUE(_ULRFEnumIndex(container, 0, name, &type, &user1, &user2));
    EXPECT_EQ(std::string(name).substr(0, 3), "Pop");
    _ULRFDeleteInstance(container);
}

TEST(MidiToStyleCommand, FailedConversionKeepsItsLogAndWritesNoStyle)
{
    TempDir dir;
    // Real files carry no text commands: refused with a text.
    SmfBuilder plain(1, 96);
    plain.AddTrack().TimeSig(0, 4, 2);
    plain.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    auto doc = loadDocument(plain.Build(), (dir / "Plain.mid").string());
    for (StyleSeries series : {StyleSeries::Wq, StyleSeries::Qe}) {
        const auto target = dir / "Plain.STY";
        const auto log = dir / std::string(kMidiToStyleLogName);
        const MidiToStyleOutcome o = RunMidiToStyle(*doc, series, target, series == StyleSeries::Wq ? '9' : 'F',
                                                    {}, {}, log);
        EXPECT_NE(o.code, 0);
        EXPECT_FALSE(o.errorText.empty());
        EXPECT_TRUE(o.logWritten);
        EXPECT_NE(fileText(log).find("Number of errors found:"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(target));
    }

    // A log that cannot be created: the conversion runs without one.
    const MidiToStyleOutcome o = RunMidiToStyle(*doc, StyleSeries::Wq, dir / "Plain.STY", '9', {}, {},
                                                dir / "missing" / std::string(kMidiToStyleLogName));
    EXPECT_NE(o.code, 0);
    EXPECT_FALSE(o.logWritten);
}
