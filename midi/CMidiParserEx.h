#pragma once

#include "midi/CMidiEvent.h"
#include "midi/CMidiFileEx.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zib {

// The editable MIDI sequence: a format-0 or format-1 Standard MIDI File read
// into one time-ordered array of CMidiEvent objects, with per-track tables
// (tracks 0-64) and each track's raw chunk bytes for writing the file back.
// Format 0 spreads channel events over tracks channel + 1 (meta and sysex on
// track 0); format 1 numbers tracks by chunk, one higher for all when the
// first chunk holds channel or sysex events (the track shift), so that
// track 0 stays the tempo track.
//
// Writing back (WriteToMemory/WriteToFile) rebuilds the file from the raw
// chunks the tables hold: format 1 from each track with a raw size, format 0
// from track 0's. A track whose raw bytes are missing (format 0 and shifted
// files keep none until the document rebuilds them) fails with 116 instead
// of writing an empty track.
class CMidiParserEx : public CMidiFileEx {
public:
    // Error codes added to CMidiFileEx's (texts in CMidiParserEx.cpp)
    enum ParserError : int {
        kNotReallyAnError = 106,
        kFormatNotSupportedEx = 107,
        kTimeSigAtWrongPlace = 108,
        kTimeSigNotAtZeroTick = 109,
        kCannotAllocateRamBuffer = 110,
        kCannotAllocateEvents = 111,
        kLastTrackNotFinished = 112,
        kCannotAllocateTrackBuffer = 113,
        kMaxTrackLimitExceeded = 114,
        kTrackBufferEmpty = 116,
        kCannotConvertBuffer = 117,
        kTrackSizeDiffers = 118,
        kChannelEventInTempoTrack = 119,
        kIncorrectTrackCount = 120,
    };

    static constexpr int kMaxTracks = 65; // tracks 0 .. 64, and the most track chunks a file may hold
    // A pass over the array asks for the event this many places ahead: the
    // events lie in the order they were read, not in array order, so the
    // pass would otherwise wait on each one
    static constexpr size_t kPrefetchAhead = 8;
    static constexpr size_t kMaxNameLength = 256;
    static constexpr size_t kMaxInsertedNameLength = 16;

    // Everything the sequence keeps per track
    struct Track {
        uint32_t modified = 0;          // 1 = changed since loading
        std::vector<uint8_t> rawBuffer; // the chunk's bytes (no chunk header)
        uint32_t rawSize = 0;           // bytes of the chunk (format 0: as one track per channel)
        uint32_t eventCount = 0;        // events shown in the track's event list
        uint32_t totalCount = 0;        // all events stored for the track
        uint8_t volume = 100;           // initial controller 7
        uint8_t pan = 0;                // initial controller 10
        uint8_t bankMsb = 0;            // initial controller 0
        uint8_t bankLsb = 0;            // initial controller 32
        uint8_t program = 0;            // initial program change
        uint8_t channel = 0xFF;         // 0xFF: none yet, or more than one
        uint8_t port = 0;               // first port meta event
        std::string name;               // first track-name meta event (Windows-1252 bytes)
        // Seen flags
        uint8_t channelSeen = 0;
        uint8_t programSeen = 0;
        uint8_t bankMsbSeen = 0;
        uint8_t bankLsbSeen = 0;
        uint8_t panSeen = 0;
        uint8_t volumeSeen = 0;
        uint8_t noteSeen = 0;
        uint8_t nameSeen = 0;
        uint8_t portSeen = 0;
        // Format 1: tick of the chunk's end-of-track event as read; a track
        // written back ends there unless events lie past it
        uint32_t endTime = 0;
    };

    // A chunk of the file that is neither the header nor a track (a vendor's
    // data), kept to be written back unchanged in its place
    struct ForeignChunk {
        uint32_t id = 0;
        std::vector<uint8_t> bytes; // the payload, without id and length
        int beforeTrack = 0;        // the track (format 0: chunk) whose chunk followed it
    };

    CMidiParserEx();
    ~CMidiParserEx() override;

    int ReportError(char* buffer, size_t size, int code) override;

    // Loading: reads the image into the sequence; on failure the sequence is empty
    int ParseImage(const uint8_t* image, uint32_t size);

    // New file: a format-1 image (division 384) of the conductor track
    // (mode 0), plus 16 channel tracks (mode 1), written into the caller's
    // buffer; `size` is the capacity on entry and the image size on return.
    // The image is then loaded with ParseImage by the caller.
    int CreateNew(int mode, uint8_t* target, uint32_t& size);
    int GetNewFileSize(int mode, uint32_t& size);
    void SetAuthor(std::string author) { m_author = std::move(author); }  // Windows-1252
    void SetCopyrightYear(std::string year) { m_year = std::move(year); } // empty: the current year

    // Editing. InsertEvent takes ownership and returns the track's new event
    // count (-1 when the event is refused: none, or track above 64);
    // RemoveEvent returns it too, -1 for an index outside the array.
    int InsertEvent(size_t index, std::unique_ptr<CMidiEvent> event);
    int AppendEvent(std::unique_ptr<CMidiEvent> event);
    int RemoveEvent(size_t index);
    void Renumber(int64_t from);
    void SortEvents();
    // Exchanges the places of two events in the array (their index fields stay)
    void SwapEvents(size_t a, size_t b);
    void DeleteAllEvents();
    // Pairs the note-off at `index` with the earliest unpaired note-on
    // (velocity above 0) of the same track, channel and key before it;
    // returns 1 when paired, 0 when not (the track's event count then grows)
    int PairNoteOff(size_t index);
    // Converts every event time (and note duration) from one division to
    // another, and the time-signature map with it
    int ChangeDivision(uint16_t oldDivision, uint16_t newDivision);

    // Batch edits: the array taken out, edited elsewhere and given back, and
    // the table changes of InsertEvent and RemoveEvent made event by event in
    // the same order, so that the result equals one-by-one editing.
    std::vector<std::unique_ptr<CMidiEvent>> ReleaseEvents();
    void AdoptEvents(std::vector<std::unique_ptr<CMidiEvent>> events);
    int CountInsertedEvent(const CMidiEvent& event); // -1 for a track above 64
    int CountRemovedEvent(const CMidiEvent& event);  // the map is left as it is
    void TrimTimeSigMap(size_t measures);            // keeps at most this many measures
    // Removes every event whose edit state is `mark` in one pass, with the
    // changes RemoveEvent makes removing them from the last to the first.
    // Returns the number removed.
    size_t RemoveMarkedEvents(uint16_t mark);

    // The events
    size_t GetEventCount() const { return m_events.size(); }
    CMidiEvent* GetEvent(size_t index) const
    {
        return index < m_events.size() ? m_events[index].get() : nullptr;
    }
    const std::vector<std::unique_ptr<CMidiEvent>>& GetEvents() const { return m_events; }
    // A pass over the array at `index` asks for the event kPrefetchAhead places on
    void PrefetchAhead(size_t index) const
    {
        if (index + kPrefetchAhead < m_events.size()) __builtin_prefetch(m_events[index + kPrefetchAhead].get());
    }

    // Track queries (a track above 64 gives 0 or nullptr)
    Track* GetTrack(int t) { return t >= 0 && t < kMaxTracks ? &m_trackTables[size_t(t)] : nullptr; }
    const Track* GetTrack(int t) const
    {
        return t >= 0 && t < kMaxTracks ? &m_trackTables[size_t(t)] : nullptr;
    }
    uint32_t GetTrackEventCount(int t) const;
    uint32_t GetTrackTotalEvents(int t) const;
    void SetTrackModified(int t, uint32_t value);
    int HasModifiedTrack() const;
    uint32_t GetEndTickOfTrack(int t) const;
    uint32_t GetSequenceEndTick() const;
    uint32_t GetFirstContentTick(int t) const;
    int64_t GetLastEventIndex() const;
    uint8_t GetInitialTempo() const { return m_initialTempo; }
    uint32_t GetTrackShift() const { return m_trackShift; }
    uint32_t GetPairCounter() const { return m_pairCounter; }
    // Format 0: the end-of-track tick of each track chunk read, in file order
    const std::vector<uint32_t>& GetChunkEndTimes() const { return m_chunkEndTimes; }
    const std::vector<ForeignChunk>& GetForeignChunks() const { return m_foreignChunks; }
    int32_t NextPairId() { return int32_t(m_pairCounter++); }

    // 2 = the first value of each kind in a track is its initial value
    // wherever it stands; otherwise only before the track's first note
    uint32_t initialValueMode = 0;
    // Three port bytes for the document's use (0xFF until it sets them)
    uint8_t portBytes[3] = {0xFF, 0xFF, 0xFF};

protected:
    // Reading and writing callbacks
    int OnUnknownChunk() override;
    int OnHeader() override;
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnSysEx() override;
    int OnMetaSeqNum() override;
    int OnMetaTempo() override;
    int OnMetaSMPTE() override;
    int OnMetaTime() override;
    int OnMetaKeySig() override;
    int OnMetaPort() override;
    int OnMetaChan() override;
    int OnMetaText() override;
    int OnMetaEndOfTrack() override;

    // Storing events while reading (the full read, pass 0)
    bool IsStoringPass() const { return m_pass == Pass::Full && !IsWriting(); }
    int CurrentTrackNumber() const; // track of the current non-channel event
    // A new event of the current read position: time, measure, beat, tick
    std::unique_ptr<CMidiEvent> NewEventHere() const;
    // Stores a read event: a channel event by the rules of the initial values,
    // counts and note pairing of its track (format 0: track channel + 1);
    // any other event counted in its track as it is
    void StoreEvent(std::unique_ptr<CMidiEvent> event);

private:
    enum class Pass : uint8_t { Full = 0, TempoTrack = 1, RawCopy = 2 };

    int LoadImage(const uint8_t* image, uint32_t size);
    void ResetTables(bool keepTrackShift, bool keepRawTracks);
    int StoreMeta(uint8_t flags = 0);
    void Place(std::unique_ptr<CMidiEvent> event);
    void CloseOpenNotes(size_t from, uint32_t endTime);
    void FinishTrackChunk();
    void OrderFormat1Events();
    void DeriveFormat0TrackSizes();
    std::vector<uint8_t> BuildConductorTrack();
    void CountInserted(const CMidiEvent& event, Track& track);
    void UncountRemoved(const CMidiEvent& event, Track& track);

    // The sequence, sorted by time once loaded
    std::vector<std::unique_ptr<CMidiEvent>> m_events;
    std::array<Track, kMaxTracks> m_trackTables;

    // Load state
    Pass m_pass = Pass::Full;
    uint8_t m_trackEnded = 1;
    int32_t m_writeCursor = -1;
    uint32_t m_pairCounter = 0;
    uint32_t m_lastEventTime = 0;
    uint32_t m_hasTimeSignature = 0;
    uint32_t m_trackShift = 0;
    uint8_t m_initialTempo = 100;
    uint32_t m_hasTempo = 0;
    CMidiEvent* m_lastTimeSig = nullptr; // the time-signature event stored last
    uint32_t m_lastTimeSigTime = 0;

    // Format 1: where each chunk's events start in the read order
    std::vector<size_t> m_chunkStarts;
    // Note-ons waiting for their note-off, per channel and key, in the order read
    struct OpenNotes {
        std::vector<CMidiEvent*> queue;
        size_t head = 0;
    };
    std::vector<OpenNotes> m_openNotes;
    std::vector<uint32_t> m_chunkEndTimes; // format 0
    std::vector<ForeignChunk> m_foreignChunks;

    // New file
    std::string m_author;
    std::string m_year;
};

} // namespace zib
