#pragma once

#include "ui/core/IZibPlayer.h"
#include "devices/core/CMeasureTable.h"
#include "devices/core/IPlaybackDocument.h"
#include "devices/core/InPortClient.h"
#include "devices/core/MetronomeSettings.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiResult.h"
#include "devices/core/OutStreamClient.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zib {

class CMidiEvent;
class InPort;
class MidiSession;
class OutStream;
class PlaybackHost;
class PlaybackUi;

// The player and recorder of a MIDI document, owned by its MIDI bar view.
// It plays the document's sequence through one output stream per used user
// OUT port, feeding the streams from a ring of ten buffers that it refills
// as they come back; honours mute and solo; loops between From and Thru;
// adds the metronome and the pre-count; echoes and records MIDI input into
// armed tracks; and keeps the song position, the markers and the tempo
// shown with the transport operations.
//
// Threads. The engine's streams and inputs belong to one MIDI session with
// one clock (ports never drift apart) and direct delivery: one thread runs
// the buffer-done and input callbacks in turn. One mutex serialises that
// thread and the UI thread's entries (start, stop, finish, tempo, track
// sends, marker moves). Streams and inputs are closed only outside it: a
// close waits for a running callback, which may be waiting for the mutex.
// The delivery thread never calls the document or a window: position,
// tempo, editor follow, cursor, errors and the end of a run are posted as
// coalesced updates tagged with the run's id, which the UI thread takes in
// DeliverUi; a finish posted by an earlier run is ignored.
//
// Implemented in PlaybackEngine.cpp (start, stop, finish, ports, callbacks,
// mixer), PlaybackEngineFill.cpp (filling buffers, metronome, pre-count,
// loop), PlaybackEngineRecord.cpp (input, thru, recording) and
// PlaybackEngineTransport.cpp (position, markers, tempo).
class PlaybackEngine : public IZibPlayer, private OutStreamClient, private InPortClient {
public:
    static constexpr int kPorts = 128;
    static constexpr int kTracks = 65;        // track 0 (the song's meta track) and 1..64
    // Buffers in the ring: the application's ten stream buffers and the
    // engine's own beyond them. Ten give a dense song at 240 BPM only a few
    // milliseconds of lead; a stop lets at most this many time steps play out.
    static constexpr int kBufferCount = 16;
    static constexpr uint32_t kBufferSize = 2048;
    static constexpr uint32_t kFillLimit = 1013;      // a buffer ends once this many bytes are written
    static constexpr uint32_t kLongEventLimit = 1020; // system exclusive events this long become NOPs

    // Stream states
    enum class State : int { Playing = 0, StopPending = 100, Finished = 101, EndOfData = 102 };

    // Results of filling one buffer
    enum FillResult : int {
        kQueued = 0,
        kPrepareFailed = 1,
        kOutFailed = 2,
        kNothingMore = 3,
        kEventBeforeFill = 4,
        kBadTempo = 5,
    };

    // Numbers of the engine's messages in the message table
    enum Message : int {
        kMsgMeasureParameter = 97, // "Serious error in measure parameter"
        kMsgAllocateBuffers = 98,  // "Cannot allocate stream buffers"
        kMsgOpenAnyPort = 99,      // "Cannot open any MIDI OUT port"
        kMsgOpenDefaultPort = 100, // "Cannot open default MIDI OUT port"
        kMsgRestartPorts = 101,    // "Cannot restart MIDI OUT ports"
        kMsgCreateTempoEvent = 102, // "Cannot create new tempo event"
    };

    // Event words written into the buffers
    static constexpr uint32_t kNopStep = mevt::kNop | 2; // time only: step, muted event, alignment
    static constexpr uint32_t kNopMeta = mevt::kNop | 3; // a meta event, an overlong or 0xF7 system exclusive
    static constexpr uint32_t kNopPrecountEnd = mevt::kNop | 7;
    static constexpr uint32_t kEndMarker = mevt::kCallback | mevt::kNop | 4;

    // A marker: measure, absolute tick and event index
    struct Marker {
        uint32_t measure = 0;
        uint32_t tick = 0;
        int64_t index = 0;
    };

    // The chased state of a track: volume, pan, bank MSB and LSB, program
    struct Chase {
        uint8_t volume = 100;
        uint8_t pan = 0;
        uint8_t bankMsb = 255;
        uint8_t bankLsb = 0;
        uint8_t program = 255;
        // Takes the value of a program change or of controller 7, 10, 0 or 32
        void Take(const CMidiEvent& e);
    };

    PlaybackEngine(IPlaybackDocument& document, PlaybackUi& ui, PlaybackHost& host);
    // Closes the streams and inputs in any state (ending the notes it started)
    ~PlaybackEngine() override;
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Filling from the document (the bar view's PopulateView): measure
    // table, first values, texts, tempo; the loop is switched off. False
    // when the song is too long to show.
    bool PrepareForDocument();

    // Playback (UI thread)
    void StartMidiPlayback(); // the Play toggle: starts, or stops while playing
    void StopMidiPlayback();
    void FinishMidiPlayback();
    void OnRecord(); // the Record toggle
    void StartPlayer() override { StartMidiPlayback(); }
    void StopPlayer() override { StartMidiPlayback(); }
    // Hands the posted updates to the window (UI thread; see PlaybackUi)
    void DeliverUi();

    // Output ports (UI thread)
    int OpenMidiOutPorts();
    int PauseMidiOutPorts();
    int RestartMidiOutPorts();
    int CloseMidiOutPorts();

    // The mixer: short messages on a track's port and channel (track 1..64;
    // nothing for a track without one channel)
    void SendTrackVolume(uint8_t value, int track);
    void SendTrackPan(uint8_t value, int track);
    void SendTrackController(uint8_t controller, uint8_t value, int track);
    void SendTrackProgram(uint8_t program, int track);
    // A track's play, solo or record switches changed (also while playing)
    void OnTrackSwitchesChanged();
    void ChaseTrackState(int64_t index);
    void ShowTempo();
    void ShowPlaybackError(MidiResult code);

    // Position: conversions and searches
    uint32_t MbtToTicks(uint32_t measure, uint32_t beat, uint32_t tick);
    void TicksToMbt(uint32_t ticks, uint32_t& measure, uint32_t& beat, uint32_t& tick);
    int64_t FindEventAtTick(uint32_t tick, int64_t first) const;
    int64_t FindEventAfterTick(uint32_t tick, int64_t first) const;
    int64_t FindLastPlayableEvent() const;
    bool BuildMeasureTable();
    void TempoAtIndex(int64_t from, int64_t to);
    // The song's tempo events were edited: the tempo shown is the one in
    // force at the position again
    void TempoTrackChanged();

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
    std::unique_lock<std::recursive_mutex> LockSequence() const { return std::unique_lock(m_mutex); }
    State GetState() const;
    int FreeBufferCount() const;
    uint32_t PlayedTick() const;
    uint32_t FillTick() const;
    uint32_t CursorTick() const; // the tick the cursor stands at
    uint32_t PositionMeasure() const { return m_posMeasure; }
    uint32_t PositionBeat() const { return m_posBeat; }
    uint32_t PositionTick() const { return m_posTick; }
    int64_t CurrentEventIndex() const { return m_posIndex; }
    const Marker& From() const { return m_from; }
    const Marker& Thru() const { return m_thru; }
    uint32_t TempoShown() const { return m_tempoShown; }
    uint32_t InitialTempo() const { return m_initialTempo; }
    bool PrecountActive() const;
    int HeldNoteCount() const;
    bool IsMidiInOpen() const { return m_midiInOpen; }
    uint64_t RunId() const;
    const CMeasureTable& MeasureTable() const { return m_measures; }
    Chase ChasedState(int track) const { return m_chase[size_t(track < 0 || track >= kTracks ? 0 : track)]; }
    // Per track: the first shown and the last event index (rebuilt at every
    // fill and start), -1 when the track has none
    int64_t FirstShownEvent(int track) const { return m_firstShown[size_t(track)]; }
    int64_t LastTrackEvent(int track) const { return m_lastEvent[size_t(track)]; }
    void RebuildTrackEventRanges();

private:
    // Where a queued buffer left off
    struct BufferRecord {
        int64_t nextEvent = 0;
        uint32_t tick = 0;
        OutStream* stream = nullptr;
        int64_t tempoEvent = -1; // the Set Tempo event it carries
    };

    // The buffer being filled: writes stream events into application buffer
    // i, never past its capacity
    struct Fill {
        uint8_t* data = nullptr;
        uint32_t used = 0;
        uint32_t events = 0;
        OutStream* stream = nullptr;
        int port = 0;
        int64_t tempoEvent = -1;
        bool Empty() const { return events == 0; }
    };

    // Updates waiting for the UI thread
    struct Pending {
        bool position = false;
        char positionText[32] = {};
        bool tempo = false;
        uint32_t tempoShown = 0;
        bool follow = false;
        uint32_t followTick = 0;
        bool cursor = false;
        bool finish = false;
        uint64_t finishRun = 0;
        std::vector<std::string> errors;
    };

    // Device callbacks (the session's delivery thread)
    void OnStreamDone(OutStream& stream, MidiHeader& header) override;
    void OnStreamPosition(OutStream& stream, MidiHeader& header, uint32_t offset) override;
    void OnMidiInData(InPort& port, uint32_t message, uint32_t timeMs) override;

    // Start and finish (PlaybackEngine.cpp)
    void SendStartState();
    void ResetChaseToFirstValues();
    void EnterFinished();
    void DropRecordFlag(); // under m_mutex
    void PostUi(); // under m_mutex
    void PostError(MidiResult code);
    void ReadTracks();
    void EndSoundingNotes(int64_t sentBefore);
    void CloseAll();
    bool PortUsable(int port) const;
    uint32_t Division() const;
    std::string ErrorText(MidiResult code) const;
    std::string OpenFailureText(const char* separator) const;
    void ShowOpenFailure();

    // Filling (PlaybackEngineFill.cpp)
    int FillStreamBuffer(int i);
    int FillEvents(int i);
    int AlignPorts(int i);
    int PrecountWait(int i);
    int MetronomeClick(int i, uint32_t beat);
    int PreCount(int i);
    int LoopWrap(int i);
    int ReleaseLoopNotes(int i);
    void WrapToFrom();
    int QueueBuffer(int i);
    void BeginBuffer(int i);
    bool Write(uint32_t delta, uint32_t word);
    bool WriteLong(uint32_t delta, uint32_t word, const uint8_t* first, uint32_t firstCount, const uint8_t* rest,
                   uint32_t restCount);
    OutStream* StreamOfPort(int port, int& usedPort) const;
    // The port an event's track plays on when its stream is the one the
    // buffer is being filled for (an empty buffer takes it); nullopt for
    // another stream, which ends the buffer.
    std::optional<int> FillPortOf(const CMidiEvent& event);
    uint32_t NextBeatStep(uint32_t tick) const;
    uint32_t TicksPerBeatAt(uint32_t tick) const;
    bool EventPlays(size_t index) const;
    void CreditChase(const CMidiEvent& event);
    uint32_t TempoInEffectAt(uint32_t tick) const;
    bool Looping() const;
    int MetronomePort() const;
    int64_t NextEventIndex() const;

    // Recording (PlaybackEngineRecord.cpp)
    bool TrackMatches(int row, uint8_t channel) const;
    void InsertRecorded(size_t index, std::unique_ptr<CMidiEvent> event);
    void CloseHeldNotesAt(uint32_t endTick, size_t fromIndex);
    void SetEventPosition(CMidiEvent& event, uint32_t tick) const;
    void StopRecordingAtLimit();

    // Position helpers (PlaybackEngineTransport.cpp)
    void SetPositionFromTick(uint32_t tick);
    void SetMarker(Marker& marker, uint32_t tick, int64_t index);
    void AfterMarkerChange();
    void DrawPositionCursor();
    bool IsPlaying() const;
    uint32_t TicksPerBeatOfMeasure(uint32_t measure);

    IPlaybackDocument& m_doc;
    PlaybackUi& m_ui;
    PlaybackHost& m_host;
    mutable std::recursive_mutex m_mutex;
    std::unique_ptr<MidiSession> m_session;

    // Stream state
    State m_state = State::Playing;
    int m_freeBuffers = kBufferCount;
    std::array<MidiHeader, kBufferCount> m_headers{};
    std::array<BufferRecord, kBufferCount> m_records{};
    uint8_t* m_buffers[kBufferCount] = {};
    std::unique_ptr<uint8_t[]> m_ownBuffers; // the ones past the application's ten
    uint64_t m_runId = 0;
    bool m_shuttingDown = false;

    // Ports: the opened streams; the stream each port plays through (port
    // 0's when the port is not usable); running ticks
    std::array<std::unique_ptr<OutStream>, kPorts> m_streams;
    std::array<OutStream*, kPorts> m_handles{};
    std::array<uint32_t, kPorts> m_runningTick{};
    std::array<uint8_t, kTracks> m_trackPort{};
    std::array<uint8_t, kPorts> m_portInUse{};
    std::array<uint8_t, kPorts> m_portSynced{};
    int m_nextPort = 0;

    // Track records as the run sees them
    std::array<PlaybackTrack, kTracks - 1> m_tracks{};
    bool m_recordFlag = false;
    bool m_loopFlag = false;
    uint16_t m_thruMask = 0xFFFF;

    // The buffer being filled
    Fill m_fill;

    // Where playback stands
    int64_t m_curIndex = 0;  // next event to fill
    int64_t m_lastIndex = -1; // last event to play
    uint32_t m_startTick = 0;
    uint32_t m_fillTick = 0;
    uint32_t m_playedTick = 0;
    int64_t m_playedIndex = 0;
    uint32_t m_displayedTick = 0;
    uint32_t m_followTick = UINT32_MAX;
    uint32_t m_maxNopStep = 1;

    // Flags of the run
    bool m_mutedExists = false;
    bool m_soloedExists = false;
    bool m_portsInSync = true;
    bool m_loopEnd = false;
    bool m_hangingNotes = false;
    bool m_endMarkerQueued = false;

    // Metronome, pre-count and loop
    MetronomeSettings m_metronome;
    bool m_metronomeOn = false;
    int m_clicksTotal = 0;
    int m_clicksRemaining = -1;
    uint32_t m_lastClickTick = 1;
    bool m_clickSounding = false;
    uint8_t m_clickKey = 0;
    bool m_precountActive = false;
    uint32_t m_precountTicks = 0;   // the length of the count-in
    int m_precountWaitPort = -1;     // the next port to wait through the count-in, -1 when done

    // Chased track state (tracks 0..64) and the first values of the sequence
    std::array<Chase, kTracks> m_chase{};
    std::array<uint8_t, kTracks - 1> m_startVolume{};
    std::array<uint8_t, kTracks - 1> m_startPan{};

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
    uint32_t m_cursorTick = 0;
    std::array<int64_t, kTracks> m_firstShown{};
    std::array<int64_t, kTracks> m_lastEvent{};

    // Input and recording
    std::array<std::unique_ptr<InPort>, kPorts> m_inputs;
    bool m_midiInOpen = false;
    int m_heldNotes = 0;
    int64_t m_firstInserted = INT64_MAX;
    int64_t m_insertionHint = 0;
    bool m_sequenceChanged = false;
    // Notes echoed through and not yet ended: per port, channel and key
    std::array<std::bitset<16 * 128>, kPorts> m_thruNotes{};

    // The first port that OpenMidiOutPorts could not open (-1: none), the
    // device's result and the cause it names (UI thread)
    struct OpenFailure {
        int port = -1;
        MidiResult result = MidiResult::NoError;
        std::string cause;
    };
    OpenFailure m_openFailure;

    // Posted updates
    Pending m_pending;
    bool m_uiRequested = false;
};

} // namespace zib
