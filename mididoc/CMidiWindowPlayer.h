#pragma once

#include "devices/WxPlaybackUi.h"
#include "mididoc/core/MidiDocPlayback.h"
#include "mididoc/core/MidiTransport.h"
#include "mididoc/core/SequenceMeasureContext.h"

#include <vector>

class wxWindow;

namespace zib {

class CZibMidBarView;
class CZibMidWxDoc;
class PlaybackEngine;

// The player of a MIDI window: the bar view beside the track list, whose
// engine plays and records the document, as the frames and editors drive it.
// It also takes the engine's reports that belong to the MIDI window rather
// than to the grid: the position, marker and tempo texts go to the fields of
// the MIDI bars while a window of this document is the active one, and the
// played position moves the document's open editors. Every report arrives on
// the UI thread (the engine posts what its delivery thread finds).
class CMidiWindowPlayer : public MidiTransport, private WxPlaybackUi {
public:
    CMidiWindowPlayer(wxWindow* parent, CZibMidWxDoc& doc);
    ~CMidiWindowPlayer() override;
    CMidiWindowPlayer(const CMidiWindowPlayer&) = delete;
    CMidiWindowPlayer& operator=(const CMidiWindowPlayer&) = delete;

    CZibMidBarView& View() { return *m_view; }
    PlaybackEngine& Engine();

    // MidiTransport
    bool Populate() override;
    void Rebuild() override;
    void PlayToggle() override;
    void Stop() override;
    void Record() override;
    void ToggleLoop() override;
    void Rewind() override;
    void GoToEnd() override;
    void NextBar() override;
    void PrevBar() override;
    void GoToFrom() override;
    void GoToThru() override;
    void SetFromAtPosition() override;
    void SetThruAtPosition(bool exact) override;
    void GoToEvent(int64_t index) override;
    MetronomeSettings& Metronome() override;
    void ShowTexts() override;
    void TempoTrackChanged() override;
    void TrackSwitchesChanged() override;
    void SendLiveValue(int row, bool volume, uint8_t value) override;
    void TracksChanged() override;
    void SelectRows(const std::vector<int>& rows, int hitRow) override;
    void ScrollRowsTo(int topRow) override;
    void PassKey(int keyCode) override;

    // MidiPositionTarget
    const MeasureContext& Measures() const override { return m_measures; }
    uint32_t CurrentTick() const override;
    uint32_t FromTick() const override;
    uint32_t ThruTick() const override;
    void GoToTick(uint32_t tick) override;
    void SetFromTick(uint32_t tick) override;
    void SetThruTick(uint32_t tick) override;
    void ChangeTempo(int bpm) override;
    void TakeFocus() override;

private:
    // The window's side of the engine's reports
    void RequestDelivery() override {}
    void SetPositionText(const std::string& text) override;
    void SetFromText(const std::string& text) override;
    void SetThruText(const std::string& text) override;
    void SetTempoText(const std::string& text) override;
    void EditorsFollowTick(uint32_t tick) override;
    void SyncEditorsToTick(uint32_t tick) override;
    void EditorsToEventIndex(int64_t index) override;
    void RefreshTempoEditor() override;
    void RefreshEventEditor() override;
    void PlaybackFinished(bool sequenceChanged) override;

    // Whether the active child window is one of this document's MIDI windows
    bool DocumentActive() const;

    CZibMidWxDoc& m_doc;
    MidiDocPlayback m_playback;
    SequenceMeasureContext m_measures;
    CZibMidBarView* m_view = nullptr; // a child window of the splitter
};

} // namespace zib
