#include "midi/CMidiParserEx.h"

#include "midi/MidiErrorText.h"
#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <ctime>
#include <limits>
#include <new>

namespace zib {

namespace {

constexpr MidiErrorText kMidiParserExErrorTexts[] = {
    {106, "Not really an error"},
    {107, "MIDI file format not supported"},
    {108, "Time signature found at wrong place"},
    {109, "Time signature found out of zero tick"},
    {110, "Cannot allocate space for RAM buffer"},
    {111, "Cannot allocate data for event array"},
    {112, "Last midi track not finished"},
    {113, "Cannot allocate channel buffer"},
    {114, "Max track number limit exceeded"},
    {115, "Internal mapper error"},
    {116, "Track buffer is empty"},
    {117, "Cannot convert MIDI buffer while recreating"},
    {118, "Track size differs from chunk size"},
    {119, "Unexpected channel MIDI event in Tempo Track"},
    {120, "Found incorrect number of MIDI Tracks"},
};

constexpr int kMaxTrack = CMidiParserEx::kMaxTracks - 1;
constexpr size_t kOpenNoteSlots = 16 * 256; // channel x key byte (a file's key may have bit 7 set)

// Controllers and program changes that can set a track's initial value.
enum class InitialKind { None, BankMsb, BankLsb, Volume, Pan, Program };

InitialKind initialKind(const CMidiNode& e)
{
    if ((e.status & 0xF0) == 0xC0) return InitialKind::Program;
    if ((e.status & 0xF0) != 0xB0) return InitialKind::None;
    switch (eventDataByte(e, 0)) {
    case 0:
        return InitialKind::BankMsb;
    case 32:
        return InitialKind::BankLsb;
    case 7:
        return InitialKind::Volume;
    case 10:
        return InitialKind::Pan;
    default:
        return InitialKind::None;
    }
}

uint8_t& seenFlag(CMidiParserEx::Track& t, InitialKind kind)
{
    switch (kind) {
    case InitialKind::BankMsb:
        return t.bankMsbSeen;
    case InitialKind::BankLsb:
        return t.bankLsbSeen;
    case InitialKind::Volume:
        return t.volumeSeen;
    case InitialKind::Pan:
        return t.panSeen;
    default:
        return t.programSeen;
    }
}

uint8_t& initialValue(CMidiParserEx::Track& t, InitialKind kind)
{
    switch (kind) {
    case InitialKind::BankMsb:
        return t.bankMsb;
    case InitialKind::BankLsb:
        return t.bankLsb;
    case InitialKind::Volume:
        return t.volume;
    case InitialKind::Pan:
        return t.pan;
    default:
        return t.program;
    }
}

// The value an initial-value event carries: data 2 of a controller, data 1 of a program change.
uint8_t initialValueOf(const CMidiNode& e, InitialKind kind)
{
    return kind == InitialKind::Program ? eventDataByte(e, 0) : eventDataByte(e, 1);
}

// The data of a meta event (0xFF, type, length, data), bounded by its raw bytes.
std::span<const uint8_t> metaData(std::span<const uint8_t> raw)
{
    if (raw.size() < 3) return {};
    uint32_t count = 0;
    const uint32_t length = ReadMidiVarLen(raw.data() + 2, raw.size() - 2, count);
    if (count == 0) return {};
    return raw.subspan(2 + count, std::min<size_t>(length, raw.size() - 2 - count));
}

std::span<const uint8_t> metaData(const CMidiNode& e)
{
    return metaData(std::span<const uint8_t>(e.data.data(), std::min<size_t>(e.length, e.data.size())));
}

uint8_t metaType(const CMidiNode& e)
{
    return e.status == 0xFF ? eventDataByte(e, 1) : 0;
}

void countDown(uint32_t& n)
{
    if (n) --n;
}

std::string currentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%04d", local.tm_year + 1900);
    return text;
}

} // namespace

CMidiParserEx::CMidiParserEx()
{
    ResetTables(false, false);
}

CMidiParserEx::~CMidiParserEx() = default;

int CMidiParserEx::ReportError(char* buffer, size_t size, int code)
{
    if (const int n = CMidiFileEx::ReportError(buffer, size, code)) return n;
    const char* text = FindMidiErrorText(kMidiParserExErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CMidiParserEx", code, text) : 0;
}

void CMidiParserEx::ResetTables(bool keepTrackShift, bool keepRawTracks)
{
    for (auto& t : m_trackTables) {
        std::vector<uint8_t> raw;
        const uint32_t rawSize = t.rawSize;
        if (keepRawTracks) raw.swap(t.rawBuffer);
        t = Track{};
        if (keepRawTracks) {
            t.rawBuffer.swap(raw);
            t.rawSize = rawSize;
        }
    }
    if (!keepTrackShift) m_trackShift = 0;
    m_lastTimeSig = nullptr;
    m_lastTimeSigTime = 0;
    m_hasTimeSignature = 0;
    m_initialTempo = 100;
    m_hasTempo = 0;
    m_pairCounter = 0;
    m_lastEventTime = 0;
    m_chunkStarts.clear();
    m_openNotes.clear();
    m_chunkEndTimes.clear();
    m_foreignChunks.clear();
}

// ---- Loading ---------------------------------------------------------------

int CMidiParserEx::ParseImage(const uint8_t* image, uint32_t size)
{
    int rc;
    try {
        rc = LoadImage(image, size);
    } catch (const std::bad_alloc&) {
        rc = kCannotAllocateEvents;
    }
    if (rc != kSuccess) {
        DeleteAllEvents();
        ResetTables(false, false);
    }
    return rc;
}

int CMidiParserEx::LoadImage(const uint8_t* image, uint32_t size)
{
    DeleteAllEvents();
    ResetTables(false, false);
    m_flags = 0;
    m_trackEnded = 1;

    // Pass 1: does the first track of a format-1 file hold channel or sysex events?
    m_pass = Pass::TempoTrack;
    int rc = ParseMemory(image, size);
    if (rc != kSuccess && rc != kNotReallyAnError) return rc;

    // Pass 2: the raw chunks of a format-1 file without track shift.
    ResetTables(true, false);
    m_pass = Pass::RawCopy;
    rc = ParseMemory(image, size);
    if (rc != kSuccess && rc != kNotReallyAnError) return rc;
    // The header's count against the chunks this pass saw: all of them for a
    // copied format-1 file, the first one for a format-0 file (which announces
    // one track; chunks beyond it are read all the same).
    const bool copiedAll = m_format == 1 && !m_trackShift;
    if ((copiedAll || m_format == 0) && m_tracks != m_trackIndex + 1) return kIncorrectTrackCount;

    // Pass 0: the full read. Every event takes at least two bytes of the
    // image (a delta and a data byte under running status): room for that
    // many is only address space until the events fill it, and the array
    // is never copied while it grows.
    ResetTables(true, true);
    m_events.reserve(size / 2 + 1);
    m_pass = Pass::Full;
    m_trackEnded = 1;
    rc = ParseMemory(image, size);
    if (rc != kSuccess) return rc;
    // A shifted format-1 file holds as many track chunks as its header says.
    if (m_format == 1 && !copiedAll && m_tracks != m_trackIndex + 1) return kIncorrectTrackCount;

    if (m_format == 1) {
        FinishTrackChunk();
        OrderFormat1Events();
    } else if (!m_events.empty()) {
        // A format-0 file of several chunks: each chunk counts from tick 0, so
        // the chunks are merged by time (a single chunk is in order already).
        if (m_trackIndex > 0)
            std::stable_sort(m_events.begin(), m_events.end(),
                             [](const auto& a, const auto& b) { return a->time < b->time; });
        CloseOpenNotes(0, m_events.back()->time);
    }

    // A sequence always starts with a time signature.
    if (!m_hasTimeSignature) {
        auto ts = std::make_unique<CMidiEvent>();
        const uint8_t bytes[] = {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08};
        ts->SetData(bytes, sizeof bytes);
        ts->status = 0xFF;
        ts->paired = 1;
        InsertEvent(0, std::move(ts));
    }

    if (m_format == 0) DeriveFormat0TrackSizes();
    Renumber(0);
    if (m_trackShift)
        for (auto& t : m_trackTables)
            t.modified = 1;
    return kSuccess;
}

// Format 1: the events of every chunk were read one chunk after another; put
// them in the order that inserting each chunk's first event after the events
// at tick 0, appending the rest and sorting by time (equal times by
// position) at every chunk gives: at a tick above 0 the first events of the
// later chunks come first (the last chunk's first), then all other events by
// chunk and position; at tick 0 all events by chunk and position.
void CMidiParserEx::OrderFormat1Events()
{
    // Each chunk's events arrive in time order, and so do their keys (a
    // leading first event sorts before the rest of its chunk): the chunks
    // are merged, O(n log k) for k chunks, instead of sorting all events.
    struct Key {
        uint32_t time;
        uint32_t group;
        uint32_t rank;
        bool operator<(const Key& o) const
        {
            if (time != o.time) return time < o.time;
            if (group != o.group) return group < o.group;
            return rank < o.rank;
        }
    };
    const size_t n = m_events.size();
    const size_t chunks = m_chunkStarts.size();
    auto keyOf = [&](size_t c, size_t i) {
        const uint32_t time = m_events[i]->time;
        const bool leads = c >= 1 && i == m_chunkStarts[c] && time > 0;
        return Key{time, leads ? 0u : 1u, leads ? uint32_t(chunks - c) : uint32_t(i)};
    };
    struct Head {
        Key key;
        size_t chunk;
        size_t next; // position of the head event
        size_t end;
    };
    // A heap of the chunks' heads, the least key on top; taking an event
    // replaces the top and sifts it down once.
    std::vector<Head> heap;
    heap.reserve(chunks);
    for (size_t c = 0; c < chunks; ++c) {
        const size_t begin = m_chunkStarts[c];
        const size_t end = c + 1 < chunks ? m_chunkStarts[c + 1] : n;
        if (begin < end) heap.push_back(Head{keyOf(c, begin), c, begin, end});
    }
    auto siftDown = [&heap](size_t at) {
        const Head moving = heap[at];
        for (;;) {
            size_t child = 2 * at + 1;
            if (child >= heap.size()) break;
            if (child + 1 < heap.size() && heap[child + 1].key < heap[child].key) ++child;
            if (!(heap[child].key < moving.key)) break;
            heap[at] = heap[child];
            at = child;
        }
        heap[at] = moving;
    };
    for (size_t i = heap.size() / 2; i-- > 0;)
        siftDown(i);
    std::vector<std::unique_ptr<CMidiEvent>> ordered;
    ordered.reserve(n);
    while (!heap.empty()) {
        Head& top = heap.front();
        ordered.push_back(std::move(m_events[top.next]));
        if (++top.next < top.end) {
            top.key = keyOf(top.chunk, top.next);
        } else {
            top = heap.back();
            heap.pop_back();
            if (heap.empty()) break;
        }
        siftDown(0);
    }
    m_events.swap(ordered);
}

// Note-ons still open from `from` on last to `endTime`.
void CMidiParserEx::CloseOpenNotes(size_t from, uint32_t endTime)
{
    for (size_t i = from; i < m_events.size(); ++i) {
        CMidiEvent& e = *m_events[i];
        if (!e.paired && isNoteOn(e)) e.duration = endTime > e.time ? endTime - e.time : 0;
    }
}

void CMidiParserEx::FinishTrackChunk()
{
    if (!m_chunkStarts.empty()) CloseOpenNotes(m_chunkStarts.back(), m_lastEventTime);
}

// Format 0: the sizes the tracks would need written one per channel, with
// every event's delta to the previous event of its track.
void CMidiParserEx::DeriveFormat0TrackSizes()
{
    std::array<uint32_t, kMaxTracks> previousTime{};
    std::array<uint8_t, kMaxTracks> previousStatus{};
    for (auto& ep : m_events) {
        CMidiEvent& e = *ep;
        const size_t t = std::min<size_t>(e.track, kMaxTrack);
        const uint32_t delta = e.time >= previousTime[t] ? e.time - previousTime[t] : 0;
        previousTime[t] = e.time;
        e.deltaSize = uint8_t(WriteMidiVarLen(delta, e.deltaBytes));
        uint32_t bytes = e.deltaSize + e.length;
        if (isChannelStatus(e.status) && (e.status != previousStatus[t] || (eventDataByte(e, 0) & 0x80))) ++bytes;
        previousStatus[t] = e.status;
        m_trackTables[t].rawSize += bytes;
    }
    for (auto& t : m_trackTables)
        if (t.rawSize) t.rawSize += 4;
}

// ---- Reading callbacks -----------------------------------------------------

int CMidiParserEx::OnUnknownChunk()
{
    if (!IsStoringPass()) return kSuccess;
    ForeignChunk chunk;
    chunk.id = GetChunkId();
    chunk.bytes.resize(GetChunkBytes());
    if (const int rc = ReadBytes(chunk.bytes.data(), uint32_t(chunk.bytes.size()))) return rc;
    // It stands before the next track chunk; one before all tracks stays first.
    const int nextChunk = m_trackIndex + 1;
    chunk.beforeTrack = nextChunk == 0 ? 0 : nextChunk + int(m_format == 1 ? m_trackShift : 0);
    m_foreignChunks.push_back(std::move(chunk));
    return kSuccess;
}

int CMidiParserEx::OnHeader()
{
    if (IsWriting()) {
        m_writeCursor = -1; // format, tracks and division stay as read
        return kSuccess;
    }
    if (m_format > 1) return kFormatNotSupportedEx;
    // A file may hold as many tracks as the sequence has tables: the master
    // track and tracks 1-64, so that every track the editors fill is written
    // and read back. With the track shift the file's first track is track 1.
    if (m_tracks > kMaxTracks || (m_trackShift && m_tracks >= kMaxTracks)) return kMaxTrackLimitExceeded;
    return kSuccess;
}

int CMidiParserEx::OnTrackStart()
{
    if (IsWriting()) {
        // Each track is written from the next raw chunk the sequence holds.
        int next = -1;
        if (m_format == 0) {
            if (m_writeCursor < 0) next = 0;
        } else {
            for (int t = m_writeCursor + 1; t < kMaxTracks; ++t)
                if (m_trackTables[size_t(t)].rawSize != 0) {
                    next = t;
                    break;
                }
        }
        if (next < 0) return kTrackBufferEmpty;
        const Track& track = m_trackTables[size_t(next)];
        if (track.rawSize == 0 || track.rawBuffer.size() != track.rawSize) return kTrackBufferEmpty;
        RequestRawWrite(track.rawBuffer.data(), track.rawSize);
        m_writeCursor = next;
        return kSuccess;
    }

    const int chunk = m_trackIndex;
    switch (m_pass) {
    case Pass::TempoTrack:
        return (m_format == 0 || chunk >= 1) ? int(kNotReallyAnError) : int(kSuccess);
    case Pass::RawCopy: {
        if (m_format != 1 || m_trackShift) return kNotReallyAnError;
        if (chunk > kMaxTrack) return kMaxTrackLimitExceeded;
        Track& track = m_trackTables[size_t(chunk)];
        const uint32_t length = GetChunkBytes();
        try {
            track.rawBuffer.assign(length, 0);
        } catch (const std::bad_alloc&) {
            return kCannotAllocateTrackBuffer;
        }
        track.rawSize = length;
        RequestRawRead(track.rawBuffer.data(), length);
        return kSuccess;
    }
    case Pass::Full:
        break;
    }

    // No track table is ever indexed past track 64, whatever the header said.
    if (chunk + int(m_format == 1 ? m_trackShift : 0) > kMaxTrack) return kMaxTrackLimitExceeded;
    if (!m_trackEnded) return kLastTrackNotFinished;
    m_trackEnded = 0;
    if (chunk == 0)
        for (auto& t : m_trackTables)
            t.channelSeen = t.programSeen = t.bankMsbSeen = t.bankLsbSeen = t.panSeen = t.volumeSeen =
                t.noteSeen = t.nameSeen = t.portSeen = 0;
    if (m_format == 1) {
        FinishTrackChunk();
        m_chunkStarts.push_back(m_events.size());
    }
    // Notes pair inside their own chunk: a note-on of one track never takes
    // the note-off of another (a scan over the whole sequence would).
    m_openNotes.clear();
    m_lastEventTime = 0;
    return kSuccess;
}

int CMidiParserEx::CurrentTrackNumber() const
{
    if (m_format != 1) return 0;
    return std::clamp(m_trackIndex + int(m_trackShift), 0, kMaxTrack);
}

std::unique_ptr<CMidiEvent> CMidiParserEx::NewEventHere() const
{
    auto e = std::make_unique<CMidiEvent>();
    e->time = m_eventTime;
    e->measure = m_curMeasure;
    e->beat = m_curBeat;
    e->tick = m_curTick;
    if (m_format == 0) e->chunk = uint8_t(std::clamp(m_trackIndex, 0, kMaxTrack));
    return e;
}

void CMidiParserEx::Place(std::unique_ptr<CMidiEvent> event)
{
    m_lastEventTime = std::max(m_lastEventTime, event->time);
    m_events.push_back(std::move(event));
}

void CMidiParserEx::StoreEvent(std::unique_ptr<CMidiEvent> event)
{
    CMidiEvent& e = *event;
    if (!isChannelStatus(e.status)) {
        e.track = uint8_t(CurrentTrackNumber());
        e.paired = 1;
        Track& track = m_trackTables[e.track];
        if (!(e.flags & (CMidiEvent::kTrackName | CMidiEvent::kFirstPort))) ++track.eventCount;
        ++track.totalCount;
        Place(std::move(event));
        return;
    }

    const uint8_t channel = e.status & 0x0F;
    e.track = uint8_t(m_format == 1 ? CurrentTrackNumber() : channel + 1);
    Track& track = m_trackTables[e.track];
    if (!track.channelSeen) {
        track.channel = channel;
        track.channelSeen = 1;
    } else if (track.channel != channel) {
        track.channel = 0xFF;
    }
    const bool on = isNoteOn(e);
    const bool off = isNoteOff(e);
    e.paired = (on || off) ? 0 : 1;
    if (on || off) track.noteSeen = 1;
    ++track.totalCount;

    const InitialKind kind = initialKind(e);
    if (kind != InitialKind::None) {
        uint8_t& seen = seenFlag(track, kind);
        const bool bank = kind == InitialKind::BankMsb || kind == InitialKind::BankLsb;
        const bool modeTwo = initialValueMode == 2;
        if (!seen && (modeTwo || (!track.noteSeen && !(bank && track.programSeen)))) {
            initialValue(track, kind) = initialValueOf(e, kind);
            seen = 1;
            if (!modeTwo) e.flags |= CMidiEvent::kInitialValue;
            Place(std::move(event));
            return;
        }
    }

    if (m_openNotes.size() != kOpenNoteSlots) m_openNotes.assign(kOpenNoteSlots, OpenNotes{});
    OpenNotes& open = m_openNotes[channel * 256u + eventDataByte(e, 0)];
    if (off) {
        // The earliest note-on of the same channel and key still open in this track.
        if (open.head < open.queue.size()) {
            CMidiEvent& noteOn = *open.queue[open.head++];
            if (open.head == open.queue.size()) {
                open.queue.clear();
                open.head = 0;
            }
            noteOn.duration = e.time - noteOn.time;
            noteOn.paired = e.paired = 1;
            noteOn.pairId = e.pairId = int32_t(m_pairCounter++);
        } else {
            ++track.eventCount;
        }
    } else {
        ++track.eventCount;
        if (on) open.queue.push_back(&e);
    }
    Place(std::move(event));
}

int CMidiParserEx::OnChannelEvent()
{
    if (IsWriting()) return kSuccess;
    if (m_pass == Pass::TempoTrack) {
        m_trackShift = 1;
        return kNotReallyAnError;
    }
    if (!IsStoringPass()) return kSuccess;
    auto e = NewEventHere();
    e->status = m_status;
    e->SetData(m_eventData, (m_status & 0xE0) == 0xC0 ? 1 : 2, 6);
    StoreEvent(std::move(e));
    return kSuccess;
}

int CMidiParserEx::OnSysEx()
{
    if (m_pass == Pass::TempoTrack) {
        m_trackShift = 1;
        return kNotReallyAnError;
    }
    if (!IsStoringPass()) return kSuccess;
    const auto raw = GetEventRawBytes();
    auto e = NewEventHere();
    e->status = m_status;
    e->SetData(raw.data(), uint32_t(raw.size()));
    StoreEvent(std::move(e));
    return kSuccess;
}

// Stores the current meta event with its bytes as they stand in the file.
int CMidiParserEx::StoreMeta(uint8_t flags)
{
    const auto raw = GetEventRawBytes();
    auto e = NewEventHere();
    e->status = 0xFF;
    e->flags = flags;
    e->SetData(raw.data(), uint32_t(raw.size()));
    StoreEvent(std::move(e));
    return kSuccess;
}

int CMidiParserEx::OnMetaSeqNum()
{
    return IsStoringPass() ? StoreMeta() : kSuccess;
}
int CMidiParserEx::OnMetaSMPTE()
{
    return IsStoringPass() ? StoreMeta() : kSuccess;
}
int CMidiParserEx::OnMetaKeySig()
{
    return IsStoringPass() ? StoreMeta() : kSuccess;
}
int CMidiParserEx::OnMetaChan()
{
    return IsStoringPass() ? StoreMeta() : kSuccess;
}

int CMidiParserEx::OnMetaPort()
{
    if (!IsStoringPass()) return kSuccess;
    Track& track = m_trackTables[size_t(CurrentTrackNumber())];
    if (m_format == 1 && !track.portSeen) {
        track.port = m_eventData[1];
        track.portSeen = 1;
        return StoreMeta(CMidiEvent::kFirstPort);
    }
    return StoreMeta();
}

int CMidiParserEx::OnMetaText()
{
    if (!IsStoringPass()) return kSuccess;
    Track& track = m_trackTables[size_t(CurrentTrackNumber())];
    if (m_format == 1 && m_status == 0x03 && !track.nameSeen) {
        const auto text = metaData(GetEventRawBytes());
        track.name.assign(text.begin(), text.begin() + std::ptrdiff_t(std::min(text.size(), kMaxNameLength)));
        track.nameSeen = 1;
        return StoreMeta(CMidiEvent::kTrackName);
    }
    return StoreMeta();
}

int CMidiParserEx::OnMetaTempo()
{
    if (!IsStoringPass()) return kSuccess;
    if (!m_hasTempo && m_curMeasure == 0) {
        m_initialTempo = m_eventData[5];
        m_hasTempo = 1;
    }
    return StoreMeta();
}

int CMidiParserEx::OnMetaTime()
{
    if (!IsStoringPass()) return kSuccess;
    if (m_curMeasure == 0) m_hasTimeSignature = 1;
    // A second time signature at the same tick replaces the first one's bytes.
    if (m_lastTimeSig != nullptr && m_lastTimeSigTime == m_trackTime) {
        const auto raw = GetEventRawBytes();
        m_lastTimeSig->SetData(raw.data(), uint32_t(raw.size()));
        return kSuccess;
    }
    auto e = NewEventHere();
    CMidiEvent* stored = e.get();
    const auto raw = GetEventRawBytes();
    e->status = 0xFF;
    e->SetData(raw.data(), uint32_t(raw.size()));
    StoreEvent(std::move(e));
    m_lastTimeSig = stored;
    m_lastTimeSigTime = m_trackTime;
    return kSuccess;
}

int CMidiParserEx::OnMetaEndOfTrack()
{
    if (!IsStoringPass()) return kSuccess;
    m_lastEventTime = m_trackTime;
    m_trackEnded = 1;
    if (GetChunkBytes() > GetEventBytes()) return kTrackSizeDiffers;
    if (m_format == 1)
        m_trackTables[size_t(CurrentTrackNumber())].endTime = m_trackTime;
    else
        m_chunkEndTimes.push_back(m_trackTime);
    return kSuccess;
}

// ---- New file --------------------------------------------------------------

std::vector<uint8_t> CMidiParserEx::BuildConductorTrack()
{
    const std::string year = m_year.empty() ? currentYear() : m_year;
    const std::string copyright = "Copyright \xA9 " + year + " by " + m_author;
    ByteWriter w;
    auto text = [&w](uint8_t type, const std::string& s) {
        const uint8_t head[] = {0x00, 0xFF, type};
        w.bytes(head, sizeof head);
        w.varLen(uint32_t(s.size()));
        w.text(s);
    };
    text(0x03, "untitled");
    text(0x02, copyright);
    text(0x01, m_author);
    const uint8_t rest[] = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, // 4/4, 24 clocks, 8 32nds
                            0x00, 0xFF, 0x59, 0x02, 0x00, 0x00,             // C major
                            0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0,       // 100 BPM
                            0x00, 0xFF, 0x2F, 0x00};
    w.bytes(rest, sizeof rest);
    return w.take();
}

int CMidiParserEx::GetNewFileSize(int mode, uint32_t& size)
{
    try {
        size = uint32_t(22 + BuildConductorTrack().size() + (mode == 1 ? 16 * 36 : 0));
    } catch (const std::bad_alloc&) {
        return kCannotAllocateEvents;
    }
    return kSuccess;
}

int CMidiParserEx::CreateNew(int mode, uint8_t* target, uint32_t& size)
{
    try {
        DeleteAllEvents();
        ResetTables(false, false);
        Track& conductor = m_trackTables[0];
        conductor.rawBuffer = BuildConductorTrack();
        conductor.rawSize = uint32_t(conductor.rawBuffer.size());
        if (mode == 1) {
            for (int k = 1; k <= 16; ++k) {
                const uint8_t bytes[28] = {0x00,
                                           0xFF,
                                           0x21,
                                           0x01,
                                           0x00, // port 0
                                           0x00,
                                           0xFF,
                                           0x03,
                                           0x08,
                                           'T',
                                           'r',
                                           'a',
                                           'c',
                                           'k',
                                           ' ',
                                           uint8_t('0' + k / 10),
                                           uint8_t('0' + k % 10), // "Track 01"
                                           0x00,
                                           uint8_t(0xB0 + k - 1),
                                           0x07,
                                           0x7F, // volume 127
                                           0x00,
                                           0x0A,
                                           0x3F, // pan 63
                                           0x00,
                                           0xFF,
                                           0x2F,
                                           0x00};
                Track& track = m_trackTables[size_t(k)];
                track.rawBuffer.assign(bytes, bytes + sizeof bytes);
                track.rawSize = sizeof bytes;
            }
        }
    } catch (const std::bad_alloc&) {
        ResetTables(false, false);
        return kCannotAllocateEvents;
    }
    m_flags = 0;
    SetHeader(1, mode == 1 ? 17 : 1, 384);
    const int rc = WriteToMemory(target, size);
    if (rc == kSuccess) size = GetBytesWritten();
    return rc;
}

// ---- Editing ---------------------------------------------------------------

void CMidiParserEx::CountInserted(const CMidiEvent& e, Track& track)
{
    if (isChannelStatus(e.status)) {
        const InitialKind kind = initialKind(e);
        if (kind != InitialKind::None && (e.flags & CMidiEvent::kInitialValue)) {
            initialValue(track, kind) = initialValueOf(e, kind);
            seenFlag(track, kind) = 1;
            return;
        }
        if (isNoteOff(e) && e.paired) return;
        ++track.eventCount;
        return;
    }
    if (e.status == 0xFF && (e.flags & CMidiEvent::kFirstPort)) {
        const auto data = metaData(e);
        if (!data.empty()) track.port = data[0];
        track.portSeen = 1;
        return;
    }
    if (e.status == 0xFF && (e.flags & CMidiEvent::kTrackName)) {
        const auto text = metaData(e);
        track.name.assign(text.begin(),
                          text.begin() + std::ptrdiff_t(std::min(text.size(), kMaxInsertedNameLength)));
        track.nameSeen = 1;
        return;
    }
    ++track.eventCount;
}

void CMidiParserEx::UncountRemoved(const CMidiEvent& e, Track& track)
{
    if (isChannelStatus(e.status)) {
        const InitialKind kind = initialKind(e);
        if (kind != InitialKind::None && (e.flags & CMidiEvent::kInitialValue)) {
            seenFlag(track, kind) = 0; // the stored initial value stays
            return;
        }
        if (isNoteOff(e) && e.paired) return;
        countDown(track.eventCount);
        return;
    }
    if (e.status == 0xFF && (e.flags & CMidiEvent::kFirstPort)) {
        track.portSeen = 0;
        return;
    }
    if (e.status == 0xFF && (e.flags & CMidiEvent::kTrackName)) {
        track.nameSeen = 0;
        return;
    }
    countDown(track.eventCount);
}

int CMidiParserEx::InsertEvent(size_t index, std::unique_ptr<CMidiEvent> event)
{
    if (!event || event->track > kMaxTrack) return -1;
    Track& track = m_trackTables[event->track];
    const CMidiEvent& e = *event;
    index = std::min(index, m_events.size());
    m_events.insert(m_events.begin() + std::ptrdiff_t(index), std::move(event));
    track.modified = 1;
    CountInserted(e, track);
    ++track.totalCount;
    return int(track.eventCount);
}

int CMidiParserEx::AppendEvent(std::unique_ptr<CMidiEvent> event)
{
    return InsertEvent(m_events.size(), std::move(event));
}

int CMidiParserEx::RemoveEvent(size_t index)
{
    if (index >= m_events.size()) return -1;
    std::unique_ptr<CMidiEvent> e = std::move(m_events[index]);
    m_events.erase(m_events.begin() + std::ptrdiff_t(index));
    if (m_lastTimeSig == e.get()) m_lastTimeSig = nullptr;
    Track& track = m_trackTables[std::min<size_t>(e->track, kMaxTrack)];
    track.modified = 1;
    UncountRemoved(*e, track);
    countDown(track.totalCount);
    if (!m_events.empty()) {
        const size_t keep = size_t(m_events.back()->measure) + 1;
        if (m_map.size() > keep) m_map.resize(keep);
    }
    return int(track.eventCount);
}

std::vector<std::unique_ptr<CMidiEvent>> CMidiParserEx::ReleaseEvents()
{
    m_lastTimeSig = nullptr;
    return std::move(m_events);
}

void CMidiParserEx::AdoptEvents(std::vector<std::unique_ptr<CMidiEvent>> events)
{
    m_events = std::move(events);
}

int CMidiParserEx::CountInsertedEvent(const CMidiEvent& e)
{
    if (e.track > kMaxTrack) return -1;
    Track& track = m_trackTables[e.track];
    track.modified = 1;
    CountInserted(e, track);
    ++track.totalCount;
    return int(track.eventCount);
}

int CMidiParserEx::CountRemovedEvent(const CMidiEvent& e)
{
    if (m_lastTimeSig == &e) m_lastTimeSig = nullptr;
    Track& track = m_trackTables[std::min<size_t>(e.track, kMaxTrack)];
    track.modified = 1;
    UncountRemoved(e, track);
    countDown(track.totalCount);
    return int(track.eventCount);
}

void CMidiParserEx::TrimTimeSigMap(size_t measures)
{
    if (m_map.size() > measures) m_map.resize(measures);
}

size_t CMidiParserEx::RemoveMarkedEvents(uint16_t mark)
{
    // The tables change per event from the last marked one down; the map
    // keeps the measures up to the last event left after each removal, which
    // ends at the smallest of those lasts.
    size_t removed = 0;
    size_t keep = SIZE_MAX;
    const size_t n = m_events.size();
    size_t highestKept = n; // index of the highest unmarked event seen from the end so far
    for (size_t i = n; i-- > 0;) {
        CMidiEvent& e = *m_events[i];
        if (e.state != mark) {
            if (highestKept == n) highestKept = i;
            continue;
        }
        CountRemovedEvent(e);
        ++removed;
        // After this removal the last event is the highest unmarked one, or
        // the next lower event when none is left above.
        const size_t last = highestKept != n ? highestKept : (i > 0 ? i - 1 : n);
        if (last != n) keep = std::min(keep, size_t(m_events[last]->measure) + 1);
    }
    if (removed == 0) return 0;
    size_t out = 0;
    for (size_t i = 0; i < n; ++i)
        if (m_events[i]->state != mark) m_events[out++] = std::move(m_events[i]);
    m_events.resize(out);
    if (keep != SIZE_MAX) TrimTimeSigMap(keep);
    return removed;
}

void CMidiParserEx::Renumber(int64_t from)
{
    for (size_t i = from < 0 ? 0 : size_t(from); i < m_events.size(); ++i) {
        PrefetchAhead(i);
        m_events[i]->index = uint32_t(i);
        m_events[i]->state = 0;
    }
}

void CMidiParserEx::SortEvents()
{
    Renumber(0);
    std::sort(m_events.begin(), m_events.end(), [](const auto& a, const auto& b) {
        return a->time != b->time ? a->time < b->time : a->index < b->index;
    });
}

void CMidiParserEx::SwapEvents(size_t a, size_t b)
{
    if (a < m_events.size() && b < m_events.size()) std::swap(m_events[a], m_events[b]);
}

void CMidiParserEx::DeleteAllEvents()
{
    m_events.clear();
    m_lastTimeSig = nullptr;
    m_openNotes.clear();
}

int CMidiParserEx::PairNoteOff(size_t index)
{
    CMidiEvent* off = GetEvent(index);
    if (off == nullptr || off->paired || !isNoteOff(*off)) return 0;
    const uint8_t channel = off->status & 0x0F;
    const uint8_t key = eventDataByte(*off, 0);
    for (size_t i = 0; i < index; ++i) {
        CMidiEvent& on = *m_events[i];
        if (on.paired || !isNoteOn(on) || (on.status & 0x0F) != channel || eventDataByte(on, 0) != key ||
            on.track != off->track)
            continue;
        on.duration = off->time >= on.time ? off->time - on.time : 0;
        on.paired = off->paired = 1;
        on.pairId = off->pairId = int32_t(m_pairCounter++);
        return 1;
    }
    ++m_trackTables[std::min<size_t>(off->track, kMaxTrack)].eventCount;
    return 0;
}

int CMidiParserEx::ChangeDivision(uint16_t oldDivision, uint16_t newDivision)
{
    if (oldDivision == 0 || newDivision == 0 || (oldDivision & 0x8000) || (newDivision & 0x8000))
        return kBadMThdChunk;
    auto scale = [&](uint64_t t) {
        const uint64_t v = (t * newDivision + oldDivision / 2) / oldDivision;
        return uint32_t(std::min<uint64_t>(v, std::numeric_limits<uint32_t>::max()));
    };

    // New measure starts: each measure keeps its signature.
    const uint16_t saved = m_division;
    m_division = newDivision;
    std::vector<uint32_t> starts(m_map.size());
    uint64_t s = 0;
    for (size_t k = 0; k < m_map.size(); ++k) {
        if (s > std::numeric_limits<uint32_t>::max()) {
            m_division = saved;
            return kMeasureLimitExceeded;
        }
        starts[k] = uint32_t(s);
        s += MeasureTicks(m_map[k].numerator, m_map[k].denominator);
    }
    for (size_t k = 0; k < m_map.size(); ++k)
        m_map[k].startTick = starts[k];

    for (auto& ep : m_events) {
        CMidiEvent& e = *ep;
        const uint64_t end = uint64_t(e.time) + e.duration;
        const uint32_t time = scale(e.time);
        if (e.duration) e.duration = scale(end) - time;
        e.time = time;
    }
    for (auto& t : m_trackTables)
        t.endTime = scale(t.endTime);
    for (uint32_t& end : m_chunkEndTimes)
        end = scale(end);
    m_curMeasure = 0;
    for (auto& ep : m_events) {
        CMidiEvent& e = *ep;
        if (e.time < GetMeasureStartTick(m_curMeasure)) m_curMeasure = 0;
        const int rc = ConvertTick(e.time);
        if (rc) return rc;
        e.measure = m_curMeasure;
        e.beat = m_curBeat;
        e.tick = m_curTick;
    }
    for (auto& t : m_trackTables)
        t.modified = 1;
    return kSuccess;
}

// ---- Track queries ---------------------------------------------------------

uint32_t CMidiParserEx::GetTrackEventCount(int t) const
{
    const Track* track = GetTrack(t);
    return track ? track->eventCount : 0;
}

uint32_t CMidiParserEx::GetTrackTotalEvents(int t) const
{
    const Track* track = GetTrack(t);
    return track ? track->totalCount : 0;
}

void CMidiParserEx::SetTrackModified(int t, uint32_t value)
{
    if (Track* track = GetTrack(t)) track->modified = value;
}

int CMidiParserEx::HasModifiedTrack() const
{
    for (const auto& t : m_trackTables)
        if (t.modified == 1) return 1;
    return 0;
}

uint32_t CMidiParserEx::GetEndTickOfTrack(int t) const
{
    for (size_t i = m_events.size(); i-- > 0;)
        if (m_events[i]->track == t) return m_events[i]->time + (m_events[i]->time < UINT32_MAX ? 1 : 0);
    return 0;
}

uint32_t CMidiParserEx::GetSequenceEndTick() const
{
    for (size_t i = m_events.size(); i-- > 0;)
        if (m_events[i]->track != 0) return m_events[i]->time + (m_events[i]->time < UINT32_MAX ? 1 : 0);
    return 0;
}

uint32_t CMidiParserEx::GetFirstContentTick(int t) const
{
    for (const auto& ep : m_events) {
        const CMidiEvent& e = *ep;
        if (e.track != t) continue;
        const bool content = isChannelStatus(e.status) ||
                             (e.status > 0xF0 && e.status < 0xFF && e.status != 0xF7) ||
                             (e.status == 0xFF && (metaType(e) == 1 || metaType(e) == 5 || metaType(e) == 6));
        if (content) return e.time;
    }
    return 0;
}

int64_t CMidiParserEx::GetLastEventIndex() const
{
    for (size_t i = m_events.size(); i-- > 1;)
        if (m_format != 1 || m_events[i]->track != 0) return int64_t(i);
    return -1;
}

} // namespace zib
