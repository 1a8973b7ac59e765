// The counts that end the conversion log of both MIDI-to-style converters:
// a run that stops on an error counts it, once, on top of the errors it
// counted before; a run that stops on the errors it counted adds none.
#include "styles/CMidiToQeStyConverter.h"
#include "styles/CMidiToWqStyConverter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace midi_to_style_report_counts_test {

using test::StyleMidiBuilder;

struct Report {
    int code = -1;
    std::string log;
    int errors = -1; // the converter's own count
};

// The count the log ends with, -1 when it has none.
int loggedErrors(const std::string& log)
{
    const std::string key = "\n\nEnd of parsing\nNumber of errors found: ";
    const size_t at = log.rfind(key);
    return at == std::string::npos ? -1 : std::atoi(log.c_str() + at + key.size());
}

template <class Converter>
Report run(Converter& converter, const std::vector<uint8_t>& midi, const std::filesystem::path& target)
{
    converter.SetOutputFile(target);
    std::ostringstream log;
    Report r;
    r.code = converter.Convert(midi.data(), uint32_t(midi.size()), &log);
    r.log = log.str();
    r.errors = converter.ErrorCount();
    return r;
}

// What the cases need of a series: its CV command, the MIDI channel of its
// DRUM track, a channel it has no track for, and a run of its converter.
struct Series {
    const char* name;
    const char* cv;
    int drum;
    int unmapped;
    std::function<Report(const std::vector<uint8_t>&, const std::filesystem::path&)> convert;
};

const Series kSeries[] = {
    {"Wq", "CV: CMajor", 10, 9,
     [](const std::vector<uint8_t>& midi, const std::filesystem::path& target) {
         CMidiToWqStyConverter converter;
         converter.SetModel('9');
         return run(converter, midi, target);
     }},
    {"Qe", "CV: C Major", 10, 1,
     [](const std::vector<uint8_t>& midi, const std::filesystem::path& target) {
         CMidiToQeStyConverter converter;
         return run(converter, midi, target);
     }},
};

// VAR1 CV1 from measure 1 with a drum beat, and a bass phrase on `bassChannel`
// when one is given; `rflag` is written at the start of the file.
std::vector<uint8_t> style(const Series& s, int bassChannel = 0, const std::string& rflag = "")
{
    StyleMidiBuilder b;
    b.Command(0, "Name: Report");
    if (!rflag.empty()) b.Command(0, rflag);
    b.Command(1, "Element: VAR1").Command(1, s.cv);
    for (int beat = 0; beat < 4; ++beat)
        b.Note(s.drum, b.Bar(1, beat), 36, 100, 48);
    if (bassChannel) b.Note(bassChannel, b.Bar(1), 40, 100, 90).Note(bassChannel, b.Bar(1, 2), 43, 100, 90);
    b.EndAt(b.Bar(2));
    return b.Build();
}

TEST(MidiToStyleReport, ARunThatStopsOnAnErrorCountsIt)
{
    struct Case {
        const char* what;
        std::function<std::vector<uint8_t>(const Series&)> midi;
        bool targetFolderExists;
        int code;
        std::string line; // in the log; "%d" stands for the series' unmapped channel
        int errors;
    };
    const Case cases[] = {
        {"a style", [](const Series& s) { return style(s); }, true, 0, "", 0},
        {"a bass phrase on a channel without a track", [](const Series& s) { return style(s, s.unmapped); }, true,
         118, "Error: Cannot convert MIDI channel: %d to arr track.\n", 1},
        {"an error counted before that stop",
         [](const Series& s) { return style(s, s.unmapped, "Rflag: DRUM, X"); }, true, 118,
         "Error: Wrong Rflag text cmd: Rflag: DRUM, X\n", 2},
        {"the errors counted stop the run", [](const Series& s) { return style(s, 0, "Rflag: DRUM, X"); }, true,
         133, "Error: Wrong Rflag text cmd: Rflag: DRUM, X\n", 1},
        {"a cut file", [](const Series& s) { return test::SmfBuilder::Truncated(style(s), 40); }, true, 4, "", 1},
        {"a style file that cannot be saved", [](const Series& s) { return style(s); }, false, 121, "", 1},
    };
    for (const Series& s : kSeries) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(s.name) + ": " + c.what);
            test::TempDir dir;
            const auto target = (c.targetFolderExists ? dir.path() : dir / "missing") / "OUT.STY";
            const Report r = s.convert(c.midi(s), target);
            EXPECT_EQ(r.code, c.code) << r.log;
            std::string line = c.line;
            if (const size_t at = line.find("%d"); at != std::string::npos)
                line.replace(at, 2, std::to_string(s.unmapped));
            EXPECT_NE(r.log.find(line), std::string::npos) << r.log;
            EXPECT_EQ(loggedErrors(r.log), c.errors) << r.log;
            EXPECT_EQ(r.errors, c.errors);
            EXPECT_EQ(std::filesystem::exists(target), c.code == 0);
        }
    }
}

// The commands that stop a Qe conversion at once, which the converter
// counted as no error.
TEST(MidiToStyleReport, QeCommandsThatStopTheRunAreCounted)
{
    struct Case {
        const char* command;
        int measure;
        int code;
    };
    for (const Case& c : {Case{"CV: C", 1, 117}, Case{"CV: H min7", 1, 117}, Case{"Name: Late", 1, 109}}) {
        SCOPED_TRACE(c.command);
        StyleMidiBuilder b;
        b.Command(1, "Element: VAR1").Command(c.measure, c.command);
        test::TempDir dir;
        const Report r = kSeries[1].convert(b.Build(), dir / "OUT.STY");
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(loggedErrors(r.log), 1) << r.log;
    }
}

// Real phrases: a run that fails never ends its log with no errors, and one
// that succeeds counts none.
TEST(MidiToStyleReport, RealMidiFiles)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& path : files) {
        const auto midi = test::readFileBytes(path);
        for (const Series& s : kSeries) {
            SCOPED_TRACE(path.filename().string() + " to " + s.name);
            test::TempDir dir;
            const Report r = s.convert(midi, dir / "OUT.STY");
            if (r.code == 0)
                EXPECT_EQ(loggedErrors(r.log), 0) << r.log;
            else
                EXPECT_GT(loggedErrors(r.log), 0) << "code " << r.code << "\n" << r.log;
            EXPECT_EQ(loggedErrors(r.log), r.errors);
        }
    }
}

} // namespace midi_to_style_report_counts_test
} // namespace zib
