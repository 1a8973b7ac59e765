#include "styles/CCvMidiCollector.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>

#include "midi/MidiVarLen.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "styles/ConversionLogSink.h"
#include "styles/StyleConvertError.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

constexpr MidiErrorText kCvMidiCollectorErrorTexts[] = {
    {106, "Midi format not supported in this function"},
    {107, "Cannot allocate track buffers"},
    {108, "Tempo track longer then channel tracks"},
    {109, "Chord variation MIDI file name not correct"},
    {110, "Unexpected MIDI channel found"},
    {111, "Base files have different Time Division (PPQN)"},
};

// Room reserved beyond the measured bytes of a track for markers and heads.
constexpr uint64_t kTrackSlack = 1762;
// The collected file's positions stay within what a 4-byte delta can reach.
constexpr uint64_t kMaxOutputTick = kMidiVarLenLimit - 1;
// "V11.mid": a three-letter terminator, a dot and a three-letter extension.
constexpr size_t kTerminatorTail = 7;

constexpr uint8_t kForced44[] = {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// Power of two of a note-value denominator: 2 -> 1 ... 128 -> 7; 20 for any other.
uint8_t denominatorPower(uint8_t noteValue)
{
    for (uint8_t p = 1; p <= 7; ++p)
        if (noteValue == (1u << p)) return p;
    return 20;
}

// "C maj", "A min" ... of a key-signature event; the raw values otherwise.
std::string keySignatureText(int8_t sharps, uint8_t minor)
{
    const char* tonic = minor <= 1 ? KeySignatureTonic(sharps, minor == 1) : nullptr;
    if (!tonic) return "sf=" + std::to_string(sharps) + " mi=" + std::to_string(minor);
    return std::string(tonic) + (minor ? " min" : " maj");
}

} // namespace

CCvMidiCollector::CCvMidiCollector(const CvCollectSeries& series) : series_(series)
{
    outDivision_ = series_.defaultDivision;
}

CCvMidiCollector::~CCvMidiCollector() = default;

void CCvMidiCollector::SetLog(std::ostream* log)
{
    sink_ = log ? std::make_unique<COStreamLogSink>(*log) : nullptr;
    log_.SetSink(sink_.get());
}

void CCvMidiCollector::FreeChannelBuffers()
{
    ClearTimeSigMap();
    for (OutTrack& t : channels_)
        t.bytes = ByteWriter();
    conductor_.bytes = ByteWriter();
    for (auto& q : queued_)
        std::vector<QueuedEvent>().swap(q);
    for (auto& b : queuedBytes_)
        b = ByteWriter();
}

CvCollectResult CCvMidiCollector::FinishCollection(int code)
{
    FreeChannelBuffers();
    CvCollectResult result;
    result.code = code;
    result.outputPath = outputPath_;
    if (code != 0) result.errorText = ReportedErrorText(*this, code);
    return result;
}

int CCvMidiCollector::FormatCollectError(char* buffer, size_t size, int code, const char* className,
                                         std::span<const MidiErrorText> own)
{
    if (const int n = CMidiFileEx::ReportError(buffer, size, code)) return n;
    const char* text = FindMidiErrorText(kCvMidiCollectorErrorTexts, code);
    if (!text) text = FindMidiErrorText(own, code);
    return text ? FormatMidiError(buffer, size, className, code, text) : 0;
}

// ---- Default hooks -----------------------------------------------------------

void CCvMidiCollector::AdjustNames(std::string&, std::string&) {}
int CCvMidiCollector::MeasuredElementCount() const
{
    return int(series_.elementMarkers.size());
}
int CCvMidiCollector::CopiedElementCount() const
{
    return int(series_.elementMarkers.size());
}
void CCvMidiCollector::AfterCvMarkers(int, int, bool) {}
void CCvMidiCollector::AfterLastElement() {}
bool CCvMidiCollector::CopiesTimeSignature() const
{
    return true;
}
int CCvMidiCollector::OnFileHeader()
{
    return kSuccess;
}
int CCvMidiCollector::OnTrackChunk()
{
    return kSuccess;
}

// ---- The run -----------------------------------------------------------------

int CCvMidiCollector::Collect(const std::filesystem::path& pickedFile)
{
    int rc = CheckTerminator(pickedFile);
    if (rc == kSuccess) {
        ResetCollection();
        try {
            rc = MeasuringPass();
            if (rc == kSuccess) rc = AllocateTracks();
            if (rc == kSuccess) rc = CopyingPass();
            if (rc == kSuccess) rc = WriteCollectedFile();
        } catch (const std::bad_alloc&) {
            rc = kCannotAllocateTrackBuffers;
        }
    }
    pass_ = Pass::Idle;
    m_flags = 0;
    FreeChannelBuffers();
    // The log of a collection that stopped ends with the error it stopped on.
    if (rc != kSuccess) {
        char text[128];
        if (ReportError(text, sizeof text, rc) > 0) log_.Printf("\n%s\n", text);
    }
    return rc;
}

// Step 1 and 2: the picked file must end in "<terminator>.<ext>"; the set's
// prefix is what stands before, the style name its last path component.
int CCvMidiCollector::CheckTerminator(const std::filesystem::path& pickedFile)
{
    const std::string path = pickedFile.string();
    auto refuse = [&] {
        log_.Printf("Error: File name %s does not contain correct CV name terminator\n", path.c_str());
        return int(kBadCvFileName);
    };
    if (path.size() < kTerminatorTail) return refuse();
    const std::string_view tail = std::string_view(path).substr(path.size() - kTerminatorTail);
    const size_t dot = tail.rfind('.');
    if (dot == std::string_view::npos) return refuse();
    const std::string_view terminator = tail.substr(0, dot);
    if (std::none_of(series_.terminators.begin(), series_.terminators.end(),
                     [&](const char* t) { return equalsNoCase(t, terminator); }))
        return refuse();

    const std::string prefix = path.substr(0, path.size() - kTerminatorTail);
    prefix_ = prefix;
    const size_t separator = prefix.rfind('/');
    std::string name = separator == std::string::npos ? prefix : prefix.substr(separator + 1);
    std::string outputBase = prefix;
    AdjustNames(outputBase, name);
    if (name.empty()) name = "NEWSTYLE";
    styleName_ = utf8ToCp1252(name);
    outputPath_ = std::filesystem::path(outputBase + series_.outputSuffix);
    FindCvFiles(prefix);
    return kSuccess;
}

// The members of the set: "<prefix><terminator>.mid" for every slot. Names
// are matched without regard to case (sets are made on file systems that
// ignore it); an exact match wins.
void CCvMidiCollector::FindCvFiles(const std::string& prefix)
{
    for (auto& f : cvFiles_)
        f.clear();
    const size_t separator = prefix.rfind('/');
    const std::filesystem::path folder = separator == std::string::npos
                                             ? std::filesystem::path(".")
                                             : std::filesystem::path(prefix.substr(0, separator + 1));
    const std::string base = separator == std::string::npos ? prefix : prefix.substr(separator + 1);

    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());

    for (size_t slot = 0; slot < series_.terminators.size() && slot < cvFiles_.size(); ++slot) {
        const std::string wanted = base + series_.terminators[slot] + ".mid";
        auto found = std::find(names.begin(), names.end(), wanted);
        if (found == names.end())
            found = std::find_if(names.begin(), names.end(),
                                 [&](const std::string& n) { return equalsNoCase(n, wanted); });
        if (found != names.end()) cvFiles_[slot] = folder / *found;
    }
}

// Step 3
void CCvMidiCollector::ResetCollection()
{
    cumulative_ = 0;
    tempo_ = 500000;
    tempoFound_ = false;
    element_ = cv_ = 0;
    outDivision_ = series_.defaultDivision;
    fileDivision_ = series_.defaultDivision;
    outNumerator_ = 4;
    outDenominator_ = 4;
    outClocks_ = 36;
    out32nds_ = 8;
    timeSigFound_ = false;
    for (OutTrack& t : channels_)
        t = OutTrack{};
    conductor_ = OutTrack{};
    for (auto& q : queued_)
        q.clear();
    for (auto& b : queuedBytes_)
        b.clear();
    writeCursor_ = -1;
    ResetSeries();
}

// Step 4: every existing file once, to capture what the heads need.
int CCvMidiCollector::MeasuringPass()
{
    pass_ = Pass::Measuring;
    for (int e = 0; e < MeasuredElementCount(); ++e)
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv) {
            if (!CvFileExists(e, cv)) continue;
            element_ = e;
            cv_ = cv;
            currentFile_ = cvFiles_[size_t(StyleSeriesTraits::CvSlotOf(e, cv))];
            m_division = 96;
            m_flags = kDenominatorAsNote;
            const int rc = CMidiFileEx::ParseFile(currentFile_); // resets the map to one 4/4 measure
            if (rc) return rc;
        }
    return kSuccess;
}

bool CCvMidiCollector::IsPresent(int channel) const
{
    return (series_.fixedChannels >> channel & 1) || channels_[size_t(channel)].measured != 0;
}

// Step 5. The tracks grow as needed; the reservation only saves copying.
int CCvMidiCollector::AllocateTracks()
{
    try {
        for (int c = 0; c < 16; ++c)
            if (IsPresent(c))
                channels_[size_t(c)].bytes.reserve(size_t(channels_[size_t(c)].measured + kTrackSlack));
        conductor_.bytes.reserve(size_t(kTrackSlack));
    } catch (const std::exception&) {
        return kCannotAllocateTrackBuffers;
    }
    return kSuccess;
}

// Step 6
int CCvMidiCollector::CopyingPass()
{
    pass_ = Pass::Copying;
    m_division = outDivision_;
    fileDivision_ = outDivision_;
    ResetTimeSigMap();
    m_map.assign(1, CTimeSigRecord{0, outNumerator_, outDenominator_});
    m_numerator = outNumerator_;
    m_denominator = outDenominator_;
    m_ticksPerMeasure = MeasureTicks(outNumerator_, outDenominator_);
    m_ticksPerBeat = BeatTicks(outDenominator_);
    if (m_ticksPerMeasure == 0 || m_ticksPerBeat == 0) return kInvalidDenominator;

    for (int e = 0; e < CopiedElementCount(); ++e) {
        element_ = e;
        cv_ = 0;
        if (e == 0) WriteHeads();
        WriteElementMarkers(e);
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv) {
            cv_ = cv;
            const int rc = CvFileExists(e, cv) ? CopyFoundCv(e, cv) : CopyMissingCv(e, cv);
            if (rc) return rc;
        }
    }
    AfterLastElement();

    // Every track ends right after its last event.
    const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
    for (int c = 0; c < 16; ++c)
        if (IsPresent(c)) channels_[size_t(c)].bytes.bytes(end, sizeof end);
    conductor_.bytes.bytes(end, sizeof end);
    return kSuccess;
}

// Element 0: tempo, signature and name on the conductor, the set-up events on
// every channel track; the CVs start one bar later.
void CCvMidiCollector::WriteHeads()
{
    const uint8_t tempo[] = {0xFF, 0x51, 0x03, uint8_t(tempo_ >> 16), uint8_t(tempo_ >> 8), uint8_t(tempo_)};
    WriteAtPending(conductor_, tempo);
    const uint8_t signature[] = {0xFF,       0x58,     0x04, outNumerator_, denominatorPower(outDenominator_),
                                 outClocks_, out32nds_};
    WriteAtPending(conductor_, signature);
    WriteMarker(conductor_, "Name: " + styleName_);
    WriteConductorHeads();
    for (int c = 0; c < 16; ++c)
        if (IsPresent(c)) WriteChannelHeads(c);

    const uint32_t bar = MeasureTicks(outNumerator_, outDenominator_);
    for (int c = 0; c < 16; ++c)
        if (IsPresent(c)) channels_[size_t(c)].pending = bar;
    conductor_.pending = bar;
    cumulative_ = bar;
}

void CCvMidiCollector::WriteElementMarkers(int element)
{
    const std::string text = series_.elementMarkers[size_t(element)];
    for (int c = 0; c < 16; ++c) {
        if (!IsPresent(c)) continue;
        log_.Printf("Channel: %02d, Delta Rest: %8ld - Inserted MARKER: %s%s\n", c + 1,
                    long(channels_[size_t(c)].pending), series_.channelMarkerPrefix, text.c_str());
        WriteChannelMarker(c, text);
    }
    log_.Printf("Tempo Track, Delta Rest: %8ld -  Inserted MARKER: %s\n", long(conductor_.pending),
                text.c_str());
    WriteMarker(conductor_, text);
}

int CCvMidiCollector::CopyFoundCv(int element, int cv)
{
    const std::string channelText = "CV: " + CvMarkerText(element, cv, false);
    for (int c = 0; c < 16; ++c) {
        if (!IsPresent(c)) continue;
        log_.Printf("Channel: %02d - Inserted MARKER: %s%s\n", c + 1, series_.channelMarkerPrefix,
                    channelText.c_str());
        WriteChannelMarker(c, channelText);
    }
    const std::string conductorText = "CV: " + CvMarkerText(element, cv, true);
    log_.Printf("Tempo Track - Inserted MARKER: %s\n", conductorText.c_str());
    WriteMarker(conductor_, conductorText);
    AfterCvMarkers(element, cv, true);

    int rc = LocateTick(cumulative_);
    if (rc) return rc;
    const uint32_t startMeasure = GetLastMeasure();

    currentFile_ = cvFiles_[size_t(StyleSeriesTraits::CvSlotOf(element, cv))];
    m_flags = kDenominatorAsNote;
    rc = CMidiFile::ParseFile(currentFile_); // the map goes on from the cumulative time
    if (rc) return rc;
    FlushQueuedEvents();

    // The CV ends with the bar of its last channel event; a file without
    // channel events gets one bar.
    uint32_t last = startMeasure;
    for (const OutTrack& t : channels_)
        last = std::max(last, t.lastMeasure);
    if (conductor_.lastMeasure > last) {
        const std::string name = currentFile_.string();
        log_.Printf("Error: File: %s - Found event in tempo track behind all events in channel tracks\n",
                    name.c_str());
        return kTempoTrackTooLong;
    }
    if (last >= m_map.size()) return kInternalMapperError;
    const CTimeSigRecord& measure = m_map[last];
    const uint64_t end = uint64_t(measure.startTick) + MeasureTicks(measure.numerator, measure.denominator);
    if (end > kMaxOutputTick) return kBadDeltaTime;
    for (OutTrack& t : channels_)
        t.pending += uint32_t(end - std::max(t.lastTime, cumulative_));
    conductor_.pending += uint32_t(end - std::max(conductor_.lastTime, cumulative_));
    cumulative_ = uint32_t(end);

    // Measures that only an end of track reached carry nothing; the next CV
    // starts its own.
    m_map.resize(last + 1);
    m_curMeasure = std::min(m_curMeasure, last);
    return kSuccess;
}

int CCvMidiCollector::CopyMissingCv(int element, int cv)
{
    uint8_t numerator = 4, denominator = 4;
    if (cv == 0) {
        WriteAtPending(conductor_, kForced44);
        const std::string file = CvFileName(element, cv);
        log_.Printf("Cumulative time: %d. Forcing tact to 4/4 at NonExistent CV MIDI File: %s\n",
                    int(cumulative_), file.c_str());
        m_pendingNumerator = 4;
        m_pendingDenominator = 4;
        int rc = LocateTick(cumulative_);
        if (rc == kSuccess) rc = ApplyTimeSignature(cumulative_);
        if (rc) return rc;
    } else {
        numerator = m_map.back().numerator;
        denominator = m_map.back().denominator;
        LogForcedFromFirstCv(numerator, denominator, CvFileName(element, cv));
    }

    const std::string text = "CV: CMajor";
    for (int c = 0; c < 16; ++c) {
        if (!IsPresent(c)) continue;
        log_.Printf("Channel: %02d, Delta Rest: %8ld - Inserted MARKER: %s%s - EMPTY CV!!!\n", c + 1,
                    long(channels_[size_t(c)].pending), series_.channelMarkerPrefix, text.c_str());
        WriteChannelMarker(c, text);
    }
    log_.Printf("Tempo Track - Inserted MARKER: %s - EMPTY CV!!!\n", text.c_str());
    WriteMarker(conductor_, text);
    AfterCvMarkers(element, cv, false);

    const uint32_t bar = MeasureTicks(numerator, denominator);
    if (uint64_t(cumulative_) + bar > kMaxOutputTick) return kBadDeltaTime;
    for (int c = 0; c < 16; ++c)
        if (IsPresent(c)) channels_[size_t(c)].pending += bar;
    conductor_.pending += bar;
    cumulative_ += bar;
    return kSuccess;
}

// Step 7: the conductor, then the present channels in channel order.
int CCvMidiCollector::WriteCollectedFile()
{
    // Positions are bounded, so only a length too long for its field can
    // have failed a track.
    for (const OutTrack& t : channels_)
        if (t.bytes.failed()) return kEventDataTooLong;
    if (conductor_.bytes.failed()) return kEventDataTooLong;
    pass_ = Pass::Writing;
    writeCursor_ = -1;
    return WriteToFile(outputPath_);
}

std::string CCvMidiCollector::CvFileName(int element, int cv) const
{
    return prefix_ + series_.terminators[size_t(StyleSeriesTraits::CvSlotOf(element, cv))] + ".mid";
}

// ---- Track bytes ---------------------------------------------------------------

void CCvMidiCollector::WriteAtPending(OutTrack& track, std::span<const uint8_t> bytes)
{
    track.bytes.varLen(track.pending);
    track.pending = 0;
    track.bytes.bytes(bytes);
}

void CCvMidiCollector::WriteMarker(OutTrack& track, const std::string& text)
{
    track.bytes.varLen(track.pending);
    track.pending = 0;
    track.bytes.u8(0xFF);
    track.bytes.u8(0x06);
    track.bytes.varLen(uint32_t(text.size()));
    track.bytes.text(text);
}

void CCvMidiCollector::WriteChannelMarker(int channel, const std::string& text)
{
    WriteMarker(channels_[size_t(channel)], series_.channelMarkerPrefix + text);
}

void CCvMidiCollector::QueueChannelEvent(int channel, std::span<const uint8_t> bytes)
{
    ByteWriter& store = queuedBytes_[size_t(channel)];
    queued_[size_t(channel)].push_back(
        QueuedEvent{eventTick_, GetLastMeasure(), uint32_t(store.size()), uint32_t(bytes.size())});
    store.bytes(bytes);
}

// The events of one file, channel by channel in time order: several track
// chunks of a file may play on one channel.
void CCvMidiCollector::FlushQueuedEvents()
{
    for (size_t c = 0; c < 16; ++c) {
        auto& events = queued_[c];
        if (events.empty()) continue;
        std::stable_sort(events.begin(), events.end(),
                         [](const QueuedEvent& a, const QueuedEvent& b) { return a.tick < b.tick; });
        OutTrack& track = channels_[c];
        const uint8_t* store = queuedBytes_[c].data();
        for (const QueuedEvent& e : events) {
            track.bytes.varLen(track.pending + (e.tick - track.lastTick));
            track.pending = 0;
            track.bytes.bytes(store + e.offset, e.size);
            track.lastTick = e.tick;
            track.lastTime = cumulative_ + e.tick;
            track.lastMeasure = e.measure;
        }
        events.clear();
        queuedBytes_[c].clear();
    }
}

void CCvMidiCollector::CopyMetaToConductor(uint8_t type, std::span<const uint8_t> data)
{
    OutTrack& t = conductor_;
    t.bytes.varLen(t.pending + (eventTick_ - std::min(eventTick_, t.lastTick)));
    t.pending = 0;
    t.bytes.u8(0xFF);
    t.bytes.u8(type);
    t.bytes.varLen(uint32_t(data.size()));
    t.bytes.bytes(data);
    t.lastTick = eventTick_;
    t.lastTime = eventAbs_;
    t.lastMeasure = GetLastMeasure();
}

// ---- Positions -------------------------------------------------------------------

StyleEventPosition CCvMidiCollector::EventPosition() const
{
    return StyleEventPosition{eventAbs_, int(GetLastMeasure()), int(GetLastBeat()), int(GetLastTick())};
}

void CCvMidiCollector::LogChannelEvent(const std::string& note, const char* controllerLabel)
{
    const StyleEventPosition pos = EventPosition();
    const unsigned channel = unsigned(m_status & 0x0F) + 1;
    const uint8_t d1 = m_eventData[0], d2 = m_eventData[1];
    const char* tail = note.c_str();
    switch (m_status & 0xF0) {
    case 0x80:
        log_.At(pos, "Note off    | chan=%2u   | key= %-5s   | vol=%u%s\n", channel,
                GetNoteOctaveText(d1, 0).c_str(), d2, tail);
        break;
    case 0x90:
        log_.At(pos, "Note on     | chan=%2u   | key= %-5s   | vol=%u%s\n", channel,
                GetNoteOctaveText(d1, 0).c_str(), d2, tail);
        break;
    case 0xA0:
        log_.At(pos, "Key Press   | chan=%2u   | pitch= %-3u | press=%u%s\n", channel, d1, d2, tail);
        break;
    case 0xB0:
        log_.At(pos, "%-11s | chan=%2u   | contr #%-3u | value=%u%s\n", controllerLabel, channel, d1, d2,
                tail);
        break;
    case 0xC0:
        log_.At(pos, "Program     | chan=%2u   | pgm #=%u%s\n", channel, d1, tail);
        break;
    case 0xD0:
        log_.At(pos, "Poly Press  | chan=%2u   | press= %-3u%s\n", channel, d1, tail);
        break;
    default:
        log_.At(pos, "Pitch Wheel | chan=%2u   | LSB=%u MSB=%u%s\n", channel, d1, d2, tail);
        break;
    }
}

bool CCvMidiCollector::InFirstBar() const
{
    if (m_denominator == 0) return false;
    return uint64_t(m_trackTime) < uint64_t(m_numerator) * fileDivision_ * 4 / m_denominator;
}

// Every event is placed before its callback: in the measuring pass within its
// file, in the copying pass rescaled to the output division and moved to the
// CV's start.
int CCvMidiCollector::BeforeEvent()
{
    if (pass_ == Pass::Copying) {
        const uint64_t tick = uint64_t(m_trackTime) * outDivision_ / fileDivision_;
        const uint64_t abs = cumulative_ + tick;
        if (abs > kMaxOutputTick) return kBadDeltaTime;
        eventTick_ = uint32_t(tick);
        eventAbs_ = uint32_t(abs);
        return ConvertTick(eventAbs_);
    }
    eventTick_ = eventAbs_ = m_trackTime;
    return CMidiFileEx::BeforeEvent();
}

// The measuring pass keeps the file's bars (a misplaced signature is reported
// by the copying pass); the copying pass applies signatures in OnMetaTime.
int CCvMidiCollector::BeforeTimeSignature()
{
    if (pass_ != Pass::Copying) {
        const int rc = CMidiFileEx::BeforeTimeSignature();
        return rc == kTimeSigWrongPlace ? int(kSuccess) : rc;
    }
    const uint8_t numerator = m_eventData[1];
    const uint8_t denominator = m_eventData[2]; // a note value (kDenominatorAsNote)
    if (numerator == 0 || MeasureTicks(numerator, denominator) == 0 || BeatTicks(denominator) == 0)
        return kInvalidDenominator;
    m_pendingNumerator = numerator;
    m_pendingDenominator = denominator;
    return kSuccess;
}

// ---- Callbacks -------------------------------------------------------------------

int CCvMidiCollector::OnHeader()
{
    if (IsWriting()) {
        uint16_t tracks = 1;
        for (int c = 0; c < 16; ++c)
            if (IsPresent(c)) ++tracks;
        SetHeader(1, tracks, outDivision_);
        writeCursor_ = -1;
        return kSuccess;
    }
    const std::string name = currentFile_.string();
    log_.Printf("\nFile name: %s\n", name.c_str());
    log_.Printf("File size: %ld\n", long(GetBytesLeft()) + 14);
    log_.Printf("Chunk size: %ld\n", 6L);
    log_.Printf("Format: %d, Num of tracks: %d, Division: %d\n\n", m_format, m_tracks, m_division);
    if (m_format != 1) {
        log_.Printf("Error: Midi file format (%d) not supported in this function\n", m_format);
        return kFormatNotSupported;
    }
    fileDivision_ = m_division;
    if (pass_ == Pass::Copying) {
        m_division = outDivision_;
        for (OutTrack& t : channels_)
            t.lastTick = 0;
        conductor_.lastTick = 0;
    }
    return OnFileHeader();
}

int CCvMidiCollector::OnTrackStart()
{
    if (IsWriting()) {
        if (m_trackIndex == 0) {
            RequestRawWrite(conductor_.bytes.data(), uint32_t(conductor_.bytes.size()));
            return kSuccess;
        }
        for (int c = writeCursor_ + 1; c < 16; ++c) {
            if (!IsPresent(c)) continue;
            writeCursor_ = c;
            const ByteWriter& b = channels_[size_t(c)].bytes;
            RequestRawWrite(b.data(), uint32_t(b.size()));
            return kSuccess;
        }
        return kCannotAllocateTrackBuffers;
    }
    log_.Printf("\n==================== Track #%d, Size %lu ====================\n\n", m_trackIndex,
                (unsigned long)GetChunkBytes());
    return OnTrackChunk();
}

int CCvMidiCollector::OnChannelEvent()
{
    switch (pass_) {
    case Pass::Measuring:
        return MeasureChannelEvent();
    case Pass::Copying:
        return CopyChannelEvent();
    default:
        return kSuccess;
    }
}

int CCvMidiCollector::OnMetaTempo()
{
    if (pass_ == Pass::Measuring) {
        if (!tempoFound_ && InFirstBar()) {
            tempo_ = m_eventTempo;
            tempoFound_ = true;
        }
        return kSuccess;
    }
    if (pass_ != Pass::Copying) return kSuccess;
    const StyleEventPosition pos = EventPosition();
    const unsigned bpm = unsigned(60000000u / m_eventTempo);
    if (!InFirstBar()) {
        log_.At(pos, "Tempo       | BPM=%-6u| micros/quarter=%lu --- Out of first bar --- IGNORED!!!\n", bpm,
                (unsigned long)m_eventTempo);
        return kSuccess;
    }
    log_.At(pos, "Tempo       | BPM=%-6u| micros/quarter=%lu\n", bpm, (unsigned long)m_eventTempo);
    if (InFirstTrack()) CopyMetaToConductor(0x51, std::span<const uint8_t>(m_eventData + 1, 3));
    return kSuccess;
}

int CCvMidiCollector::OnMetaKeySig()
{
    if (pass_ != Pass::Copying) return kSuccess;
    const StyleEventPosition pos = EventPosition();
    const std::string key = keySignatureText(int8_t(m_eventData[1]), m_eventData[2]);
    if (!InFirstBar()) {
        log_.At(pos, "Key sig     | %s     | --- Out of first bar --- IGNORED!!!\n", key.c_str());
        return kSuccess;
    }
    log_.At(pos, "Key sig     | %s     |\n", key.c_str());
    if (InFirstTrack()) CopyMetaToConductor(0x59, std::span<const uint8_t>(m_eventData + 1, 2));
    return kSuccess;
}

int CCvMidiCollector::OnMetaPort()
{
    if (pass_ != Pass::Copying) return kSuccess;
    const StyleEventPosition pos = EventPosition();
    if (!InFirstBar()) {
        log_.At(pos, "Port Number | Port Number = %u --- Out of first bar --- IGNORED!!!\n",
                unsigned(m_eventData[1]));
        return kSuccess;
    }
    log_.At(pos, "Port Number | Port Number = %u\n", unsigned(m_eventData[1]));
    if (InFirstTrack()) CopyMetaToConductor(0x21, std::span<const uint8_t>(m_eventData + 1, 1));
    return kSuccess;
}

int CCvMidiCollector::OnMetaChan()
{
    if (pass_ != Pass::Copying) return kSuccess;
    const StyleEventPosition pos = EventPosition();
    if (!InFirstBar()) {
        log_.At(pos, "Chan Number | Chan Number = %u --- Out of first bar --- IGNORED!!!\n",
                unsigned(m_eventData[1]));
        return kSuccess;
    }
    log_.At(pos, "Chan Number | Chan Number = %u\n", unsigned(m_eventData[1]));
    if (InFirstTrack()) CopyMetaToConductor(0x20, std::span<const uint8_t>(m_eventData + 1, 1));
    return kSuccess;
}

int CCvMidiCollector::OnMetaTime()
{
    const uint8_t numerator = m_eventData[1];
    const uint8_t denominator = m_eventData[2]; // a note value (kDenominatorAsNote)
    const uint8_t clocks = m_eventData[3];
    const uint8_t n32 = m_eventData[4];
    if (pass_ == Pass::Measuring) {
        if (!timeSigFound_) {
            timeSigFound_ = true;
            outNumerator_ = numerator;
            outDenominator_ = denominator;
            outClocks_ = clocks;
            out32nds_ = n32;
            outDivision_ = fileDivision_;
        }
        return kSuccess;
    }
    if (pass_ != Pass::Copying) return kSuccess;
    const StyleEventPosition pos = EventPosition();
    // Every track's signature sets the bars; only the first track's is copied.
    const bool changes = numerator != m_numerator || denominator != m_denominator;
    if (changes) {
        const int rc = ApplyTimeSignature(eventAbs_);
        if (rc == kTimeSigWrongPlace)
            log_.At(pos,
                    "ERROR: Time sig out of right place    | %2d/%-7lu| MIDI-clocks/click=%u | "
                    "32nds/quarter=%u\n",
                    numerator, (unsigned long)denominator, clocks, n32);
        if (rc) return rc;
    }
    if (!InFirstTrack() || !CopiesTimeSignature()) {
        log_.At(pos, "Time sig    | %2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u --- IGNORED\n",
                numerator, (unsigned long)denominator, clocks, n32);
        return kSuccess;
    }
    log_.At(pos, "Time sig    | %2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u\n", numerator,
            (unsigned long)denominator, clocks, n32);
    const uint8_t data[] = {numerator, denominatorPower(denominator), clocks, n32};
    CopyMetaToConductor(0x58, data);
    return kSuccess;
}

int CCvMidiCollector::OnMetaText()
{
    if (pass_ != Pass::Copying || !InFirstTrack()) return kSuccess;
    const uint32_t length = GetEventBytes();
    const StyleEventPosition pos = EventPosition();
    if (!InFirstBar()) {
        log_.At(pos, "Variable length META TEXT event| len=%-6lu| --- Out of first bar --- IGNORED!!!\n",
                (unsigned long)length);
        return kSuccess;
    }
    if (length > kMaxCopiedMetaLength) return kSuccess;
    uint8_t text[kMaxCopiedMetaLength];
    const int rc = ReadBytes(text, length);
    if (rc) return rc;
    log_.At(pos, "Variable length META TEXT event| len=%-6lu|\n", (unsigned long)length);
    CopyMetaToConductor(m_status, std::span<const uint8_t>(text, length));
    return kSuccess;
}

} // namespace zib
