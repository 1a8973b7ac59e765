#pragma once

// Stand-ins for what the playback engine works with: a document over a
// parsed sequence with 64 track records and an undo log, a window that
// records what it is shown, and a host with fake MIDI devices on a virtual
// clock. Header-only, so only the tests and benchmarks that include it link
// the devices library.

#include "ui/core/StreamBuffers.h"
#include "ui/core/PlayerSlot.h"
#include "devices/core/FakeMidiBackend.h"
#include "devices/core/IPlaybackDocument.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/PlaybackEngine.h"
#include "devices/core/PlaybackHost.h"
#include "devices/core/PlaybackUi.h"
#include "midi/CMidiParserEx.h"
#include "tests/support/StreamEvents.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zib::test {

// A MIDI document: the parsed sequence and its 64 track records (every
// track sounding, channel, port and first values from the sequence).
class FakePlaybackDocument : public IPlaybackDocument {
public:
    struct UndoEntry {
        PlaybackUndoTarget target;
        PlaybackUndoOperation operation;
        bool groupStart;
        int32_t index;
        uint32_t time;
        uint8_t status;
        uint8_t track;
        std::vector<uint8_t> data;
    };

    explicit FakePlaybackDocument(const std::vector<uint8_t>& image)
    {
        parseResult = sequence.ParseImage(image.data(), uint32_t(image.size()));
        for (int row = 0; row < 64; ++row) {
            const CMidiParserEx::Track* t = sequence.GetTrack(row + 1);
            PlaybackTrack& r = tracks[size_t(row)];
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
    PlaybackTrack Track(int row) const override { return tracks[size_t(row)]; }
    bool LoopFlag() const override { return loop; }
    void SetLoopFlag(bool on) override { loop = on; }
    bool RecordFlag() const override { return record; }
    void SetRecordFlag(bool on) override { record = on; }
    uint16_t ThruMask() const override { return thru; }
    void SetModified() override { ++modified; }
    bool RecordUndo(PlaybackUndoTarget target, const CMidiEvent& e, PlaybackUndoOperation operation, bool groupStart,
                    int32_t index, int32_t) override
    {
        if (failUndoAfter >= 0 && int(undo.size()) >= failUndoAfter) return false;
        undo.push_back({target, operation, groupStart, index, e.time, e.status, e.track,
                        std::vector<uint8_t>(e.data.begin(), e.data.begin() + std::min<size_t>(e.length, e.data.size()))});
        return true;
    }
    void ClearUndo() override { undo.clear(); }
    void RefreshTrackCounts() override { ++countRefreshes; }
    void ApplyMixChanges(std::span<const MixChange> changes) override
    {
        mixChanges.assign(changes.begin(), changes.end());
    }

    // Undoes the newest group of inserts, as the undo manager does with a take
    int UndoLastGroup()
    {
        int removed = 0;
        while (!undo.empty()) {
            const UndoEntry u = undo.back();
            undo.pop_back();
            if (u.operation == PlaybackUndoOperation::Insert && sequence.RemoveEvent(size_t(u.index)) >= 0) ++removed;
            if (u.groupStart) break;
        }
        sequence.Renumber(0);
        return removed;
    }

    CMidiParserEx sequence;
    int parseResult = 0;
    std::array<PlaybackTrack, 64> tracks{};
    bool loop = false;
    bool record = false;
    uint16_t thru = 0xFFFF;
    int modified = 0;
    int countRefreshes = 0;
    int failUndoAfter = -1;
    std::vector<UndoEntry> undo;
    std::vector<MixChange> mixChanges;
};

// A bar view that records what the engine shows.
class FakePlaybackUi : public PlaybackUi {
public:
    // A box: a message of the table by its number, or a text of its own (number -1)
    struct Message {
        int number;
        std::string caption;
        PlaybackIcon icon;
        std::string text;
    };

    void RequestDelivery() override { ++requests; }
    void ShowMessage(int message, const char* caption, PlaybackIcon icon) override
    {
        messages.push_back({message, caption, icon, {}});
    }
    void ShowFailure(const std::string& text, const char* caption, PlaybackIcon icon) override
    {
        messages.push_back({-1, caption, icon, text});
    }
    void ShowPlaybackError(const std::string& text) override { errors.push_back(text); }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void SetPositionText(const std::string& text) override { positionTexts.push_back(text); }
    void SetFromText(const std::string& text) override { fromText = text; }
    void SetThruText(const std::string& text) override { thruText = text; }
    void SetTempoText(const std::string& text) override { tempoTexts.push_back(text); }
    void DrawCursor() override { ++cursorDraws; }
    void SetLoopButton(bool on) override { loopButton = on; }
    void EditorsFollowTick(uint32_t tick) override { followedTicks.push_back(tick); }
    void SyncEditorsToTick(uint32_t tick) override { syncedTicks.push_back(tick); }
    void EditorsToEventIndex(int64_t index) override { editorIndexes.push_back(index); }
    void RefreshTempoEditor() override { ++tempoEditorRefreshes; }
    void RefreshEventEditor() override { ++eventEditorRefreshes; }
    void PlaybackFinished(bool sequenceChanged) override
    {
        ++finished;
        lastFinishChanged = sequenceChanged;
    }

    int requests = 0;
    std::vector<Message> messages;
    std::vector<std::string> errors;
    std::vector<std::string> statuses;
    std::vector<std::string> positionTexts;
    std::string fromText, thruText;
    std::vector<std::string> tempoTexts;
    int cursorDraws = 0;
    bool loopButton = false;
    std::vector<uint32_t> followedTicks;
    std::vector<uint32_t> syncedTicks;
    std::vector<int64_t> editorIndexes;
    int tempoEditorRefreshes = 0;
    int eventEditorRefreshes = 0;
    int finished = 0;
    bool lastFinishChanged = false;
};

// What every host of the tests and benchmarks has: the player fields, the
// stream buffers and the port tables (English texts). The derived host
// brings its devices.
class PlaybackHostBase : public PlaybackHost {
public:
    PlayerSlot& Player() override { return slot; }
    StreamBuffers* AllocStreamBuffers() override
    {
        if (failAlloc) return nullptr;
        return buffers.Alloc() ? &buffers : nullptr;
    }
    UserMidiPortMap::Entry OutPort(int port) const override { return outPorts[port]; }
    UserMidiPortMap::Entry InPort(int device) const override { return inPorts[device]; }
    int Language() const override { return 0; }

    std::atomic<int> ownPlaying{0};
    std::atomic<int>& playing;
    std::atomic<IZibPlayer*> active{nullptr};
    std::atomic<int> kind{0};
    PlayerSlot slot{playing, active, kind};
    StreamBuffers buffers;
    bool failAlloc = false;
    UserMidiPortMap outPorts;
    UserMidiPortMap inPorts;

protected:
    PlaybackHostBase() : playing(ownPlaying) {}
    // With the playing flag of a document that watches it
    explicit PlaybackHostBase(std::atomic<int>& playingFlag) : playing(playingFlag) {}
};

// The application side: fake devices on a virtual clock (OUT 0 the
// synthesizer's stand-in, 1 "Test:A", 2 "Test:B"; IN 0 "Test:In"); port 0
// plays on "Test:A".
class FakePlaybackHost : public PlaybackHostBase {
public:
    FakePlaybackHost() { SetUp(); }
    explicit FakePlaybackHost(std::atomic<int>& playingFlag) : PlaybackHostBase(playingFlag) { SetUp(); }

    MidiDeviceList& Devices() override { return devices; }

    std::shared_ptr<VirtualMidiClock> clock = std::make_shared<VirtualMidiClock>();
    std::shared_ptr<FakeMidiBackend> fake = std::make_shared<FakeMidiBackend>(
        clock, std::vector<MidiPortName>{{"", MidiDeviceList::kSynthName}, {"Test", "A"}, {"Test", "B"}},
        std::vector<MidiPortName>{{"Test", "In"}});
    MidiDeviceList devices{clock};

private:
    void SetUp()
    {
        devices.AddBackend(fake);
        devices.Refresh();
        outPorts[0] = {1, 1};
        inPorts[0] = {0, 1};
    }
};

// An engine over a document with its window and host, and the UI loop that
// hands posted updates over as a window would. `playing` is the player
// field the host sets.
struct EngineRig {
    EngineRig(IPlaybackDocument& document, std::atomic<int>& playing)
        : host(playing), owned(std::make_unique<PlaybackEngine>(document, ui, host))
    {
    }

    // Runs the virtual clock in steps of `stepUs`, delivering posted updates
    // after each, until a run has finished or `limitUs` has passed
    bool RunUntilFinished(int64_t limitUs = 60'000'000, int64_t stepUs = 1000)
    {
        const int before = ui.finished;
        for (int64_t t = 0; t <= limitUs; t += stepUs) {
            Deliver();
            if (ui.finished > before) return true;
            host.clock->Advance(stepUs);
        }
        Deliver();
        return ui.finished > before;
    }
    void Advance(int64_t us)
    {
        host.clock->Advance(us);
        Deliver();
    }
    void Deliver()
    {
        while (owned && ui.requests > delivered) {
            delivered = ui.requests;
            engine.DeliverUi();
        }
    }
    // The buffers queued so far: "<device> <buffer>:" and one line per event
    std::string Dump() const
    {
        std::string text;
        for (const auto& b : host.fake->QueuedBuffers())
            text += b.device + " " + std::to_string(b.user) + ":\n" +
                    DescribeStreamEvents(b.events.data(), uint32_t(b.events.size()));
        return text;
    }
    // "<device>: hex bytes" of every message heard
    std::vector<std::string> Heard() const
    {
        std::vector<std::string> lines;
        for (const auto& s : host.fake->SentMessages()) {
            std::string line = s.device + ":";
            for (uint8_t b : s.bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, " %02X", b);
                line += hex;
            }
            lines.push_back(line);
        }
        return lines;
    }

    FakePlaybackUi ui;
    FakePlaybackHost host;
    std::unique_ptr<PlaybackEngine> owned;
    PlaybackEngine& engine = *owned; // until DestroyEngine
    int delivered = 0;

    // The bar view goes: the engine with it, in whatever state it is
    void DestroyEngine() { owned.reset(); }
};

// The document of a PlaybackRig, made before its engine.
struct FakeDocumentPart {
    explicit FakeDocumentPart(const std::vector<uint8_t>& image) : doc(image) {}
    FakePlaybackDocument doc;
    std::atomic<int> playing{0};
};

// An engine over a fake document built from a file image.
struct PlaybackRig : FakeDocumentPart, EngineRig {
    explicit PlaybackRig(const std::vector<uint8_t>& image) : FakeDocumentPart(image), EngineRig(doc, playing) {}
};

} // namespace zib::test
