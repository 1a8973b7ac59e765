#pragma once

// Fixtures of the MIDI document tests: small files built in the test, a
// document with every seam replaced by a fake that records what it is asked,
// and the whole state of a document for the undo round trips.
#include "ui/core/ZibSettings.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/MidiDocModel.h"
#include "tests/support/MemoryProfile.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace zib {

// Readable failures
inline void PrintTo(const CTrackInfo& t, std::ostream* os)
{
    *os << "{" << t.index << " '" << t.name << "' ev" << int(t.hasEvents) << " play" << int(t.play) << " solo"
        << int(t.solo) << " rec" << int(t.record) << " ch" << int(t.channel) << " in" << t.recordChannel << " port"
        << int(t.port) << " bank" << t.bank << " prog" << int(t.program) << " vol" << int(t.volume) << " pan"
        << int(t.pan) << " raw" << t.rawLength << " n" << t.listedEvents << "/" << t.totalEvents << "}";
}

} // namespace zib

namespace zib::test {

// A format-1 file at division 96 (or another): the conductor with 4/4 and
// tempo, then `tracks` channel tracks, track k on channel k - 1 with a note
// of an eighth at each of the first `beats` beats (one bar by default; 500 ms
// a beat).
inline std::vector<uint8_t> smallSong(int tracks = 2, int beats = 4, uint16_t division = 96)
{
    SmfBuilder smf(1, division);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
    for (int k = 1; k <= tracks; ++k) {
        SmfTrack& t = smf.AddTrack();
        t.TrackName(0, "Track " + std::to_string(k)).Program(0, k - 1, k).Controller(0, k - 1, 7, 90);
        for (int beat = 0; beat < beats; ++beat)
            t.NoteOn(uint32_t(beat) * division, k - 1, 60 + k, 100)
                .NoteOff(uint32_t(beat) * division + division / 2u, k - 1, 60 + k);
    }
    return smf.Build();
}

// A two-bar pattern at 480 ticks per quarter on channel 6 of track 1: notes
// on the beat grid and off it, note-offs with their release velocities
// (velocity -1: a note-on of velocity 0), and where each note belongs in a
// song of 384 ticks per quarter.
struct PatternNote {
    uint32_t time, length;
    int key, release;
    const char* at384; // measure:beat:tick
    uint32_t length384;
};
inline const PatternNote kPattern[] = {
    {0, 480, 57, 102, "1:01:000", 384},
    {485, 235, 59, -1, "1:02:004", 188}, // beat 2 + 5: 388, its end 720: 576
    {960, 240, 60, 64, "1:03:000", 192},
    {1680, 120, 62, 0, "1:04:192", 96},
    {1920, 1920, 64, 30, "2:01:000", 1536},
    {2402, 1, 65, -1, "2:02:002", 1}, // 1921.6 and 1922.4 both round to 1922: the note keeps a tick
};

inline std::vector<uint8_t> patternSong()
{
    SmfBuilder smf(1, 480);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
    SmfTrack& t = smf.AddTrack();
    t.TrackName(0, "Pattern");
    for (const PatternNote& n : kPattern) {
        t.NoteOn(n.time, 6, n.key, 100);
        if (n.release < 0)
            t.NoteOn(n.time + n.length, 6, n.key, 0);
        else
            t.NoteOff(n.time + n.length, 6, n.key, n.release);
    }
    return smf.Build();
}

// A note as a song holds it: where it starts, its length, and its note-off
// (the later event of its pair)
struct HeldNote {
    std::string at;
    uint32_t length, offTime;
    uint8_t offStatus, release;
    bool operator==(const HeldNote&) const = default;
};

inline void PrintTo(const HeldNote& n, std::ostream* os)
{
    *os << "{" << n.at << " len " << n.length << " off " << n.offTime << "/" << std::hex << int(n.offStatus)
        << std::dec << "." << int(n.release) << "}";
}

inline std::vector<HeldNote> notesOf(const CMidiParserEx& seq, int track, uint32_t from = 0)
{
    std::vector<HeldNote> notes;
    const auto& events = seq.GetEvents();
    for (size_t i = 0; i < events.size(); ++i) {
        const CMidiEvent& on = *events[i];
        if (on.track != track || on.time < from || !isNoteOn(on)) continue;
        char at[32];
        std::snprintf(at, sizeof at, "%u:%02u:%03u", on.measure + 1, on.beat + 1, on.tick);
        HeldNote n{at, on.duration, 0, 0, 0};
        for (size_t j = i + 1; j < events.size() && on.pairId >= 0; ++j)
            if (events[j]->pairId == on.pairId) {
                n.offTime = events[j]->time;
                n.offStatus = events[j]->status;
                n.release = eventDataByte(*events[j], 1);
                break;
            }
        notes.push_back(n);
    }
    return notes;
}

// The pattern as it lands `bars` bars into a song of 384 in 4/4: scaled, or
// (a block without its supplement) with its ticks as they stand and a note-on
// of velocity 0 for each note-off
inline std::vector<HeldNote> patternAt384(uint32_t bars, bool scaled)
{
    std::vector<HeldNote> notes;
    for (const PatternNote& n : kPattern) {
        uint32_t time = bars * 1536 + n.time;
        if (scaled) {
            unsigned measure = 0, beat = 0, tick = 0;
            std::sscanf(n.at384, "%u:%u:%u", &measure, &beat, &tick);
            time = (bars + measure - 1) * 1536 + (beat - 1) * 384 + tick;
        }
        const uint32_t length = scaled ? n.length384 : n.length;
        char at[32];
        std::snprintf(at, sizeof at, "%u:%02u:%03u", time / 1536 + 1, time % 1536 / 384 + 1, time % 384);
        const uint8_t status = n.release < 0 || !scaled ? 0x96 : 0x86;
        const uint8_t release = n.release < 0 || !scaled ? 0 : uint8_t(n.release);
        notes.push_back({at, length, time + length, status, release});
    }
    return notes;
}

// Settings in memory
struct TestSettings {
    TestSettings() { settings.Author = "Tester"; }
    MemoryProfile profile;
    ZibSettings settings{profile};
};

// Message boxes, questions and the wait cursor, recorded
class RecordingReports : public MidiDocReports {
public:
    void Report(const DocMessage& m) override { messages.push_back(m); }
    bool AskYesNo(const DocMessage& m) override
    {
        questions.push_back(m);
        return answer;
    }
    void BeginWait() override { ++waits; }
    void EndWait() override { --waits; }
    bool Has(int message) const
    {
        for (const auto& m : messages)
            if (m.message == message) return true;
        return false;
    }
    std::vector<DocMessage> messages;
    std::vector<DocMessage> questions;
    bool answer = false;
    int waits = 0;
};

// Dialog answers set by the test; an unset answer cancels
class ScriptedDialogs : public MidiDocDialogs {
public:
    std::optional<int> transpose;
    std::optional<uint32_t> shiftTo;
    std::function<std::optional<PasteDlgValues>(const PasteDlgValues&)> paste;
    std::optional<CopyEventKinds> copyKinds;
    std::optional<uint16_t> clock;
    std::function<std::optional<TrackPropertiesValues>(const TrackPropertiesValues&)> properties;
    std::optional<EventCodeChoice> eventCode;
    std::function<std::optional<TempoDlgValues>(const TempoDlgValues&)> tempo;
    std::function<std::optional<MarkerDlgValues>(const MarkerDlgValues&)> marker;
    std::function<std::optional<TimeSigDlgValues>(const TimeSigDlgValues&)> timeSignature;
    std::optional<std::filesystem::path> dumpTarget;
    std::optional<MidiToStyleTarget> styleTarget;
    // What the dialogs were given
    std::vector<PasteDlgValues> pasteSeen;
    std::vector<EventCodeDlgValues> eventCodeSeen;
    std::vector<MarkerDlgValues> markerSeen;
    std::vector<TimeSigDlgValues> timeSigSeen;
    std::vector<TempoDlgValues> tempoSeen;
    std::vector<std::string> styleNamesSeen;
    std::vector<uint32_t> styleModelsSeen;

    std::optional<int> TransposeAmount() override { return transpose; }
    std::optional<uint32_t> ShiftTo(const CMidiParserEx&, uint32_t, uint32_t) override { return shiftTo; }
    std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx&, const PasteDlgValues& v) override
    {
        pasteSeen.push_back(v);
        return paste ? paste(v) : std::nullopt;
    }
    std::optional<CopyEventKinds> CopyMidiEvents(const CopyEventKinds&) override { return copyKinds; }
    std::optional<uint16_t> MidiClock(uint16_t) override { return clock; }
    std::optional<TrackPropertiesValues> TrackProperties(const TrackPropertiesValues& v) override
    {
        return properties ? properties(v) : std::nullopt;
    }
    std::optional<EventCodeChoice> EditEventCode(const EventCodeDlgValues& v) override
    {
        eventCodeSeen.push_back(v);
        return eventCode;
    }
    std::optional<TempoDlgValues> Tempo(const CMidiParserEx&, const TempoDlgValues& v) override
    {
        tempoSeen.push_back(v);
        return tempo ? tempo(v) : std::nullopt;
    }
    std::optional<MarkerDlgValues> Marker(const CMidiParserEx&, const MarkerDlgValues& v) override
    {
        markerSeen.push_back(v);
        return marker ? marker(v) : std::nullopt;
    }
    std::optional<TimeSigDlgValues> TimeSignature(const CMidiParserEx&, const TimeSigDlgValues& v) override
    {
        timeSigSeen.push_back(v);
        return timeSignature ? timeSignature(v) : std::nullopt;
    }
    std::optional<std::filesystem::path> DumpTarget(const std::string&, const std::filesystem::path&) override
    {
        return dumpTarget;
    }
    std::optional<MidiToStyleTarget> MidiToStyleFile(StyleSeries, const std::string& name,
                                                     const std::filesystem::path&, uint32_t model) override
    {
        styleNamesSeen.push_back(name);
        styleModelsSeen.push_back(model);
        return styleTarget;
    }
};

// The clipboard in memory: a block, and its supplement when one was put
// with it (another program's copy puts the block alone)
class MemoryClipboard : public EventClipboard {
public:
    bool privateFormat = true;
    std::optional<std::vector<uint8_t>> block;
    std::vector<uint8_t> supplement;
    Result getResult = Result::Ok;
    bool HasPrivateFormat() const override { return privateFormat; }
    Result Put(std::vector<uint8_t> bytes) override { return PutWithSupplement(std::move(bytes), {}); }
    Result Get(std::vector<uint8_t>& bytes) override
    {
        std::vector<uint8_t> ignored;
        return GetWithSupplement(bytes, ignored);
    }
    Result PutWithSupplement(std::vector<uint8_t> bytes, std::vector<uint8_t> extra) override
    {
        block = std::move(bytes);
        supplement = std::move(extra);
        return Result::Ok;
    }
    Result GetWithSupplement(std::vector<uint8_t>& bytes, std::vector<uint8_t>& extra) override
    {
        if (getResult != Result::Ok) return getResult;
        if (!block) return Result::NoBlock;
        bytes = *block;
        extra = supplement;
        return Result::Ok;
    }
};

// What the views were asked
class RecordingViews : public MidiDocViews {
public:
    bool ShowDocument() override { return showOk; }
    void Refill() override { ++refills; }
    void Freeze() override { ++frozen; }
    void Thaw() override { --frozen; }
    void RebuildBarList() override { ++barRebuilds; }
    void GoToPosition(uint32_t tick) override { positions.push_back(tick); }
    bool OpenViewer(std::string_view prefix, const std::filesystem::path& file) override
    {
        viewerTitles.emplace_back(prefix);
        viewerFiles.push_back(file);
        return viewerOk;
    }
    bool OpenDocument(const std::filesystem::path& file) override
    {
        openedDocuments.push_back(file);
        return true;
    }
    bool showOk = true;
    bool viewerOk = true;
    int refills = 0;
    int frozen = 0;
    int barRebuilds = 0;
    std::vector<uint32_t> positions;
    std::vector<std::string> viewerTitles;
    std::vector<std::filesystem::path> viewerFiles;
    std::vector<std::filesystem::path> openedDocuments;
};

// A MIDI document with every seam faked
struct DocFixture {
    TestSettings s;
    std::atomic<int> playing{0};
    RecordingViews views;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingReports reports;
    std::unique_ptr<MidiDocModel> doc;

    DocFixture()
    {
        MidiDocHooks hooks;
        hooks.views = &views;
        hooks.dialogs = &dialogs;
        hooks.clipboard = &clipboard;
        hooks.reports = &reports;
        doc = std::make_unique<MidiDocModel>(s.settings, playing, hooks);
    }
    explicit DocFixture(const std::vector<uint8_t>& image, const std::string& path = "/songs/Test.mid") : DocFixture()
    {
        Open(image, path);
    }
    void Open(const std::vector<uint8_t>& image, const std::string& path = "/songs/Test.mid")
    {
        const auto result = doc->OpenImage(path, image);
        EXPECT_EQ(result, MidiDocModel::OpenResult::Ok) << doc->ParseErrorText();
    }
    CMidiParserEx& seq() { return doc->Sequence(); }
};

// ---- The whole state of a document, for the round trips --------------------

struct EventState {
    uint32_t time, length, paired, duration, measure, beat, tick, index;
    uint8_t status, track, flags;
    int32_t pairId;
    std::vector<uint8_t> bytes;
    bool operator==(const EventState&) const = default;
};

inline void PrintTo(const EventState& e, std::ostream* os)
{
    *os << "{#" << e.index << " t" << e.time << " tr" << int(e.track) << " s" << std::hex << int(e.status) << std::dec
        << " len" << e.length << " p" << e.paired << " id" << e.pairId << " d" << e.duration << " f" << int(e.flags)
        << " " << e.measure << ":" << e.beat << ":" << e.tick << "}";
}

struct TableState {
    std::vector<uint8_t> raw;
    uint32_t rawSize, eventCount, totalCount;
    int volume, pan, bankMsb, bankLsb, program, port; // -1 when not present
    uint8_t channel;
    std::string name; // its first 16 characters
    uint32_t endTime; // where the file ended the track
    bool operator==(const TableState&) const = default;
};

inline void PrintTo(const TableState& t, std::ostream* os)
{
    *os << "{raw" << t.raw.size() << "/" << t.rawSize << " n" << t.eventCount << "/" << t.totalCount << " vol"
        << t.volume << " pan" << t.pan << " msb" << t.bankMsb << " lsb" << t.bankLsb << " prog" << t.program
        << " port" << t.port << " ch" << int(t.channel) << " '" << t.name << "' end" << t.endTime << "}";
}

struct DocState {
    std::vector<EventState> events;
    std::vector<TableState> tables;
    std::vector<CTrackInfo> records;
    uint16_t fileTrackCount = 0;
    std::vector<std::pair<uint32_t, uint32_t>> map; // (start tick, numerator * 1000 + denominator)
    bool operator==(const DocState&) const = default;
};

inline std::vector<EventState> eventStates(const CMidiParserEx& seq)
{
    std::vector<EventState> out;
    for (size_t i = 0; i < seq.GetEventCount(); ++i) {
        const CMidiEvent& e = *seq.GetEvent(i);
        out.push_back({e.time, e.length, e.paired, e.duration, e.measure, e.beat, e.tick, e.index, e.status, e.track,
                       e.flags, e.pairId,
                       std::vector<uint8_t>(e.data.begin(),
                                            e.data.begin() + std::ptrdiff_t(std::min<size_t>(e.length, e.data.size())))});
    }
    return out;
}

inline DocState captureState(MidiDocModel& doc)
{
    DocState s;
    CMidiParserEx& seq = doc.Sequence();
    s.events = eventStates(seq);
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t) {
        const CMidiParserEx::Track& k = *seq.GetTrack(t);
        s.tables.push_back({k.rawBuffer, k.rawSize, k.eventCount, k.totalCount, k.volumeSeen ? k.volume : -1,
                            k.panSeen ? k.pan : -1, k.bankMsbSeen ? k.bankMsb : -1, k.bankLsbSeen ? k.bankLsb : -1,
                            k.programSeen ? k.program : -1, k.portSeen ? k.port : -1, k.channel,
                            k.name.substr(0, 16), k.endTime});
    }
    for (int r = 0; r < doc.TrackRecordCount(); ++r)
        s.records.push_back(*doc.TrackRecord(r));
    s.fileTrackCount = doc.FileTrackCount();
    uint32_t lastMeasure = 0;
    for (const auto& e : s.events)
        lastMeasure = std::max(lastMeasure, e.measure);
    for (uint32_t m = 0; m <= lastMeasure; ++m)
        s.map.emplace_back(seq.GetMeasureStartTick(m),
                           uint32_t(seq.GetNumeratorAtMeasure(m)) * 1000 + seq.GetDenominatorAtMeasure(m));
    return s;
}

// ---- What a saved file gives back ------------------------------------------

// Every track's events in their order (time, status, bytes; for a note-on
// the time of the note-off it pairs with, or kOpen), the format and the
// measures up to the last event: what a document saved and opened again must
// show unchanged. A format-0 file has no tracks of its own: its events are
// grouped as the reader groups them (by channel, all others on track 0), and
// events of one tick in any order (a file of several chunks merges them).
struct SavedContent {
    static constexpr uint32_t kOpen = UINT32_MAX;
    using Event = std::tuple<uint32_t, uint8_t, std::vector<uint8_t>, uint32_t>;
    uint32_t format = 0;
    std::vector<std::vector<Event>> tracks;
    std::vector<std::pair<uint32_t, uint32_t>> map; // (start tick, numerator * 1000 + denominator)
    bool operator==(const SavedContent&) const = default;
};

inline SavedContent savedContent(MidiDocModel& doc)
{
    SavedContent c;
    c.format = doc.Format();
    c.tracks.resize(CMidiParserEx::kMaxTracks);
    CMidiParserEx& seq = doc.Sequence();
    std::map<int32_t, uint32_t> noteOffTimes;
    uint32_t lastTick = 0;
    for (size_t i = 0; i < seq.GetEventCount(); ++i) {
        const CMidiEvent& e = *seq.GetEvent(i);
        if (e.pairId >= 0 && isNoteOff(e)) noteOffTimes[e.pairId] = e.time;
        lastTick = std::max(lastTick, e.time);
    }
    for (size_t i = 0; i < seq.GetEventCount(); ++i) {
        const CMidiEvent& e = *seq.GetEvent(i);
        const auto held = std::ptrdiff_t(std::min<size_t>(e.length, e.data.size()));
        uint32_t noteOff = 0;
        if (isNoteOn(e)) {
            const auto partner = noteOffTimes.find(e.pairId);
            noteOff = partner != noteOffTimes.end() ? partner->second : SavedContent::kOpen;
        }
        const int track = doc.Format() != 0 ? e.track : isChannelStatus(e.status) ? (e.status & 0x0F) + 1 : 0;
        c.tracks[size_t(track)].emplace_back(e.time, e.status,
                                             std::vector<uint8_t>(e.data.begin(), e.data.begin() + held), noteOff);
    }
    if (doc.Format() == 0)
        for (auto& events : c.tracks)
            std::sort(events.begin(), events.end());
    uint32_t measure = 0, beat = 0, tick = 0;
    seq.TickToMbt(lastTick, measure, beat, tick);
    for (uint32_t m = 0; m <= measure; ++m)
        c.map.emplace_back(seq.GetMeasureStartTick(m),
                           uint32_t(seq.GetNumeratorAtMeasure(m)) * 1000 + seq.GetDenominatorAtMeasure(m));
    return c;
}

inline void PrintTo(const SavedContent& c, std::ostream* os)
{
    *os << "{format " << c.format;
    for (size_t t = 0; t < c.tracks.size(); ++t) {
        if (c.tracks[t].empty()) continue;
        *os << "\n  track " << t << ":";
        for (const auto& [time, status, bytes, noteOff] : c.tracks[t]) {
            *os << " " << time << "/" << std::hex << int(status);
            for (uint8_t b : bytes)
                *os << "." << int(b);
            *os << std::dec;
            if (noteOff == SavedContent::kOpen) *os << "~open";
            else if (noteOff) *os << "~" << noteOff;
        }
    }
    *os << "\n  map:";
    for (const auto& [start, signature] : c.map)
        *os << " " << start << "@" << signature / 1000 << "/" << signature % 1000;
    *os << "}";
}

// The shown-track flags of an event list with every track shown
inline std::array<uint8_t, 65> allTracksShown()
{
    std::array<uint8_t, 65> shown{};
    shown.fill(1);
    return shown;
}

// The document's file as Save writes it now
inline std::vector<uint8_t> savedImage(const MidiDocModel& doc)
{
    bool ok = false;
    std::vector<uint8_t> image = doc.BuildFileImage(ok);
    EXPECT_TRUE(ok) << "the document was not written";
    return image;
}

} // namespace zib::test
