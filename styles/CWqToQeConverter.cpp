#include "styles/CWqToQeConverter.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "midi/MidiErrorText.h"

namespace zib {

namespace {

constexpr MidiErrorText kWqToQeConverterErrorTexts[] = {
    {int(WqToQeError::None), "Success"},
    {int(WqToQeError::DamagedImage), "The style data is damaged"},
    {int(WqToQeError::NoRoom), "The output buffer has no room for the next write"},
    {int(WqToQeError::UnknownModel), "Unknown keyboard model"},
    {int(WqToQeError::PatternCount), "No pattern with data, or more than 216"},
    {int(WqToQeError::BarFitting), "Fitting a bar took 1000 steps"},
    {int(WqToQeError::TrackNumber), "Track number above 5"},
    {int(WqToQeError::TooManyCvs), "More chord variations in a style element than it may hold"},
    {int(WqToQeError::TooManyTracks), "More than 6 tracks in a chord variation"},
    {int(WqToQeError::DeltaTooLarge), "A delta time needs more than 4 bytes"},
    {int(WqToQeError::CvTooLong), "Chord variation longer than 16 bars"},
    {int(WqToQeError::PatternNumber), "Pattern number 100 or more"},
    {int(WqToQeError::SignatureChange), "Time signature change inside a Variation or Fill"},
    {int(WqToQeError::EventsEnded), "A pattern's events ended before its end"},
};

constexpr int err(WqToQeError e) { return int(e); }

// Wq elements in Qe order: VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1, END2.
constexpr std::array<int, wq::kElementCount> kQeOrder = {0, 1, 2, 3, 4, 5, 8, 9, 6, 7};

// Qe element bit of a Wq element
constexpr uint16_t qeElementBit(int element)
{
    const int qe = element < 6 ? element : element < 8 ? element + 2 : element - 2;
    return uint16_t(1u << qe);
}

constexpr uint8_t kNameLength = 16;
constexpr uint16_t kTrackModes = 0xAAA0;
constexpr uint8_t kTensionBits = 0x38;
constexpr size_t kHeaderRoom = 30;
constexpr int kMaxPatterns = wq::kTrackSlotCount;
constexpr int kMaxFittingSteps = 1000;

// Property stream
constexpr uint8_t kKindNoteOff = 0;
constexpr uint8_t kKindNoteOn = 1;
constexpr uint8_t kKindController = 3;
constexpr uint8_t kKindPitchWheel = 6;
constexpr uint8_t kTrackChangeFlag = 0x40;
constexpr uint8_t kLastByteBit = 0x80;
// Track of a Wq track's events in the pattern (DRUM, PERC, BASS, ACC1-3)
constexpr std::array<uint8_t, wq::kTrackCount> kEventTrack = {9, 10, 8, 11, 12, 13};
// Pattern type (chunk id - 2) of a Wq track
constexpr std::array<uint8_t, wq::kTrackCount> kPatternType = {0, 0, 1, 2, 2, 2};

// Controllers that reach the pattern
constexpr std::array<uint8_t, 12> kControllers = {1, 2, 10, 11, 12, 13, 64, 71, 74, 80, 81, 82};

// Count-in of a short first bar of an Intro or Ending: closed hi-hat.
constexpr uint8_t kCountInNote = 42;
constexpr uint8_t kCountInVelocity = 72;

// Track table
constexpr std::array<uint8_t, 6> kEmptyTrackRecord = {100, 0, 0, 0, 21, 108};

struct NumberRange {
    uint8_t first;
    uint8_t last;
};

// Drum-kit sound numbers whose notes 21-34 are lowered, per model: on both
// DRUM and PERC, and on DRUM only.
struct DrumKits {
    uint32_t model;
    uint8_t kind;
    std::initializer_list<NumberRange> both;
    std::initializer_list<NumberRange> drumOnly;
};

bool inRanges(std::initializer_list<NumberRange> ranges, uint8_t number)
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [&](const NumberRange& r) { return number >= r.first && number <= r.last; });
}

bool isLoweredKit(uint32_t model, uint8_t kind, uint8_t number, bool drum)
{
    static const DrumKits kKits[] = {
        {'9', 2, {{0, 4}}, {{6, 7}}},
        {'<', 2, {{0, 4}, {8, 8}, {10, 12}, {15, 15}}, {{6, 7}}},
        {'H', 2, {{0, 4}, {8, 8}, {10, 11}, {13, 14}, {17, 18}, {20, 20}, {22, 26}}, {{6, 7}}},
        {'I', 4, {{0, 8}, {14, 15}, {18, 29}}, {{32, 39}}},
        {'M', 4, {{0, 8}}, {{14, 15}}},
    };
    for (const DrumKits& kits : kKits) {
        if (kits.model != model) continue;
        return kind == kits.kind && (inRanges(kits.both, number) || (drum && inRanges(kits.drumOnly, number)));
    }
    return false;
}

int statusCode(CQeStyleChunkWriter::Status status)
{
    switch (status) {
    case CQeStyleChunkWriter::Status::Ok: return 0;
    case CQeStyleChunkWriter::Status::NoRoom: return err(WqToQeError::NoRoom);
    case CQeStyleChunkWriter::Status::DeltaTooLarge: return err(WqToQeError::DeltaTooLarge);
    }
    return err(WqToQeError::NoRoom);
}

} // namespace

const char* WqToQeErrorText(int code)
{
    return FindMidiErrorText(kWqToQeConverterErrorTexts, code);
}

std::string FormatWqToQeFailure(std::string_view styleName, int code)
{
    const std::string name(styleName);
    char text[256];
    std::snprintf(text, sizeof text, "Style %s not converted - Error no: %ld", name.c_str(), long(code));
    return text;
}

CWqToQeConverter::Signature CWqToQeConverter::SignatureOf(int code)
{
    if (code >= 16 && code <= 24) return {uint8_t(code - 15), 2};
    if (code >= 32 && code <= 47) return {uint8_t(code - 31), 3};
    if (code >= 48 && code <= 63) return {uint8_t(code - 47), 4};
    return {3, 2};
}

bool CWqToQeConverter::IsLoweredDrumKit(uint32_t model, int track, uint16_t soundWord)
{
    if (track != 0 && track != 1) return false;
    return isLoweredKit(model, uint8_t(soundWord >> 8), uint8_t(soundWord & 0xFF), track == 0);
}

// Converting

int CWqToQeConverter::Convert(const uint8_t* image, size_t size, uint32_t model, uint8_t* out, size_t capacity)
{
    if (!out) capacity = 0;
    std::vector<uint8_t> body;
    const int result = Convert(std::span<const uint8_t>(image, image ? size : 0), model, body, capacity);
    if (result > 0) std::copy(body.begin(), body.end(), out);
    return result;
}

int CWqToQeConverter::Convert(std::span<const uint8_t> image, uint32_t model, std::vector<uint8_t>& body,
                              size_t capacity)
{
    elements_ = {};
    cvs_ = {};
    elementMask_ = 0;
    patternCount_ = 0;
    out_.reset();
    body.clear();
    if (capacity < 8) return err(WqToQeError::NoRoom);

    SetImage(image.data(), image.size());
    SetModel(model);
    out_.emplace(capacity);
    const int result = Run(model);
    if (result >= 0) body = out_->Take();
    out_.reset();
    return result < 0 ? result : int(body.size());
}

int CWqToQeConverter::Run(uint32_t model)
{
    out_->OpenContainer(0x01);
    if (!out_->HasRoom(kHeaderRoom)) return err(WqToQeError::NoRoom);
    if (!wq::isKnownModel(model)) return err(WqToQeError::UnknownModel);
    if (ValidateWqImage(GetImage(), GetImageSize(), model) != WqImageError::None)
        return err(WqToQeError::DamagedImage);

    // The CVs that exist and are not empty, and their tracks with data
    for (int e = 0; e < wq::kElementCount; ++e) {
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv) {
            if (IsChordVarEmpty(uint8_t(e), uint8_t(cv))) continue;
            elementMask_ |= qeElementBit(e);
            for (int t = 0; t < wq::kTrackCount; ++t) {
                if (!HasTrackData(uint8_t(e), uint8_t(cv), uint8_t(t))) continue;
                elements_[size_t(e)].cvMask |= uint8_t(1u << cv);
                cvs_[size_t(wq::cvIndexOf(e, cv))].trackMask |= uint8_t(1u << t);
                ++patternCount_;
            }
        }
    }

    // Style header: the name made of the permitted characters, zero-padded to 16
    std::array<uint8_t, kNameLength> name{};
    for (uint32_t i = 0; i < GetLayout().nameWidth; ++i) {
        const uint8_t c = u8At(i);
        name[i] = c != 0 && (c < 0x21 || c > 0x7E || c == '&') ? uint8_t('_') : c;
    }
    if (!out_->StyleHeader(name, kTrackModes, uint8_t(GetTensionByte() & kTensionBits), elementMask_))
        return err(WqToQeError::NoRoom);

    // Pattern container: the map (one use per pattern, in order), then the patterns
    if (patternCount_ == 0 || patternCount_ > kMaxPatterns) return err(WqToQeError::PatternCount);
    std::vector<uint16_t> uses;
    for (int i = 1; i <= patternCount_; ++i) uses.push_back(uint16_t(i));
    if (!out_->OpenContainer(0x02) || !out_->PatternMap(uint16_t(patternCount_), uses))
        return err(WqToQeError::NoRoom);
    for (int e : kQeOrder)
        if (int result = WriteElementPatterns(e); result < 0) return result;
    if (!out_->Close()) return err(WqToQeError::NoRoom);

    if (int result = WriteElements(); result < 0) return result;
    if (!out_->Close() || out_->Failed()) return err(WqToQeError::NoRoom);
    return int(out_->Size());
}

// Patterns

int CWqToQeConverter::WriteElementPatterns(int element)
{
    ElementState& state = elements_[size_t(element)];

    // Chord table: CV numbers clamped to the element's CVs, then renumbered
    // to the compacted CV mask (the k-th present CV becomes k). Slots are
    // taken from the last down, so every entry of a present CV lands on its
    // compacted number.
    const int cvCount = wq::cvCountOf(element);
    const uint8_t maxCv = uint8_t(cvCount - 1);
    for (int i = 0; i < wq::kChordTableSize; ++i)
        state.chordTable[size_t(i)] = std::min(GetElementList(uint8_t(element), uint8_t(i)), maxCv);
    for (int slot = cvCount - 1; slot >= 0; --slot) {
        if (state.cvMask & (1u << slot)) continue;
        for (int i = 0; i < wq::kChordTableSize; ++i) {
            uint8_t& entry = state.chordTable[size_t(i)];
            if (entry != 0 && entry >= slot) --entry;
        }
    }
    state.chordTable[wq::kChordTableSize] = 0;

    for (int cv = 0; cv < cvCount; ++cv) {
        if (!(state.cvMask & (1u << cv))) continue;
        if (int result = WriteCvPatterns(element, cv); result < 0) return result;
    }
    return 0;
}

int CWqToQeConverter::WriteCvPatterns(int element, int cv)
{
    const int bars = GetCvLength(uint8_t(element), uint8_t(cv));
    if (bars > wq::kMaxCvBars) return err(WqToQeError::CvTooLong);
    if (bars == 0) return 0;
    element_ = element;
    cvBars_ = bars;
    CvState& state = cvs_[size_t(wq::cvIndexOf(element, cv))];
    auto runOf = [&](int track) { return GetSlotRun(wq::trackSlotOf(element, cv, track)); };

    // First read, bar events only: the signature of every bar. When they are
    // all the same the patterns take it, otherwise the style's.
    std::vector<Signature> signatures;
    for (int t = 0; t < wq::kTrackCount; ++t) {
        if (!(state.trackMask & (1u << t))) continue;
        const auto run = runOf(t);
        int bar = -1;
        for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
            const WqEvent event = WqEvent::fromBytes(run.data() + at);
            if (event.isEnd()) break;
            if (!event.isBar()) continue;
            if (++bar >= bars) break;
            signatures.push_back(SignatureOf(event.barTimeSig()));
        }
    }
    const bool allEqual = std::all_of(signatures.begin(), signatures.end(),
                                      [&](const Signature& s) { return s == signatures.front(); });
    patternSig_ = !signatures.empty() && allEqual ? signatures.front() : SignatureOf(GetTimeSigCode());
    ElementState& elementState = elements_[size_t(element)];
    if (!elementState.timeSigSet) {
        elementState.timeSig = patternSig_.ElementByte();
        elementState.timeSigSet = true;
    }

    // The CV length is that of its longest track, bars fitted to the pattern signature.
    cvLength_ = 0;
    for (int t = 0; t < wq::kTrackCount; ++t) {
        if (!(state.trackMask & (1u << t))) continue;
        TrackRead read;
        read.track = t;
        if (int result = ReadTrack(read, runOf(t)); result < 0) return result;
        cvLength_ = std::max(cvLength_, read.barStart + (read.ended || read.bar < 0 ? 0 : read.barFitted));
    }
    state.length = cvLength_;

    // Writing read: one pattern per track with data
    const uint8_t keyByte = GetCvKeyByte(uint8_t(element), uint8_t(cv));
    const uint8_t chord = keyByte >= 24 ? 2 : (keyByte & 1) ? 9 : 2;
    const uint8_t key = keyByte >= 24 ? 0 : keyByte / 2;
    for (int t = 0; t < wq::kTrackCount; ++t) {
        if (!(state.trackMask & (1u << t))) continue;
        if (!out_->OpenPattern(uint8_t(kPatternType[size_t(t)] + 2), cvLength_)) return err(WqToQeError::NoRoom);
        TrackRead read;
        read.track = t;
        read.writing = true;
        read.loweredKit = IsLoweredDrumKit(GetModel(), t, GetTrackWord(0, uint8_t(t)));
        if (int result = ReadTrack(read, runOf(t)); result < 0) return result;
        if (!read.ended) return err(WqToQeError::EventsEnded);
        if (!out_->ClosePattern(chord, key)) return err(WqToQeError::NoRoom);
    }
    return 0;
}

// Reading a track

int CWqToQeConverter::ReadTrack(TrackRead& read, std::span<const uint8_t> run)
{
    for (size_t at = 0; at + wq::kEventSize <= run.size() && !read.ended; at += wq::kEventSize) {
        const WqEvent event = WqEvent::fromBytes(run.data() + at);
        int result = 0;
        if (event.isBar()) {
            result = StartBar(read, event);
        } else if (event.isEnd()) {
            result = EndTrack(read);
        } else if (read.writing && read.bar >= 0) {
            Translate(read, event);
        }
        if (result < 0) return result;
    }
    return 0;
}

// A bar event ends the bar before it and starts the next one; at the CV's
// bar count it ends the pattern. A bar of another signature than the
// pattern's is fitted to whole pattern bars; a short first bar is padded
// before its events, so that they end on the bar line.
int CWqToQeConverter::StartBar(TrackRead& read, const WqEvent& event)
{
    if (read.bar >= 0) {
        if (int result = FinishBar(read); result < 0) return result;
        read.barStart += read.barFitted;
    }
    if (++read.bar >= cvBars_) return EndTrack(read);

    const Signature signature = SignatureOf(event.barTimeSig());
    const uint32_t length = signature.QeBarLength();
    const uint32_t patternBar = patternSig_.QeBarLength();
    read.barLength = signature.WqBarLength();
    read.barFitted = length;
    read.barShift = 0;
    if (!(signature == patternSig_)) {
        if (element_ < 4 || element_ == 8 || element_ == 9) return err(WqToQeError::SignatureChange);
        uint32_t fitted = patternBar;
        for (int steps = 0; fitted < length; fitted += patternBar)
            if (++steps >= kMaxFittingSteps) return err(WqToQeError::BarFitting);
        read.barFitted = fitted;
        if (read.bar == 0 && length < patternBar) read.barShift = fitted - length;
    }
    if (!read.writing) return 0;

    // Count-in on DRUM through the padding of a short first bar
    if (read.track == 0 && read.barShift > 0) {
        const uint32_t beat = 1536u >> patternSig_.log2Denominator;
        for (uint32_t time = 0; time < read.barShift; time += beat) {
            EnqueueAt(read, time, kKindNoteOn, kCountInNote, kCountInVelocity | kLastByteBit);
            EnqueueAt(read, time, kKindNoteOff, kCountInNote, kCountInVelocity | kLastByteBit);
        }
    }

    // Pattern reference: 11 starts it, 10 plays its next bar.
    if (event.barMark() == WqBarMark::Start) read.repeat = 0;
    if (event.barMark() == WqBarMark::Continued) ++read.repeat;
    if (event.hasPattern()) return PlayPattern(read, event.barPattern());
    return 0;
}

// The events of the bar of a Wq pattern that the repeat counter names.
int CWqToQeConverter::PlayPattern(TrackRead& read, int pattern)
{
    if (pattern >= wq::kPatternCount) return err(WqToQeError::PatternNumber);
    const auto run = GetPatternRun(pattern);
    read.skip = read.repeat != 0;
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
        const WqEvent event = WqEvent::fromBytes(run.data() + at);
        if (event.isEnd()) break;
        if (event.isBar()) {
            read.skip = event.barNumber() != read.repeat;
        } else if (!read.skip) {
            Translate(read, event);
        }
    }
    read.skip = false;
    return 0;
}

// The end event, or the bar count reached: the last bar's events, then the
// end of track at the CV length.
int CWqToQeConverter::EndTrack(TrackRead& read)
{
    if (read.bar >= 0 && read.bar < cvBars_) {
        if (int result = FinishBar(read); result < 0) return result;
        read.barStart += read.barFitted;
    }
    read.ended = true;
    if (!read.writing) return 0;
    const uint32_t delta = cvLength_ > read.lastWritten ? cvLength_ - read.lastWritten : 0;
    return statusCode(out_->EndOfTrack(delta));
}

int CWqToQeConverter::FinishBar(TrackRead& read)
{
    if (!read.writing) return 0;
    for (const Pending& p : read.pending)
        if (int result = WriteEvent(read, read.barStart + p.time, p.kind, p.data1, p.data2); result < 0)
            return result;
    read.pending.clear();
    return 0;
}

// Events

void CWqToQeConverter::Translate(TrackRead& read, const WqEvent& event)
{
    const uint32_t time = event.time();
    switch (event.kind()) {
    case WqEventKind::PitchBend:
        if (time <= read.barLength)
            Enqueue(read, time, kKindPitchWheel, uint8_t(event.b[2] & 0x7F), uint8_t(event.b[3] | kLastByteBit));
        break;
    case WqEventKind::ControlChange:
        if (time <= read.barLength &&
            std::find(kControllers.begin(), kControllers.end(), event.b[2]) != kControllers.end())
            Enqueue(read, time, kKindController, event.b[2], uint8_t(event.b[3] | kLastByteBit));
        break;
    case WqEventKind::Note:
        TranslateNote(read, event);
        break;
    default:
        break;
    }
}

// A note is fitted to its bar (L = bar length): a tied time (510) continues
// a note from the bar before, a tied duration holds it into the next bar.
// In the CV's last bar every note ends 2 ticks before the bar line, and a
// held note at the bar line.
void CWqToQeConverter::TranslateNote(TrackRead& read, const WqEvent& event)
{
    const int length = int(read.barLength);
    const bool lastBar = read.bar == cvBars_ - 1;
    int time = event.time();
    int duration = event.duration();
    bool timeTied = time == wq::kTie;
    bool durationTied = duration == wq::kTie;
    uint8_t note = event.noteNumber();
    if (read.loweredKit && note >= 21 && note <= 34) note = uint8_t(note - 12);
    const uint8_t velocity = uint8_t(event.velocity() | kLastByteBit);

    if (!timeTied && time > length) return; // starts after the bar
    if (!timeTied && !durationTied) {
        if (time + duration >= length) {
            if (!lastBar) {
                duration = length - time;
            } else if (time >= length - 1) {
                time = length - 2;
                duration = 1;
            } else {
                duration = length - time - 2;
            }
        }
    } else if (!durationTied) {
        if (duration >= length) duration = lastBar ? length - 2 : length;
    } else if (lastBar) {
        duration = timeTied ? length : length - time;
        durationTied = false;
    }

    if (!timeTied && (durationTied ? time : time + duration) <= length)
        Enqueue(read, uint32_t(time), kKindNoteOn, note, velocity);
    if (!durationTied) {
        const int off = timeTied ? duration : time + duration;
        if (off <= length) Enqueue(read, uint32_t(off), kKindNoteOff, note, velocity);
    }
}

void CWqToQeConverter::Enqueue(TrackRead& read, uint32_t wqTime, uint8_t kind, uint8_t data1, uint8_t data2)
{
    EnqueueAt(read, read.barShift + wqTime * 4, kind, data1, data2);
}

// Events of one time keep the order they came in.
void CWqToQeConverter::EnqueueAt(TrackRead& read, uint32_t qeTime, uint8_t kind, uint8_t data1, uint8_t data2)
{
    auto later = std::upper_bound(read.pending.begin(), read.pending.end(), qeTime,
                                  [](uint32_t time, const Pending& p) { return time < p.time; });
    read.pending.insert(later, Pending{qeTime, kind, data1, data2});
}

int CWqToQeConverter::WriteEvent(TrackRead& read, uint32_t time, uint8_t kind, uint8_t data1, uint8_t data2)
{
    const uint32_t delta = time > read.lastWritten ? time - read.lastWritten : 0;
    CQeStyleChunkWriter::Status status;
    if (!read.firstWritten) {
        const uint8_t bytes[] = {uint8_t(kind | kTrackChangeFlag), kEventTrack[size_t(read.track)], data1, data2};
        status = out_->Event(delta, bytes);
    } else {
        const uint8_t bytes[] = {kind, data1, data2};
        status = out_->Event(delta, bytes);
    }
    read.firstWritten = true;
    read.lastWritten = std::max(read.lastWritten, time);
    return statusCode(status);
}

// Elements

int CWqToQeConverter::WriteElements()
{
    const WqToQeSoundTable& sounds = sounds_ ? *sounds_ : builtInWqToQeSoundTable();
    std::array<std::array<uint8_t, 6>, 8> trackTable;
    for (int t = 0; t < wq::kTrackCount; ++t) {
        const auto sound = sounds.Lookup(GetModel(), GetTrackWord(0, uint8_t(t)));
        trackTable[size_t(t)] = {100, sound[0], sound[1], sound[2], 21, 108};
    }
    trackTable[6] = trackTable[7] = kEmptyTrackRecord;

    for (int e : kQeOrder) {
        if (!(elementMask_ & qeElementBit(e))) continue;
        const ElementState& state = elements_[size_t(e)];
        const int cvs = std::popcount(state.cvMask);
        if (cvs > wq::cvCountOf(e)) return err(WqToQeError::TooManyCvs);
        const uint8_t ntt = e == 4 || e == 6 ? 3 : 2; // Intro1, End1
        if (!out_->OpenContainer(0x03) ||
            !out_->ElementInfo(uint8_t((1u << cvs) - 1), ntt, state.timeSig, state.chordTable) ||
            !out_->TrackTable(trackTable))
            return err(WqToQeError::NoRoom);
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv) {
            if (!(state.cvMask & (1u << cv))) continue;
            const CvState& cvState = cvs_[size_t(wq::cvIndexOf(e, cv))];
            std::vector<QeCvUse> uses;
            for (int t = 0; t < wq::kTrackCount; ++t)
                if (cvState.trackMask & (1u << t)) uses.push_back({kPatternType[size_t(t)], uint8_t(t)});
            if (uses.size() > size_t(wq::kTrackCount)) return err(WqToQeError::TooManyTracks);
            if (int result = statusCode(out_->CvRecord(cvState.length, uses)); result < 0) return result;
        }
        if (!out_->Close()) return err(WqToQeError::NoRoom);
    }
    return 0;
}

// The conversion of the style document

WqToQeResult ConvertWqStyleToQe(std::span<const uint8_t> image, uint32_t model, std::string_view styleName)
{
    WqToQeResult result;
    CWqToQeConverter converter;
    const int written = converter.Convert(image, model, result.body);
    if (written < 0) {
        result.code = written;
        result.text = FormatWqToQeFailure(styleName, written);
        result.body.clear();
    }
    return result;
}

} // namespace zib
