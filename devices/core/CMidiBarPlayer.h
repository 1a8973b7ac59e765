#pragma once

#include "devices/core/CMeasureTable.h"
#include "devices/core/CPlayerSlot.h"
#include "devices/core/IPlaybackDocument.h"
#include "devices/core/MetronomeSettings.h"
#include "devices/core/IMidiInClient.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

namespace zib {

class ByteWriter;
class CMidiEvent;
class CMidiInPort;
class CMidiStream;
class IPlayerHost;
class IPlayerView;

// The player of a MIDI document, owned by its MIDI bar view: it plays the
// document's sequence through one output stream per used MIDI OUT port,
// feeding each from a ring of ten buffers that it refills as they come back;
// honours mute and solo, loops between From and Thru, adds the metronome and
// the pre-count, echoes and records MIDI input into armed tracks, and keeps
// the song position and markers with the transport operations.
//
// The device callbacks run on the devices' threads; one lock serializes them
// with the UI thread's operations, so recording can insert into the sequence
// while the streams read it. Device handles are closed only outside the lock
// (a closing device waits for its callback thread). The end of playback
// reaches the UI thread only as IPlayerView::PostPlaybackEnd, which the
// window answers with FinishMidiPlayback.
//
// Implemented in CMidiBarPlayer.cpp (start, stop, finish, ports, callbacks),
// CMidiBarPlayerFill.cpp (buffer filling, metronome, pre-count, loop),
// CMidiBarPlayerRecord.cpp (input, thru, recording) and
// CMidiBarPlayerTransport.cpp (position, markers, tempo).
class CMidiBarPlayer : public IZibPlayer, private IMidiStreamClient, private IMidiInClient {
public:
    static constexpr int kPorts = 128;
    static constexpr int kTracks = 65; // track 0 (the song's meta track) and 1..64
    static constexpr int kBufferCount = 10;
    static constexpr uint32_t kFillLimit = 1013;     // a buffer ends once this many bytes are written
    static constexpr uint32_t kLongEventLimit = 1020; // system exclusive events this long become NOPs
    static constexpr int kEndOfPlayback = 101;       // the code posted when all buffers are back

    // Stream states
    enum class StreamState : int { Playing = 0, StopPending = 100, Finished = 101, EndOfData = 102 };

    // Results of filling one buffer
    enum FillResult : int {
        kQueued = 0,
        kPrepareFailed = 1,
        kOutFailed = 2,
        kNothingMore = 3,
        kEventBeforeFill = 4,
        kBadTempo = 5,
    };

    // Numbers of the player's messages in the message table
    enum PlayerMessage : int {
        kMsgMeasureParameter = 97,   // "Serious error in measure parameter"
        kMsgAllocateBuffers = 98,    // "Cannot allocate stream buffers"
        kMsgOpenAnyPort = 99,        // "Cannot open any MIDI OUT port"
        kMsgOpenDefaultPort = 100,   // "Cannot open default MIDI OUT port"
        kMsgRestartPorts = 101,      // "Cannot restart MIDI OUT ports"
        kMsgCreateTempoEvent = 102,  // "Cannot create new tempo event"
    };

    // Event words written into the buffers
    static constexpr uint32_t kNopStep = mevt::kNop | 2;     // time only: step, muted event, alignment
    static constexpr uint32_t kNopMeta = mevt::kNop | 3;     // a meta event or an overlong system exclusive
    static constexpr uint32_t kNopPrecountEnd = mevt::kNop | 7;
    static constexpr uint32_t kEndMarker = mevt::kCallback | mevt::kNop | 4;

    // A marker: measure, absolute tick and event index
    struct Marker {
        uint32_t measure = 0;
        uint32_t tick = 0;
        int64_t index = 0;
    };

    CMidiBarPlayer(IPlaybackDocument& document, IPlayerView& view, IPlayerHost& host);
    ~CMidiBarPlayer() override;
    CMidiBarPlayer(const CMidiBarPlayer&) = delete;
    CMidiBarPlayer& operator=(const CMidiBarPlayer&) = delete;

    // Filling from the document (the view's PopulateView): measure table,
    // first values, texts, tempo; the loop is switched off. False when the
    // song is too long to show.
    bool PrepareForDocument();

    // Playback (UI thread)
    void StartMidiPlayback(); // the Play toggle: starts, or stops while playing
    void StopMidiPlayback();
    void FinishMidiPlayback(int code); // the posted end of playback
    void OnRecord();                   // the Record toggle
    void StartPlayer() override { StartMidiPlayback(); }
    void StopPlayer() override { StartMidiPlayback(); }

    // Output ports
    int OpenMidiOutPorts();
    int PauseMidiOutPorts();
    int RestartMidiOutPorts();
    int CloseMidiOutPorts();

    // The mixer: short messages on a track's port and channel (track 1..64)
    void SendTrackVolume(uint8_t value, int track);
    void SendTrackPan(uint8_t value, int track);
    void SendTrackController(uint8_t controller, uint8_t value, int track);
    void SendTrackProgram(uint8_t program, int track);
    // After a play or solo switch changed: is some track muted or soloed
    void RecomputeMixFlags();
    void ChaseTrackState(int64_t index);
    void ShowTempo();
    void ShowPlaybackError(MidiResult code);

    // Position: conversions and searches
    uint32_t MbtToTicks(uint32_t measure, uint32_t beat, uint32_t tick) const;
    void TicksToMbt(uint32_t ticks, uint32_t& measure, uint32_t& beat, uint32_t& tick) const;
    int64_t FindEventAtTick(uint32_t tick, int64_t first) const;
    int64_t FindEventAfterTick(uint32_t tick, int64_t first) const;
    int64_t FindLastPlayableEvent() const;
    bool BuildMeasureTable();
    void TempoAtIndex(int64_t from, int64_t to);

    // Position texts
    void UpdatePositionText();
    void UpdateStartMarkerText(uint32_t tick);
    void UpdateEndMarkerText(uint32_t tick);
    void UpdateMarkerTexts();

    // Transport (UI thread; most do nothing while playing)
    void SetCurrentPosition(uint32_t measure, uint32_t beat, uint32_t tick);
    void JumpToMbt(uint32_t measure, uint32_t beat, uint32_t tick);
    void GoToBarRow(int64_t index);
    void SelectBarRow(int64_t index);
    void GoToMeasureColumn(uint32_t measure, bool rightHalf);
    void Rewind();
    void GoToEnd();
    void GoToStartMarker();
    void GoToEndMarker();
    void NextBar();
    void PrevBar();
    void SetFromAtPosition();
    void SetThruAtPosition();
    void SetThruBeforeMeasure();
    void SetStartMarker(uint32_t measure, uint32_t beat, uint32_t tick);
    void SetEndMarker(uint32_t measure, uint32_t beat, uint32_t tick);
    void ToggleLoop();
    void RefreshEventEditor();
    void ChangeCurrentTempo(uint32_t bpm);
    void SyncEditorsToTick(uint32_t tick);

    // Input and recording
    int OpenMidiIn();
    int StartMidiIn();
    int CloseMidiIn();
    void CloseHeldNotes();
    int RecordUndoForRecording();

    // Settings
    MetronomeSettings& Metronome() { return m_metronome; }

    // State, for the view and the tests
    StreamState State() const { return m_state; }
    int FreeBufferCount() const { return m_freeBuffers; }
    uint32_t PlayedTick() const { return m_playedTick; }
    uint32_t FillTick() const { return m_fillTick; }
    uint32_t PositionMeasure() const { return m_posMeasure; }
    uint32_t PositionBeat() const { return m_posBeat; }
    uint32_t PositionTick() const { return m_posTick; }
    int64_t CurrentEventIndex() const { return m_posIndex; }
    const Marker& From() const { return m_from; }
    const Marker& Thru() const { return m_thru; }
    uint32_t TempoShown() const { return m_tempoShown; }
    uint32_t InitialTempo() const { return m_initialTempo; }
    bool PrecountActive() const { return m_precountActive; }
    int HeldNoteCount() const { return m_heldNotes; }
    bool IsMidiInOpen() const { return m_midiInOpen; }
    const CMeasureTable& MeasureTable() const { return m_measures; }
    // The chased state of a track (0..64): volume, pan, bank MSB, bank LSB, program
    struct Chase {
        uint8_t volume = 100;
        uint8_t pan = 0;
        uint8_t bankMsb = 255;
        uint8_t bankLsb = 0;
        uint8_t program = 255;
    };
    Chase ChasedState(int track) const { return m_chase[size_t(track < 0 || track >= kTracks ? 0 : track)]; }
    // The lock that keeps the sequence still while the player reads it; a
    // window that reads the sequence while playing takes it
    std::recursive_mutex& SequenceLock() { return m_mutex; }

private:
    // Where a queued buffer left off
    struct BufferRecord {
        int64_t nextEvent = 0;
        uint32_t tick = 0;
        CMidiStream* stream = nullptr;
        int64_t tempoEvent = -1; // the Set Tempo event it carries
    };

    // Device callbacks (device threads)
    void OnStreamDone(MidiHeader& header) override;
    void OnStreamPosition(MidiHeader& header, uint32_t offset) override;
    void OnMidiInData(uint32_t message, uint32_t timeMs) override;

    // Start and finish
    void SendStartState();
    void ResetChaseToFirstValues();
    void EnterFinished();
    void CloseDevices(); // outside the lock
    void Shutdown();
    bool IsPlaying() const { return m_slot.IsPlaying(); }
    uint32_t SequenceDivision() const;

    // Filling (CMidiBarPlayerFill.cpp)
    int FillStreamBuffer(int i);
    int FillEvents(int i);
    int AlignPorts(int i);
    int MetronomeClick(int i, uint32_t beat);
    int PreCount(int i);
    int LoopWrap(int i);
    int ReleaseLoopNotes(int i);
    void WrapToFrom();
    int QueueBuffer(int i, bool advanceFill = true);
    void BeginBuffer(int i);
    bool BufferEmpty() const;
    void WriteEvent(uint32_t delta, uint32_t word);
    bool TakeStream(int port, int& usedPort, CMidiStream*& stream) const;
    uint32_t NextBeatStep(uint32_t tick) const;
    uint32_t ClickDuration(uint32_t ticksPerBeat) const;
    bool EventPlays(size_t index) const;
    void CreditChase(const CMidiEvent& event, uint8_t status);
    uint32_t TempoInEffectAt(uint32_t tick) const;
    bool LoopActive() const;

    // Recording (CMidiBarPlayerRecord.cpp)
    bool TrackMatches(const PlaybackTrack& track, uint8_t channel) const;
    void InsertRecorded(size_t index, std::unique_ptr<CMidiEvent> event);
    void ShiftIndexesForInsert(size_t index);
    void RenumberFrom(size_t index);
    void RefreshTrackCounts();
    void CloseHeldNotesAt(uint32_t endTick, size_t fromIndex);

    // Position helpers (CMidiBarPlayerTransport.cpp)
    void SetPositionFromTick(uint32_t tick);
    void SetMarker(Marker& marker, uint32_t tick, int64_t index);
    void AfterMarkerChange();
    int64_t FirstEventAfter(uint32_t tick) const;

    IPlaybackDocument& m_doc;
    IPlayerView& m_view;
    IPlayerHost& m_host;
    CPlayerSlot& m_slot;
    mutable std::recursive_mutex m_mutex;

    // Stream state
    StreamState m_state = StreamState::Playing;
    int m_freeBuffers = kBufferCount;
    std::array<MidiHeader, kBufferCount> m_headers{};
    std::array<BufferRecord, kBufferCount> m_records{};
    bool m_shuttingDown = false;

    // Ports: opened streams, the handle each port plays through (shared
    // with port 0 when the port is not usable), running ticks
    std::array<std::unique_ptr<CMidiStream>, kPorts> m_streams;
    std::array<CMidiStream*, kPorts> m_handles{};
    std::array<uint32_t, kPorts> m_runningTick{};
    std::array<uint8_t, kTracks> m_trackPort{};
    std::array<uint8_t, kPorts> m_portInUse{};
    std::array<uint8_t, kPorts> m_portSynced{};
    int m_nextPort = 0;

    // The buffer being filled
    ByteWriter* m_buf = nullptr;
    CMidiStream* m_bufStream = nullptr;
    int m_bufPort = 0;
    int64_t m_bufTempoEvent = -1;

    // Where playback stands
    int64_t m_curIndex = 0;  // next event to fill
    int64_t m_lastIndex = -1; // last event to play
    uint32_t m_startTick = 0;
    uint32_t m_fillTick = 0;
    uint32_t m_playedTick = 0;
    int64_t m_playedIndex = 0;
    uint32_t m_displayedTick = 0;
    uint32_t m_editorsTick = UINT32_MAX;
    uint32_t m_maxNopStep = 1;

    // Flags of the run
    bool m_mutedExists = false;
    bool m_soloedExists = false;
    bool m_portsInSync = true;
    bool m_loopEnd = false;
    bool m_hangingNotes = false;
    bool m_endMarkerQueued = false;
    bool m_loopRun = false;   // the loop has a length (Thru after From)

    // Tempo sent to every stream: the value waiting to go to the ports the
    // alignment has not reached yet (0 = none), and the streams that have it
    uint32_t m_pendingTempo = 0;
    uint32_t m_streamTempo = 0;
    std::array<CMidiStream*, kPorts> m_tempoStreams{};
    int m_tempoStreamCount = 0;
    uint32_t m_tempoAtFrom = 0;

    // Metronome, pre-count and loop
    MetronomeSettings m_metronome;
    bool m_metronomeOn = false;
    int m_clicksTotal = 0;
    int m_clicksRemaining = -1;
    uint32_t m_lastClickTick = 1;
    bool m_clickSounding = false;
    bool m_precountActive = false;
    uint32_t m_precountTicks = 0;

    // Chased track state (tracks 0..64)
    std::array<Chase, kTracks> m_chase{};

    // Position and markers
    CMeasureTable m_measures;
    uint32_t m_posMeasure = 0;
    uint32_t m_posBeat = 0;
    uint32_t m_posTick = 0;
    int64_t m_posIndex = 0;
    Marker m_from;
    Marker m_thru;
    uint32_t m_tempoShown = 100;
    uint32_t m_initialTempo = 100;
    int64_t m_lastTempoIndex = -1;

    // Input and recording
    std::array<std::unique_ptr<CMidiInPort>, kPorts> m_inputs;
    bool m_midiInOpen = false;
    int m_heldNotes = 0;
    int64_t m_firstInserted = INT64_MAX;
    int64_t m_insertionHint = 0;
    bool m_sequenceChanged = false;
};

} // namespace zib
