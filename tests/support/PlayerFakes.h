#pragma once

// Stand-ins for what the MIDI player works with: a document over a parsed
// sequence with 64 track records and an undo log, a view that records what
// it is shown and posted, and a host with fake MIDI devices on a virtual
// clock. Header-only, so only the tests and benchmarks that include it link
// the player.

#include "devices/core/CMidiBarPlayer.h"
#include "devices/core/CPlayerSlot.h"
#include "devices/core/CStreamBuffers.h"
#include "devices/core/IPlaybackDocument.h"
#include "devices/core/IPlayerHost.h"
#include "devices/core/IPlayerView.h"
#include "midi/CMidiParserEx.h"
#include "devices/core/CFakeMidiBackend.h"
#include "devices/core/CMidiSystem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zib::test {

// A MIDI document: the parsed sequence and its 64 track records.
class FakePlaybackDocument : public IPlaybackDocument {
public:
    // One recorded undo action
    struct UndoEntry {
        int target = 0;
        int operation = 0;
        uint32_t groupStart = 0;
        int32_t index = -1;
        int32_t secondIndex = -1;
        uint32_t time = 0;
        uint8_t status = 0;
        uint8_t track = 0;
        std::vector<uint8_t> data;
    };

    explicit FakePlaybackDocument(const std::vector<uint8_t>& image)
    {
        parseResult = sequence.ParseImage(image.data(), uint32_t(image.size()));
        for (int row = 0; row < 64; ++row) {
            const CMidiParserEx::Track* t = sequence.GetTrack(row + 1);
            PlaybackTrack& r = tracks[size_t(row)];
            r.totalEvents = t->totalCount;
            r.hasEvents = r.play = t->totalCount > 0 ? 1 : 0;
            r.channel = t->channel;
            r.port = t->port;
            r.volume = t->volume;
            r.pan = t->pan;
            r.bankMsb = t->bankMsbSeen ? t->bankMsb : 255;
            r.bankLsb = t->bankLsb;
            r.program = t->programSeen ? t->program : 255;
        }
    }

    CMidiParserEx& Sequence() override { return sequence; }
    int TrackRecordCount() const override { return 64; }
    PlaybackTrack Track(int row) const override { return tracks[size_t(row)]; }
    void SetTrackCounts(int row, uint32_t, uint32_t total) override { tracks[size_t(row)].totalEvents = total; }
    void SetLiveMix(int row, uint8_t volume, uint8_t pan) override
    {
        liveVolume[size_t(row)] = volume;
        livePan[size_t(row)] = pan;
    }
    uint32_t LoopFlag() const override { return loop; }
    void SetLoopFlag(uint32_t on) override { loop = on; }
    uint32_t RecordFlag() const override { return record; }
    void SetRecordFlag(uint32_t on) override { record = on; }
    uint16_t RecordEchoChannels() const override { return echo; }
    void SetModified() override { ++modified; }
    int RecordUndoAction(int target, const CMidiEvent& e, int operation, uint32_t groupStart, int32_t index,
                         int32_t secondIndex) override
    {
        UndoEntry u{target, operation, groupStart, index, secondIndex, e.time, e.status, e.track,
                    std::vector<uint8_t>(e.data.begin(), e.data.begin() + std::min<size_t>(e.length, e.data.size()))};
        undo.push_back(u);
        return int(undo.size()) - 1;
    }
    void ClearUndo() override { undo.clear(); }

    // Undoes the newest group of insert actions: removes those events, the
    // newest first (what the document's undo manager does with a take)
    int UndoLastInsertGroup()
    {
        int removed = 0;
        while (!undo.empty()) {
            const UndoEntry u = undo.back();
            undo.pop_back();
            if (u.operation == 1 && sequence.RemoveEvent(size_t(u.index)) >= 0) ++removed;
            if (u.groupStart) break;
        }
        sequence.Renumber(0);
        return removed;
    }

    CMidiParserEx sequence;
    int parseResult = 0;
    std::array<PlaybackTrack, 64> tracks{};
    std::array<uint8_t, 64> liveVolume{};
    std::array<uint8_t, 64> livePan{};
    uint32_t loop = 0;
    uint32_t record = 0;
    uint16_t echo = 0xFFFF;
    int modified = 0;
    std::vector<UndoEntry> undo;
};

// A bar view that records what the player shows and posts.
class FakePlayerView : public IPlayerView {
public:
    struct Message {
        int number;
        std::string caption;
        PlayerIcon icon;
    };

    void ShowMessage(int message, const char* caption, PlayerIcon icon) override
    {
        messages.push_back({message, caption, icon});
    }
    void ShowPlaybackError(const std::string& text) override { errors.push_back(text); }
    void PostPlaybackEnd(int code) override { posted.push_back(code); }
    void SetPositionText(const std::string& text) override { positionTexts.push_back(text); }
    void SetFromText(const std::string& text) override { fromText = text; }
    void SetThruText(const std::string& text) override { thruText = text; }
    void SetTempoText(const std::string& text) override { tempoTexts.push_back(text); }
    void DrawPositionCursor() override { ++cursorDraws; }
    void EditorsFollowPlayedTick(uint32_t tick) override { followedTicks.push_back(tick); }
    void SyncEditorsToTick(uint32_t) override {}
    void EditorsToEventIndex(int64_t index) override { editorIndexes.push_back(index); }
    void RefreshTempoEditor() override { ++tempoEditorRefreshes; }
    void RefreshEventEditor() override {}
    void SetLoopButton(bool on) override { loopButton = on; }
    void PlaybackFinished(bool sequenceChanged) override
    {
        ++finished;
        lastFinishChanged = sequenceChanged;
    }

    std::vector<Message> messages;
    std::vector<std::string> errors;
    std::vector<int> posted;
    std::vector<std::string> positionTexts;
    std::string fromText;
    std::string thruText;
    std::vector<std::string> tempoTexts;
    int cursorDraws = 0;
    std::vector<uint32_t> followedTicks;
    std::vector<int64_t> editorIndexes;
    int tempoEditorRefreshes = 0;
    bool loopButton = false;
    int finished = 0;
    bool lastFinishChanged = false;
};

// The application side: fake devices ("Out A", "Out B", "Out C"; "In A",
// "In B"), the player slot, the buffers and the port tables (port p plays on
// device p; only port 0 and input 0 are enabled at first).
class FakePlayerHost : public IPlayerHost {
public:
    FakePlayerHost()
    {
        auto backend = std::make_unique<CFakeMidiBackend>(std::vector<std::string>{"Out A", "Out B", "Out C"},
                                                          std::vector<std::string>{"In A", "In B"});
        devices = backend.get();
        midi.AddBackend(std::move(backend));
        for (int p = 0; p < 3; ++p) outPorts[size_t(p)] = {uint8_t(p), uint8_t(p == 0 ? 1 : 0)};
        for (int i = 0; i < 2; ++i) inPorts[size_t(i)] = {uint8_t(i), uint8_t(i == 0 ? 1 : 0)};
    }

    CMidiSystem& Midi() override { return midi; }
    CPlayerSlot& Players() override { return slot; }
    CStreamBuffers& StreamBuffers() override { return buffers; }
    MidiPortEntry OutPort(int port) const override { return outPorts[size_t(port)]; }
    MidiPortEntry InPort(int device) const override { return inPorts[size_t(device)]; }

    CMidiSystem midi;
    CFakeMidiBackend* devices = nullptr;
    CPlayerSlot slot;
    CStreamBuffers buffers;
    std::array<MidiPortEntry, 128> outPorts{};
    std::array<MidiPortEntry, 128> inPorts{};
};

// Lets the virtual clock run until the player posts the end of playback (or
// `limitUs` passes), then hands the posted end to FinishMidiPlayback as the
// window would. Returns whether playback finished.
inline bool RunToEnd(CMidiBarPlayer& player, FakePlayerHost& host, FakePlayerView& view,
                     int64_t limitUs = 600'000'000LL)
{
    const int64_t end = host.devices->NowUs() + limitUs;
    while (view.posted.empty() && host.devices->NowUs() < end) {
        if (host.devices->RunUntilIdle(std::min<int64_t>(1'000'000, end - host.devices->NowUs())) &&
            view.posted.empty())
            host.devices->AdvanceUs(1000);
    }
    if (view.posted.empty()) return false;
    const int code = view.posted.front();
    view.posted.clear();
    player.FinishMidiPlayback(code);
    return true;
}

} // namespace zib::test
