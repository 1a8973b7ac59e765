#include "devices/dialogs/CStylePlaybackConsole.h"

#include "ui/ShellServices.h"
#include "ui/core/PlayerSlot.h"
#include "ui/core/ZibSettings.h"
#include "ui/ZibMessageBox.h"
#include "devices/CPianoKeyFilter.h"
#include "devices/CPianoWnd.h"
#include "devices/WxMidiDispatcher.h"
#include "devices/core/CConsoleMidi.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/ZibGlobalLock.h"
#include "devices/core/MidiResult.h"
#include "midi/CStyleMidiReader.h"
#include "midi/ProgramNames.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

constexpr int kPianoOctaves = 5;
constexpr int kPianoUnit = 4;
constexpr int kPianoFirstNote = 36;
constexpr int kChordTimerMs = 40;
constexpr int kMsgMemoryAllocationFailed = 2;
constexpr int kMsgCannotPrepareMidiEvent = 84;
constexpr const char* kPlaybackCaption = "OnUtilPlaymidi";
constexpr const char* kTrackLabels[8] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"};

// Where the piano and its key labels lie in their panel.
constexpr int kUpperLabelX = 24;
constexpr int kLowerLabelX = 22;
constexpr int kPianoTop = 18;

// A program's name for a Wq style: the banked name of its model.
std::string wqProgramName(const CStyleMidiReader& style, int element, int track)
{
    if (element < 0 || size_t(element) >= CStyleMidiReader::kElements || track < 0 ||
        size_t(track) >= CStyleMidiReader::kStyleTracks)
        return {};
    const auto& program = style.elements[size_t(element)].tracks[size_t(track)];
    if (program.programNumber == 0xFFFF) return {};
    return GetBankedProgramName(int(style.modelCode), program.programNumber);
}

} // namespace

CStylePlaybackConsole::CStylePlaybackConsole(wxWindow* parent, const CStyleMidiReader& style,
                                             const std::string& styleName,
                                             StylePlayer::ProgramNameFunction programName, int outDevice,
                                             int inDevice)
    : CZibDialog(parent, "Style Playback Simulator"), style_(style), programName_(std::move(programName))
{
    midi_ = std::make_unique<CConsoleMidi>(
        MidiDeviceList::Default(), WxMidiDispatcher::Get(), outDevice, inDevice, [this] { OnBufferDone(); },
        [this](uint32_t m) { OnMidiInput(m); });
    player_ = std::make_unique<StylePlayer>(style_, *midi_);
    player_->Open();
    BuildControls(styleName);
    chordTimer_.SetOwner(this);
    Bind(wxEVT_TIMER, &CStylePlaybackConsole::OnChordTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &CStylePlaybackConsole::OnClose, this);
    Bind(wxEVT_BUTTON, &CStylePlaybackConsole::OnCancel, this, wxID_CANCEL);

    // MIDI input that cannot be opened leaves the console without it, silently.
    midi_->OpenInput();
    if (midi_->UsesSynthInstead())
        if (ShellServices* shell = ShellServices::Get())
            shell->SetStatusText(T("MIDI OUT device not found: playing on Zib built-in synth (General MIDI)"));
    ShowAll();
}

CStylePlaybackConsole::~CStylePlaybackConsole()
{
    keyFilter_.reset();
    chordTimer_.Stop();
    player_->Stop();
    PlayerFieldsChanged();
    midi_->CloseInput();
}

void CStylePlaybackConsole::BuildControls(const std::string& styleName)
{
    SetTitle(T("Style Playback Simulator") + " - " + wxFromCp1252(styleName));

    // Transport, position and tempo
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    startStop_ = new wxButton(this, kIdStartStop, T(Shell().Player().IsPlaying() ? "Stop" : "Start"));
    top->Add(startStop_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    auto* pause = new wxButton(this, kIdPause, T("Pause"));
    pause->Disable();
    top->Add(pause, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    auto* positionBox = new wxStaticBoxSizer(wxHORIZONTAL, this, "    M:B:T  ");
    position_ = new wxStaticText(positionBox->GetStaticBox(), kIdPosition, wxString(), wxDefaultPosition,
                                 wxSize(90, -1));
    positionBox->Add(position_, 0, wxALL, 2);
    top->Add(positionBox, 0, wxRIGHT, 12);
    auto* tempoBox = new wxStaticBoxSizer(wxHORIZONTAL, this, T("Tempo"));
    tempo_ = new wxTextCtrl(tempoBox->GetStaticBox(), kIdTempo, wxString(), wxDefaultPosition, wxSize(50, -1),
                            wxTE_READONLY | wxTE_RIGHT);
    auto* tempoSpin = new wxSpinButton(tempoBox->GetStaticBox(), kIdTempoSpin, wxDefaultPosition,
                                       wxDefaultSize, wxSP_VERTICAL);
    tempoSpin->SetRange(-1000, 1000);
    tempoBox->Add(tempo_, 0, wxALIGN_CENTER_VERTICAL);
    tempoBox->Add(tempoSpin, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(tempoBox);

    // The style elements, each with its lamp above
    auto* elementRow = new wxBoxSizer(wxHORIZONTAL);
    for (int e = 0; e < 10; ++e) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        lamps_[size_t(e)] =
            new wxPanel(this, kIdFirstLamp + e, wxDefaultPosition, wxSize(30, 6), wxBORDER_SIMPLE);
        elements_[size_t(e)] = new wxButton(this, kIdFirstElement + e, player_->ElementLabel(e),
                                            wxDefaultPosition, wxSize(62, -1));
        elements_[size_t(e)]->Enable(player_->HasElement(e));
        column->Add(lamps_[size_t(e)], 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 2);
        column->Add(elements_[size_t(e)]);
        elementRow->Add(column, 0, wxRIGHT, 2);
    }

    // Chord, selected track and its octave
    auto* middle = new wxBoxSizer(wxHORIZONTAL);
    chord_ = new wxStaticText(this, kIdChord, wxString(), wxDefaultPosition, wxSize(200, -1));
    middle->Add(chord_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    selectedTrack_ =
        new wxTextCtrl(this, kIdSelectedTrack, wxString(), wxDefaultPosition, wxSize(240, -1), wxTE_READONLY);
    middle->Add(selectedTrack_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    auto* octaveBox = new wxStaticBoxSizer(wxHORIZONTAL, this, T("  Octave"));
    octaveShift_ = new wxTextCtrl(octaveBox->GetStaticBox(), kIdOctave, wxString(), wxDefaultPosition,
                                  wxSize(40, -1), wxTE_READONLY | wxTE_RIGHT);
    auto* octaveSpin = new wxSpinButton(octaveBox->GetStaticBox(), kIdOctaveSpin, wxDefaultPosition,
                                        wxDefaultSize, wxSP_VERTICAL);
    octaveSpin->SetRange(-1000, 1000);
    octaveBox->Add(octaveShift_, 0, wxALIGN_CENTER_VERTICAL);
    octaveBox->Add(octaveSpin, 0, wxALIGN_CENTER_VERTICAL);
    middle->Add(octaveBox);

    // Track volumes with the (inert) mute and solo marks
    auto* tracks = new wxBoxSizer(wxHORIZONTAL);
    for (int t = 0; t < 8; ++t) {
        auto* column = new wxBoxSizer(wxVERTICAL);
        auto* marks = new wxBoxSizer(wxHORIZONTAL);
        auto* mute = new wxStaticText(this, kIdFirstMute + t, "M");
        auto* solo = new wxStaticText(this, kIdFirstSolo + t, "S");
        mute->Disable();
        solo->Disable();
        marks->Add(mute, 0, wxRIGHT, 4);
        marks->Add(solo);
        trackBars_[size_t(t)] = new wxSlider(this, kIdFirstTrackBar + t, 127 - StylePlayer::kStartVolume, 0,
                                             127, wxDefaultPosition, wxSize(-1, 100), wxSL_VERTICAL);
        column->Add(marks, 0, wxALIGN_CENTER_HORIZONTAL);
        column->Add(trackBars_[size_t(t)], 0, wxALIGN_CENTER_HORIZONTAL);
        column->Add(new wxStaticText(this, wxID_ANY, kTrackLabels[t]), 0, wxALIGN_CENTER_HORIZONTAL);
        tracks->Add(column, 0, wxRIGHT, 6);
    }

    // The piano with the computer-key letters above and below it
    auto* keyboard = new wxPanel(this);
    auto* upper =
        new wxStaticText(keyboard, kIdUpperKeys, "S   D          G   H    J", wxPoint(kUpperLabelX, 0));
    piano_ = new CPianoWnd();
    piano_->Create(keyboard, kIdPiano, wxPoint(0, kPianoTop));
    const bool pianoReady = piano_->SetUp(kPianoOctaves, kPianoUnit) && piano_->SetFirstNote(kPianoFirstNote);
    auto* lower = new wxStaticText(keyboard, kIdLowerKeys, "Z    X    C    V   B    N   M",
                                   wxPoint(kLowerLabelX, kPianoTop + piano_->Keyboard().Height() + 2));
    keyboard->SetMinSize(
        wxSize(piano_->Keyboard().Width() + 60, kPianoTop + piano_->Keyboard().Height() + 22));
    CPianoListener& listener = *this;
    piano_->SetListener(&listener);
    octave_ = std::make_unique<KeyboardOctave>(piano_->Keyboard(), listener);
    keyFilter_ = std::make_unique<CPianoKeyFilter>(*this, *piano_, *octave_, ZibGlobalLock());
    keyFilter_->SetLabels(upper, lower);
    keyFilter_->SetBusy([this] { return !player_->KeysPlay(); });
    // What the function keys once chose; nothing reads it.
    auto* functionKeys = new wxStaticText(this, wxID_ANY,
                                          "F1-Maj, F2:Maj6, F3:Maj7, F4:7, F5:min, F6:min6, "
                                          "F7:min7, F8:Sus4, F9:7b5, F10:min7b5, F11:Dim, F12:Aug");
    functionKeys->Hide();

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(top, 0, wxBOTTOM, 8);
    content->Add(elementRow, 0, wxBOTTOM, 8);
    content->Add(middle, 0, wxBOTTOM, 8);
    content->Add(tracks, 0, wxBOTTOM, 8);
    content->Add(keyboard, 0);
    Finish(content);

    Bind(wxEVT_BUTTON, &CStylePlaybackConsole::OnStartStop, this, kIdStartStop);
    Bind(wxEVT_BUTTON, &CStylePlaybackConsole::OnElement, this, kIdFirstElement, kIdFirstElement + 9);
    tempoSpin->Bind(wxEVT_SPIN_UP, &CStylePlaybackConsole::OnTempoSpin, this);
    tempoSpin->Bind(wxEVT_SPIN_DOWN, &CStylePlaybackConsole::OnTempoSpin, this);
    octaveSpin->Bind(wxEVT_SPIN_UP, &CStylePlaybackConsole::OnOctaveSpin, this);
    octaveSpin->Bind(wxEVT_SPIN_DOWN, &CStylePlaybackConsole::OnOctaveSpin, this);
    for (wxSlider* bar : trackBars_)
        bar->Bind(wxEVT_SCROLL_CHANGED, &CStylePlaybackConsole::OnTrackBar, this);

    // A Wq style has six tracks: the last two bars stay down and disabled.
    for (int t = player_->TrackCount(); t < 8; ++t) {
        trackBars_[size_t(t)]->SetValue(127);
        trackBars_[size_t(t)]->Disable();
    }
    if (!pianoReady) ZibMessageBox(kMsgMemoryAllocationFailed, GetTitle(), wxOK | wxICON_EXCLAMATION, this);
}

// --- What the window shows ---

void CStylePlaybackConsole::ShowAll()
{
    startStop_->SetLabel(T(player_->Playing() ? "Stop" : "Start"));
    position_->SetLabel(player_->Playing() ? wxString(player_->PositionText()) : wxString());
    for (int e = 0; e < 10; ++e) {
        const bool lit = player_->LitElement() == e;
        lamps_[size_t(e)]->SetBackgroundColour(lit ? *wxBLACK : *wxWHITE);
        lamps_[size_t(e)]->Refresh();
    }
    tempo_->ChangeValue(wxString::Format("%d", player_->Tempo()));
    chord_->SetLabel(player_->ChordText());
    ShowSelectedTrack();
}

void CStylePlaybackConsole::ShowSelectedTrack()
{
    octaveShift_->ChangeValue(wxString::Format("%d", player_->OctaveShift()));
    const StylePlayer::ProgramNameFunction& names =
        programName_ ? programName_ : StylePlayer::ProgramNameFunction(wqProgramName);
    selectedTrack_->ChangeValue(wxFromCp1252(player_->SelectedTrackText(names)));
}

// Failures of the stream in the words of the device (which the status bar
// keeps) or of the system, a step that could not be built in the program's.
void CStylePlaybackConsole::Report(const StylePlayer::Result& result)
{
    if (result.streamError != 0 && !midi_->OpenFailure().empty()) {
        const wxString cause = T(midi_->OpenFailure());
        if (ShellServices* shell = ShellServices::Get()) shell->SetStatusText(cause);
        ZibTextBox(cause, kPlaybackCaption, wxOK | wxICON_WARNING, this);
    } else if (result.streamError != 0) {
        const std::string_view text = MidiResultText(MidiResult(result.streamError));
        ZibTextBox(text.empty() ? wxString("Strange error number returned!\r\n")
                                : wxFromUtf8(std::string(text)) + "\r\n",
                   kPlaybackCaption, wxOK | wxICON_WARNING, this);
    } else if (result.cannotPrepare) {
        ZibMessageBox(kMsgCannotPrepareMidiEvent, kPlaybackCaption, wxOK | wxICON_WARNING, this);
    }
}

// The program's player fields follow the console: playing, active player and kind.
void CStylePlaybackConsole::PlayerFieldsChanged()
{
    PlayerSlot& slot = Shell().Player();
    if (player_->Playing())
        slot.SetPlaying(this, kStyleConsolePlayer);
    else
        slot.ClearIfActive(this);
}

void CStylePlaybackConsole::ArmChordTimer(bool arm)
{
    if (arm && !chordTimer_.IsRunning()) chordTimer_.StartOnce(kChordTimerMs);
}

// --- What the user does ---

void CStylePlaybackConsole::StartPlayer()
{
    const StylePlayer::Result result = player_->Start();
    PlayerFieldsChanged();
    ShowAll();
    Report(result);
}

void CStylePlaybackConsole::StopPlayer()
{
    player_->Stop();
    PlayerFieldsChanged();
    ShowAll();
}

// While another player plays, the toggle stops that one.
void CStylePlaybackConsole::OnStartStop(wxCommandEvent&)
{
    Shell().StartStopPlayer(this, kStyleConsolePlayer);
    ShowAll();
}

void CStylePlaybackConsole::OnElement(wxCommandEvent& event)
{
    player_->SelectElement(event.GetId() - kIdFirstElement);
    ShowAll();
}

void CStylePlaybackConsole::OnTempoSpin(wxSpinEvent& event)
{
    StylePlayer::Result result;
    player_->StepTempo(event.GetEventType() == wxEVT_SPIN_UP ? 1 : -1, &result);
    ShowAll();
    Report(result);
}

void CStylePlaybackConsole::OnOctaveSpin(wxSpinEvent& event)
{
    player_->StepOctave(event.GetEventType() == wxEVT_SPIN_UP ? 1 : -1);
    ShowSelectedTrack();
}

void CStylePlaybackConsole::OnTrackBar(wxScrollEvent& event)
{
    player_->SetTrackBar(event.GetId() - kIdFirstTrackBar, event.GetPosition());
    ShowSelectedTrack();
}

// The console does not close while it plays.
void CStylePlaybackConsole::OnClose(wxCloseEvent& event)
{
    if (player_->Playing() && event.CanVeto()) {
        event.Veto();
        return;
    }
    chordTimer_.Stop();
    player_->Stop();
    PlayerFieldsChanged();
    midi_->CloseInput();
    EndModal(wxID_CANCEL);
}

void CStylePlaybackConsole::OnCancel(wxCommandEvent&)
{
    Close();
}

void CStylePlaybackConsole::OnChordTimer(wxTimerEvent&)
{
    player_->OnChordTimer();
    chord_->SetLabel(player_->ChordText());
}

void CStylePlaybackConsole::NoteDown(int note)
{
    ArmChordTimer(player_->Key(note, true));
}

void CStylePlaybackConsole::NoteUp(int note)
{
    SetCursor(wxCursor(wxCURSOR_ARROW));
    player_->Key(note, false);
}

// --- What the MIDI layer reports ---

void CStylePlaybackConsole::OnBufferDone()
{
    const StylePlayer::Result result = player_->OnBufferDone();
    PlayerFieldsChanged();
    ShowAll();
    Report(result);
}

void CStylePlaybackConsole::OnMidiInput(uint32_t message)
{
    ArmChordTimer(player_->MidiInput(message));
}

int RunStylePlaybackConsole(wxWindow* parent, const CStyleMidiReader& style, const std::string& styleName,
                            StylePlayer::ProgramNameFunction programName)
{
    const ZibSettings& settings = Shell().Settings();
    CStylePlaybackConsole console(parent, style, styleName, std::move(programName), settings.MidiOutDevID,
                                  settings.MidiInDevID);
    return console.ShowModal();
}

} // namespace zib
