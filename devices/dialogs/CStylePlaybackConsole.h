#pragma once

#include "ui/core/IZibPlayer.h"
#include "ui/dialogs/CZibDialog.h"
#include "devices/core/CPianoListener.h"
#include "devices/core/KeyboardOctave.h"
#include "devices/core/StylePlayer.h"

#include <array>
#include <memory>
#include <string>
#include <wx/timer.h>

class wxButton;
class wxPanel;
class wxSlider;
class wxSpinEvent;
class wxStaticText;
class wxTextCtrl;

namespace zib {

class CConsoleMidi;
class CPianoKeyFilter;
class CPianoWnd;
class CStyleMidiReader;

// "Style Playback Simulator" (239): plays the patterns of one style the way
// an arranger keyboard does. Elements are chosen with buttons, chords are
// played on a MIDI keyboard, on the on-screen piano or on the computer keys
// (Z S X D C V G B H N J M, the arrows move the octave), and every note of
// the running pattern follows the chord. The window shows what its
// StylePlayer says and feeds it the user's actions and the MIDI reports,
// which all arrive on the user-interface thread. It is a player of the
// program's Play/Stop toggle (kind 2).
class CStylePlaybackConsole : public CZibDialog, public IZibPlayer, private CPianoListener {
public:
    // Controls
    static constexpr int kIdStartStop = 1808;
    static constexpr int kIdPause = 1810;
    static constexpr int kIdPosition = 1812;
    static constexpr int kIdFirstElement = 1057; // 1057-1066
    static constexpr int kIdFirstLamp = 1839;    // 1839-1848
    static constexpr int kIdTempo = 1082;
    static constexpr int kIdTempoSpin = 1419;
    static constexpr int kIdChord = 1816;
    static constexpr int kIdFirstTrackBar = 1890; // 1890-1897
    static constexpr int kIdFirstMute = 1874;     // 1874-1881
    static constexpr int kIdFirstSolo = 1882;     // 1882-1889
    static constexpr int kIdOctave = 1144;
    static constexpr int kIdOctaveSpin = 1420;
    static constexpr int kIdSelectedTrack = 1849;
    static constexpr int kIdPiano = 1928;
    static constexpr int kIdUpperKeys = 1929;
    static constexpr int kIdLowerKeys = 1930;

    // `style` is filled by the caller and outlives the console; the devices
    // are the MIDI OUT and IN devices of the settings.
    CStylePlaybackConsole(wxWindow* parent, const CStyleMidiReader& style, const std::string& styleName,
                          StylePlayer::ProgramNameFunction programName, int outDevice, int inDevice);
    ~CStylePlaybackConsole() override;

    // IZibPlayer: what the Play/Stop toggle calls (the Start/Stop button goes
    // through the toggle too)
    void StartPlayer() override;
    void StopPlayer() override;

    // The player, for what the window shows
    const StylePlayer& Player() const { return *player_; }

private:
    void BuildControls(const std::string& styleName);
    void ShowAll();
    void ShowSelectedTrack();
    void Report(const StylePlayer::Result& result);
    void PlayerFieldsChanged();
    void ArmChordTimer(bool arm);

    // What the user does
    void OnStartStop(wxCommandEvent& event);
    void OnElement(wxCommandEvent& event);
    void OnTempoSpin(wxSpinEvent& event);
    void OnOctaveSpin(wxSpinEvent& event);
    void OnTrackBar(wxScrollEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnChordTimer(wxTimerEvent& event);
    void NoteDown(int note) override;
    void NoteUp(int note) override;

    // What the MIDI layer reports
    void OnBufferDone();
    void OnMidiInput(uint32_t message);

    const CStyleMidiReader& style_;
    StylePlayer::ProgramNameFunction programName_;
    std::unique_ptr<CConsoleMidi> midi_;
    std::unique_ptr<StylePlayer> player_;
    std::unique_ptr<KeyboardOctave> octave_;
    std::unique_ptr<CPianoKeyFilter> keyFilter_;
    wxTimer chordTimer_;

    wxButton* startStop_ = nullptr;
    wxStaticText* position_ = nullptr;
    std::array<wxButton*, 10> elements_{};
    std::array<wxPanel*, 10> lamps_{};
    wxTextCtrl* tempo_ = nullptr;
    wxStaticText* chord_ = nullptr;
    std::array<wxSlider*, 8> trackBars_{};
    wxTextCtrl* octaveShift_ = nullptr;
    wxTextCtrl* selectedTrack_ = nullptr;
    CPianoWnd* piano_ = nullptr;
};

// The style document's playback command: runs the console modally on a
// filled style reader, with the devices of the settings. `programName` names
// a track's program in an element (Wq styles may pass none: the banked
// program names of their model are used).
int RunStylePlaybackConsole(wxWindow* parent, const CStyleMidiReader& style, const std::string& styleName,
                            StylePlayer::ProgramNameFunction programName = {});

} // namespace zib
