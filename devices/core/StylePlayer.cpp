#include "devices/core/StylePlayer.h"

#include "devices/core/MidiHeader.h"
#include "devices/core/StyleTrackChannels.h"
#include "midi/CStyleMidiReader.h"
#include "midi/MidiEventKind.h"

#include <algorithm>
#include <cstdio>

namespace zib {

namespace {

constexpr int kElementCount = int(CStyleMidiReader::kElements);
constexpr int kFirstMovedTrack = 2; // DRUM and PERC play as recorded
constexpr uint32_t kNoProgram = 0xFFFFFFFF;
constexpr uint32_t kMicrosecondsPerMinute = 60000000;

constexpr const char* kQeLabels[kElementCount] = {"VAR1",   "VAR2",  "VAR3",  "VAR4", "INTRO1",
                                                  "INTRO2", "FILL1", "FILL2", "END1", "END2"};
constexpr const char* kWqLabels[kElementCount] = {"VAR1",   "VAR2", "VAR3", "VAR4",  "INTRO1",
                                                  "INTRO2", "END1", "END2", "FILL1", "FILL2"};
constexpr const char* kTrackNames[8] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"};

uint32_t shortWord(int status, int data1, int data2 = 0)
{
    return uint32_t(status & 0xFF) | uint32_t(data1 & 0x7F) << 8 | uint32_t(data2 & 0x7F) << 16;
}

uint32_t ticksUntil(uint32_t to, uint32_t from)
{
    return to > from ? to - from : 0;
}

// Beat and bar of a time-signature byte (numerator - 1 in the low nibble, the
// denominator's power of two in the high one); both at least one tick, also
// for a signature no style should hold.
void barLengths(uint8_t signature, uint32_t division, uint32_t& beat, uint32_t& bar)
{
    const uint32_t power = signature >> 4;
    beat = std::max<uint32_t>(1, division * 4 >> power);
    bar = beat * ((signature & 0x0F) + 1u);
}

} // namespace

StylePlayer::StylePlayer(const CStyleMidiReader& style, StylePlayerOutput& output,
                         const TensionSource& tensions)
    : style_(style), output_(output), qe_(style.modelCode == kQeStyleModelCode), chords_(qe_),
      transposer_(style, tensions)
{
    volumes_.fill(kStartVolume);
}

void StylePlayer::Open()
{
    playing_ = end_ = restart_ = setupPending_ = false;
    setup_.clear();
    buffer_.clear();
    returnVariation_ = 0;
    lastEventTime_ = carry_ = 0;
    bar_ = beat_ = 0;
    tempo_ = kStartTempo;
    volumes_.fill(kStartVolume);
    selectedTrack_ = 0;
    chords_.Reset();
    timer_.Kill();
    transposer_.Reset();
    chordText_ = "C";
    const int start = HasElement(4) ? 4 : 0;
    switch_.current = switch_.pending = {start, AssignedVariation(style_, start, kChordTypeMajor)};
    switch_.changePending = false;
    switch_.ticks = {};
    nextIndex_ = StartIndex(current());
    sounding_.clear();
    sentNoteOns_.clear();
}

// --- What the window shows ---

bool StylePlayer::HasElement(int element) const
{
    return element >= 0 && element < kElementCount && style_.elements[size_t(element)].present != 0;
}

std::string StylePlayer::ElementLabel(int element) const
{
    if (element < 0 || element >= kElementCount) return {};
    return (qe_ ? kQeLabels : kWqLabels)[element];
}

bool StylePlayer::IsFill(int element) const
{
    return qe_ ? element == 6 || element == 7 : element == 8 || element == 9;
}

bool StylePlayer::IsEnding(int element) const
{
    return qe_ ? element == 8 || element == 9 : element == 6 || element == 7;
}

std::string StylePlayer::PositionText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "   %3d:%02d", bar_ + 1, beat_ + 1);
    return text;
}

std::string StylePlayer::TrackName(int track) const
{
    return track >= 0 && track < TrackCount() ? kTrackNames[track] : "";
}

int StylePlayer::TrackVolume(int track) const
{
    return track >= 0 && track < TrackCount() ? volumes_[size_t(track)] : 0;
}

std::string StylePlayer::SelectedTrackText(const ProgramNameFunction& programName) const
{
    const std::string program = programName ? programName(style_, current().element, selectedTrack_) : "";
    char text[128];
    std::snprintf(text, sizeof text, "%s:   %-18s", TrackName(selectedTrack_).c_str(), program.c_str());
    return text;
}

std::vector<std::pair<int, int>> StylePlayer::SoundingNotes() const
{
    std::vector<std::pair<int, int>> notes;
    for (const auto& [key, count] : sounding_)
        if (count > 0) notes.emplace_back(key >> 8, key & 0x7F);
    return notes;
}

// --- Pattern data ---

uint32_t StylePlayer::StartIndex(StylePlace place) const
{
    if (place.element < 0 || place.element >= kElementCount || place.variation < 0 ||
        size_t(place.variation) >= CStyleMidiReader::kVariations)
        return uint32_t(style_.GetEventCount());
    return style_.elements[size_t(place.element)].variations[size_t(place.variation)].firstEvent;
}

uint32_t StylePlayer::PatternLength(StylePlace place) const
{
    if (place.element < 0 || place.element >= kElementCount || place.variation < 0 ||
        size_t(place.variation) >= CStyleMidiReader::kVariations)
        return 0;
    return style_.elements[size_t(place.element)].variations[size_t(place.variation)].length;
}

// Expression, bank and program of every track that has a program in the
// element, then (at a start and after a switch at the end of a list) the
// volume of every track.
std::vector<StylePlayer::StreamEvent> StylePlayer::ElementSetup(int element, bool withVolumes) const
{
    std::vector<StreamEvent> events;
    if (element < 0 || element >= kElementCount) return events;
    const auto& tracks = style_.elements[size_t(element)].tracks;
    for (int track = 0; track < TrackCount(); ++track) {
        const uint32_t program = tracks[size_t(track)].program;
        if (program == kNoProgram) continue;
        const int channel = StyleTrackChannel(qe_, track);
        const int expression = std::min<int>(tracks[size_t(track)].expression, 127);
        events.push_back({0, shortWord(0xB0 | channel, 11, expression)});
        events.push_back({0, shortWord(0xB0 | channel, 0, int(program >> 24))});
        events.push_back({0, shortWord(0xB0 | channel, 32, int(program >> 16))});
        events.push_back({0, shortWord(0xC0 | channel, int(program))});
    }
    if (withVolumes)
        for (int track = 0; track < TrackCount(); ++track)
            events.push_back({0, shortWord(0xB0 | StyleTrackChannel(qe_, track), 7,
                                           std::min(volumes_[size_t(track)], 127))});
    return events;
}

// --- Buffers ---

uint32_t StylePlayer::TakeDelta(uint32_t time)
{
    const uint32_t delta = carry_ + ticksUntil(time, lastEventTime_);
    carry_ = 0;
    lastEventTime_ = time;
    return delta;
}

void StylePlayer::NoteSent(uint32_t word)
{
    if (mevt::Type(word) != 0) return;
    const int status = int(word & 0xFF);
    const int kind = status & 0xF0;
    if (kind != 0x80 && kind != 0x90) return;
    const uint16_t key = uint16_t((status & 0x0F) << 8 | (word >> 8 & 0x7F));
    const bool on = kind == 0x90 && (word >> 16 & 0x7F) != 0;
    if (on) {
        ++sounding_[key];
    } else if (auto it = sounding_.find(key); it != sounding_.end() && --it->second <= 0) {
        sounding_.erase(it);
    }
}

StylePlayer::Result StylePlayer::Queue(std::vector<StreamEvent> events)
{
    if (events.empty()) return {0, true};
    buffer_.assign(events.size() * mevt::kEventSize, 0);
    uint8_t* p = buffer_.data();
    for (const StreamEvent& e : events) {
        for (int i = 0; i < 4; ++i) {
            p[i] = uint8_t(e.delta >> (8 * i));
            p[8 + i] = uint8_t(e.word >> (8 * i));
        }
        p += mevt::kEventSize;
        NoteSent(e.word);
    }
    if (const uint32_t error = output_.Queue(buffer_)) return {error, false};
    return {};
}

// One event of the style as it goes out, with delta 0: a note of tracks 2 and
// up moved to `chord` (one or two notes), anything else as it was recorded.
// A note off ends the notes its note on went out as; one whose note on did
// not go out sends nothing. False when the event cannot be played.
bool StylePlayer::AppendEvent(uint32_t index, StylePlace place, const Chord& chord,
                              std::vector<StreamEvent>& out)
{
    const auto& events = style_.GetEvents();
    if (index >= events.size()) return false;
    const CMidiEventBase& e = *events[index];
    const int kind = e.status & 0xF0;
    if (e.status >= 0xF0) {
        out.push_back({0, mevt::kNop}); // no channel event: its time passes
        return true;
    }
    if (kind != 0x80 && kind != 0x90) {
        const uint8_t d1 = e.data.size() > 0 ? e.data[0] : 0;
        const uint8_t d2 = e.data.size() > 1 ? e.data[1] : 0;
        out.push_back({0, shortWord(e.status, d1, ShortMessageLength(e.status) > 2 ? d2 : 0)});
        return true;
    }
    if (e.length != 2 || e.data.size() < 2) return false;
    const int channel = e.status & 0x0F;
    const uint8_t track = StyleChannelTrack(qe_, channel);
    if (track == kNoStyleTrack || track >= TrackCount()) return false;
    if (track < kFirstMovedTrack) {
        out.push_back({0, shortWord(e.status, e.data[0], e.data[1])});
        return true;
    }

    if (!isNoteOn(e) && e.paired && e.duration < index) {
        const CMidiEventBase& on = *events[e.duration];
        if (isNoteOn(on) && (on.status & 0x0F) == channel && !on.data.empty() && on.data[0] == e.data[0]) {
            const auto sent = sentNoteOns_.find(e.duration);
            if (sent == sentNoteOns_.end()) {
                out.push_back({0, mevt::kNop}); // its note on did not go out: nothing to end
                return true;
            }
            for (int i = 0; i < sent->second.count; ++i)
                out.push_back({0, shortWord(e.status, sent->second.notes[size_t(i)], e.data[1])});
            sentNoteOns_.erase(sent);
            return true;
        }
    }

    TransposedNote moved;
    if (transposer_.Transpose(index, place, chord, moved) == Transposer::Result::Failed) return false;
    for (int i = 0; i < moved.count; ++i)
        out.push_back({0, shortWord(moved.status, moved.notes[size_t(i)], moved.velocity)});
    if (isNoteOn(e)) sentNoteOns_[index] = SentNote{uint8_t(channel), uint8_t(moved.count), moved.notes};
    return true;
}

// --- Transport ---

StylePlayer::Result StylePlayer::Start()
{
    if (playing_) return {};
    CloseStream();
    end_ = setupPending_ = false;
    setup_.clear();
    switch_.Cancel(chords_);
    lastEventTime_ = carry_ = 0;
    bar_ = beat_ = 0;
    nextIndex_ = StartIndex(current());

    if (const uint32_t error = output_.Open(style_.GetDivision(), kMicrosecondsPerMinute / uint32_t(tempo_)))
        return Finish({error, false});
    streamOpen_ = true;
    restart_ = true;
    if (Result queued = Queue(ElementSetup(current().element, true)); !queued.ok()) return Finish(queued);
    playing_ = true;
    if (const uint32_t error = output_.Restart()) return Finish({error, false});
    return {};
}

void StylePlayer::Stop()
{
    if (!playing_) return;
    Finish({});
}

void StylePlayer::CloseStream()
{
    if (!streamOpen_) return;
    std::vector<uint32_t> noteOffs;
    for (const auto& [key, count] : sounding_)
        if (count > 0) noteOffs.push_back(shortWord(0x90 | key >> 8, key & 0x7F, 0));
    output_.Close(noteOffs);
    streamOpen_ = false;
    sounding_.clear();
    sentNoteOns_.clear();
}

// The player stops: every note it started ends, a last ending element hands
// its lamp back to the variation, and pending choices fall back to what plays.
StylePlayer::Result StylePlayer::Finish(Result why)
{
    CloseStream();
    playing_ = restart_ = setupPending_ = false;
    setup_.clear();
    buffer_.clear();
    if (current().element == 8 || current().element == 9) switch_.current.element = returnVariation_;
    switch_.Cancel(chords_);
    bar_ = beat_ = 0;
    lastEventTime_ = carry_ = 0;
    nextIndex_ = StartIndex(current());
    if (end_) why.cannotPrepare = false;
    return why;
}

StylePlayer::Result StylePlayer::OnBufferDone()
{
    if (!playing_ || end_) return {};
    const Result r = Step();
    if (!r.ok() || end_) return Finish(r);
    return r;
}

// --- Steps ---

StylePlayer::Result StylePlayer::Step()
{
    if (setupPending_) {
        setupPending_ = false;
        return Queue(std::move(setup_));
    }
    return switch_.changePending ? SwitchAtTick() : NextEvent();
}

StylePlayer::Result StylePlayer::NextEvent()
{
    const auto& events = style_.GetEvents();
    if (nextIndex_ >= events.size()) return {0, true};
    if (events[nextIndex_]->length == 0) return EndOfList();
    return SendEvent(nextIndex_);
}

StylePlayer::Result StylePlayer::SendEvent(uint32_t index)
{
    const auto& events = style_.GetEvents();
    if (index >= events.size()) return {0, true};
    if (events[index]->length == 0) {
        // A pattern without events: only its time passes (none at all cannot play).
        const uint32_t delta = carry_;
        if (delta == 0) return {0, true};
        carry_ = 0;
        lastEventTime_ = 0;
        nextIndex_ = index;
        return Queue({{delta, mevt::kNop}});
    }
    std::vector<StreamEvent> out;
    if (!AppendEvent(index, current(), chords_.Current(), out)) return {0, true};
    out[0].delta = TakeDelta(events[index]->time);
    UpdatePosition(events[index]->time);
    nextIndex_ = index + 1;
    restart_ = false;
    return Queue(std::move(out));
}

// The list of the running pattern ends with no change pending: a variation
// starts again, an intro goes on with VAR1, a fill with the last variation,
// an ending stops the player.
StylePlayer::Result StylePlayer::EndOfList()
{
    const int element = current().element;
    if (IsVariation(element)) {
        carry_ += ticksUntil(PatternLength(current()), lastEventTime_);
        lastEventTime_ = 0;
        nextIndex_ = StartIndex(current());
        return SendEvent(nextIndex_);
    }
    if (IsIntro(element) || IsFill(element)) {
        if (IsIntro(element)) returnVariation_ = 0;
        switch_.pending = {returnVariation_,
                           AssignedVariation(style_, returnVariation_, chords_.Current().type)};
        switch_.changePending = true;
        return SwitchAtEndOfList();
    }
    end_ = true;
    return {};
}

void StylePlayer::Commit(bool& elementChanged)
{
    elementChanged = switch_.Commit(chords_);
    if (IsVariation(current().element)) returnVariation_ = current().element;
}

// The running list ends while a change is pending: the new pattern starts
// at its first event after the rest of the old one; no note is cut. A new
// element's setup follows that first event.
StylePlayer::Result StylePlayer::SwitchAtEndOfList()
{
    const uint32_t oldLength = PatternLength(current());
    bool elementChanged = false;
    Commit(elementChanged);
    carry_ += ticksUntil(oldLength, lastEventTime_);
    lastEventTime_ = 0;
    nextIndex_ = StartIndex(current());
    if (elementChanged) {
        setup_ = ElementSetup(current().element, true);
        setupPending_ = true;
    }
    return SendEvent(nextIndex_);
}

// A change is pending: the running pattern plays up to the switch tick; there
// the notes that sound are ended and the new pattern's notes that sound
// across its entry tick start, moved to the new chord, and play goes on in
// the new pattern from the entry tick.
StylePlayer::Result StylePlayer::SwitchAtTick()
{
    const auto& events = style_.GetEvents();
    if (nextIndex_ >= events.size()) return {0, true};
    const CMidiEventBase& next = *events[nextIndex_];
    if (next.length == 0) return SwitchAtEndOfList();
    const SwitchTicks ticks = switch_.ticks;
    if (ticks.switchTick == 0 || next.time < ticks.switchTick) return SendEvent(nextIndex_);

    const StylePlace from = current();
    const StylePlace to = switch_.pending;
    const bool samePlace = from == to;
    const Chord newChord = chords_.Pending();

    // What sounds now ends; in the same pattern it starts again with the new
    // chord, in another the notes that sound across its entry tick start.
    std::vector<uint32_t> ending;
    for (const auto& sent : sentNoteOns_)
        ending.push_back(sent.first);
    std::vector<uint32_t> starting;
    if (samePlace) {
        const uint32_t first = StartIndex(from);
        for (uint32_t index : ending)
            if (index >= first && index < nextIndex_) starting.push_back(index);
    } else {
        starting = zib::SoundingNotes(style_, to, ticks.entryTick);
    }

    const uint32_t toSwitch = carry_ + ticksUntil(ticks.switchTick, lastEventTime_);
    if (ending.empty() && starting.empty()) {
        const uint32_t oldLength = PatternLength(from);
        bool elementChanged = false;
        Commit(elementChanged);
        if (samePlace) return SendEvent(nextIndex_);
        if (elementChanged) {
            setup_ = ElementSetup(to.element, true);
            setupPending_ = true;
        }
        if (const auto entry = FirstEventAtOrAfter(style_, to, ticks.entryTick)) {
            carry_ = toSwitch;
            lastEventTime_ = ticks.entryTick;
            nextIndex_ = *entry;
        } else {
            carry_ += ticksUntil(oldLength, lastEventTime_);
            lastEventTime_ = 0;
            nextIndex_ = StartIndex(to);
        }
        return NextEvent();
    }

    std::vector<StreamEvent> out;
    if (to.element != from.element) out = ElementSetup(to.element, false);
    for (uint32_t index : ending) {
        const SentNote& sent = sentNoteOns_[index];
        for (int i = 0; i < sent.count; ++i)
            out.push_back({0, shortWord(0x90 | sent.channel, sent.notes[size_t(i)], 0)});
        sentNoteOns_.erase(index);
    }
    for (uint32_t index : starting)
        if (!AppendEvent(index, to, newChord, out)) return {0, true};
    out[0].delta = toSwitch;
    carry_ = 0;
    UpdatePosition(ticks.switchTick);
    bool elementChanged = false;
    Commit(elementChanged);
    if (samePlace) {
        lastEventTime_ = ticks.switchTick;
    } else if (const auto entry = FirstEventAtOrAfter(style_, to, ticks.entryTick)) {
        lastEventTime_ = ticks.entryTick;
        nextIndex_ = *entry;
    } else {
        lastEventTime_ = 0;
        nextIndex_ = StartIndex(to);
    }
    return Queue(std::move(out));
}

// Bar and beat of a time in the running pattern: by the element's signature
// for the Qe series, bar by bar through the chord variation's signatures for
// the others (a time past its last bar leaves the position as it was).
void StylePlayer::UpdatePosition(uint32_t time)
{
    const StylePlace place = current();
    if (place.element < 0 || place.element >= kElementCount) return;
    const auto& element = style_.elements[size_t(place.element)];
    const uint32_t division = style_.GetDivision();
    uint32_t beat = 1, bar = 1;
    if (qe_) {
        barLengths(element.timeSignature, division, beat, bar);
        bar_ = int(time / bar);
        beat_ = int(time % bar / beat);
        return;
    }
    if (place.variation < 0 || size_t(place.variation) >= CStyleMidiReader::kVariations) return;
    const auto& cv = element.variations[size_t(place.variation)];
    const uint32_t bars = std::min<uint32_t>(cv.measures, uint32_t(cv.timeSignatures.size()));
    uint64_t start = 0;
    for (uint32_t b = 0; b < bars; ++b) {
        barLengths(cv.timeSignatures[b], division, beat, bar);
        if (time < start + bar) {
            bar_ = int(b);
            beat_ = int((time - start) / beat);
            return;
        }
        start += bar;
    }
}

// --- Controls ---

void StylePlayer::SelectElement(int element)
{
    if (!HasElement(element)) return;
    if (!playing_) {
        switch_.current.element = switch_.pending.element = element;
        switch_.pending.variation = switch_.current.variation;
        if (IsVariation(element)) returnVariation_ = element;
        return;
    }
    switch_.pending.element = element;
    if (element != current().element) {
        switch_.pending.variation = AssignedVariation(style_, element, chords_.Pending().type);
        switch_.ticks = ComputeSwitchTicks(style_, current(), switch_.pending, lastEventTime_);
        switch_.changePending = true;
    }
}

bool StylePlayer::StepTempo(int step, Result* result)
{
    if ((step < 0 && tempo_ <= kMinTempo) || (step > 0 && tempo_ >= kMaxTempo) || step == 0) return false;
    tempo_ += step < 0 ? -1 : 1;
    if (playing_) {
        const uint32_t error = output_.SetTempo(kMicrosecondsPerMinute / uint32_t(tempo_));
        if (result) *result = {error, false};
    }
    return true;
}

void StylePlayer::SetTrackBar(int track, int position)
{
    if (track < 0 || track >= TrackCount()) return;
    volumes_[size_t(track)] = 127 - std::clamp(position, 0, 127);
    selectedTrack_ = track;
    if (!playing_ || switch_.changePending) return;
    if (!setupPending_) setup_.clear();
    setup_.push_back({0, shortWord(0xB0 | StyleTrackChannel(qe_, track), 7, volumes_[size_t(track)])});
    setupPending_ = true;
}

bool StylePlayer::StepOctave(int step)
{
    return transposer_.StepOctaveShift(selectedTrack_, step < 0 ? -1 : 1);
}

// --- Chord input ---

bool StylePlayer::MidiInput(uint32_t message)
{
    if (!chords_.MidiInput(message)) return false;
    return timer_.Arm(0);
}

bool StylePlayer::Key(int note, bool down)
{
    if (!down) {
        chords_.NoteOff(note);
        return false;
    }
    if (!chords_.NoteOn(note)) return false;
    return timer_.Arm(0);
}

std::string StylePlayer::OnChordTimer()
{
    chordText_ = switch_.OnChordTimer(chords_, timer_, style_, playing_, lastEventTime_);
    return chordText_;
}

} // namespace zib
