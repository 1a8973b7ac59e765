#include "mididoc/CMidiWxDialogs.h"

#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/dialogs/CRecordInputDlg.h"
#include "mididoc/TrackPropertiesSources.h"
#include "mididoc/core/EditEventCodeDlgModel.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/SequenceMeasureContext.h"
#include "mididoc/dialogs/CCopyMidiEventsDlg.h"
#include "mididoc/dialogs/CEditEventCodeDlg.h"
#include "mididoc/dialogs/CMarkerDlg.h"
#include "mididoc/dialogs/CMidiClockDlg.h"
#include "mididoc/dialogs/CMidiRecordSettingsDlg.h"
#include "mididoc/dialogs/CPasteEventsDlg.h"
#include "mididoc/dialogs/CPositionDialogs.h"
#include "mididoc/dialogs/CShiftEventsDlg.h"
#include "mididoc/dialogs/CTempoDlg.h"
#include "mididoc/dialogs/CTrackPropertiesDlg.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"
#include "ui/CZibDocument.h"
#include "ui/CZibFileDialog.h"
#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "ui/dialogs/CFileDialogs.h"
#include "ui/texts/ZibMessageTable.h"

#include <wx/filename.h>
#include <wx/utils.h>

namespace zib {

namespace {

// A path with the default extension when its file name has none.
std::filesystem::path withExtension(std::filesystem::path path, std::string_view extension)
{
    if (!path.has_extension()) path += std::string(extension);
    return path;
}

long iconStyle(DocMessage::Icon icon)
{
    switch (icon) {
    case DocMessage::Icon::Stop:
        return wxICON_ERROR;
    case DocMessage::Icon::Information:
        return wxICON_INFORMATION;
    case DocMessage::Icon::Question:
        return wxICON_QUESTION;
    case DocMessage::Icon::Exclamation:
    default:
        return wxICON_EXCLAMATION;
    }
}

wxString captionOf(const DocMessage& m)
{
    return m.caption.empty() ? wxString(ShellServices::kAppName) : wxFromUtf8(m.caption);
}

wxString textOf(const DocMessage& m)
{
    if (m.message != DocMessage::kNoMessage) return wxFromUtf8(ZibMessage(m.message, Shell().Language()));
    wxString text = UiTextWx(m.uiText);
    text.Replace("%s", wxFromUtf8(m.extra), false);
    return text;
}

wxWindow* dialogParent()
{
    return ShellFrame();
}

// The map of a sequence for the position fields (it grows as positions are read).
SequenceMeasureContext measuresOf(const CMidiParserEx& map)
{
    return SequenceMeasureContext(const_cast<CMidiParserEx&>(map));
}

// What `read` takes off a dialog that ends with OK; nothing when it is cancelled.
template <class Dialog, class Read> auto whenOk(Dialog& dlg, Read read) -> std::optional<decltype(read())>
{
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return read();
}

} // namespace

std::optional<int> CMidiWxDialogs::TransposeAmount()
{
    TransposeValueDlgModel model;
    CTransposeValueDlg dlg(dialogParent(), model);
    return whenOk(dlg, [&] { return model.value; });
}

std::optional<uint32_t> CMidiWxDialogs::ShiftTo(const CMidiParserEx& map, uint32_t from, uint32_t to)
{
    SequenceMeasureContext measures = measuresOf(map);
    CShiftEventsDlg dlg(dialogParent(), from, to, &measures);
    return whenOk(dlg, [&] { return dlg.ToTick(); });
}

std::optional<PasteDlgValues> CMidiWxDialogs::PasteEvents(const CMidiParserEx& map,
                                                          const PasteDlgValues& values)
{
    SequenceMeasureContext measures = measuresOf(map);
    PasteOptions given;
    given.mode = values.mode;
    given.startTick = values.startTick;
    given.startTrack = values.startTrack;
    given.oneTrack = values.oneTrack;
    given.kinds = {values.trackEvents, values.markers, values.tempo, values.tact};
    CPasteEventsDlg dlg(dialogParent(), given, &measures);
    return whenOk(dlg, [&] {
        const PasteOptions& o = dlg.Options();
        PasteDlgValues r = values;
        r.startTick = o.startTick;
        r.startTrack = o.startTrack;
        r.oneTrack = o.oneTrack;
        r.trackEvents = o.kinds[PasteOptions::TrackEvents];
        r.markers = o.kinds[PasteOptions::Markers];
        r.tempo = o.kinds[PasteOptions::TempoChanges];
        r.tact = o.kinds[PasteOptions::TactChanges];
        return r;
    });
}

std::optional<CopyEventKinds> CMidiWxDialogs::CopyMidiEvents(const CopyEventKinds& kinds)
{
    CCopyMidiEventsDlg dlg(dialogParent(), kinds);
    return whenOk(dlg, [&] { return dlg.Kinds(); });
}

std::optional<uint16_t> CMidiWxDialogs::MidiClock(uint16_t division)
{
    CMidiClockDlg dlg(dialogParent(), division);
    return whenOk(dlg, [&] { return dlg.Division(); });
}

std::optional<TrackPropertiesValues> CMidiWxDialogs::TrackProperties(const TrackPropertiesValues& values)
{
    zib::TrackProperties given;
    given.trackNumber = values.track;
    given.column = values.column;
    given.name = utf8ToCp1252(values.name);
    given.input = values.input;
    given.channel = values.channel;
    given.port = values.port;
    given.bank = values.bank;
    given.program = values.program;
    given.volume = values.volume;
    given.pan = values.pan;
    given.channelEvents = values.channelEvents;
    auto runPortInstruments =
        [](int port, int channel) -> std::optional<std::vector<TrackPropertiesSources::Relation>> {
        if (RunPortInstrumentDlg(dialogParent(), port, channel) != wxID_OK) return std::nullopt;
        AppInstruments().SavePortInstrumentRelations();
        return AppPortRelations();
    };
    CTrackPropertiesDlg dlg(dialogParent(), given, AppTrackPropertiesSources(), runPortInstruments);
    return whenOk(dlg, [&] {
        const zib::TrackProperties& t = dlg.Result();
        TrackPropertiesValues r = values;
        r.name = cp1252ToUtf8(t.name);
        r.input = t.input;
        r.channel = t.channel;
        r.port = t.port;
        r.bank = t.bank;
        r.program = t.program;
        r.volume = t.volume;
        r.pan = t.pan;
        r.changed = t.changed;
        return r;
    });
}

std::optional<EventCodeChoice> CMidiWxDialogs::EditEventCode(const EventCodeDlgValues& values)
{
    CEditEventCodeDlg dlg(dialogParent(), EditEventCodeDlgModel(values.oldStatus, values.metaType,
                                                                values.docKind, values.modelLetter));
    return whenOk(dlg, [&] { return EventCodeChoice{dlg.Result().status, dlg.Result().metaType}; });
}

std::optional<TempoDlgValues> CMidiWxDialogs::Tempo(const CMidiParserEx& map, const TempoDlgValues& values)
{
    SequenceMeasureContext measures = measuresOf(map);
    CTempoDlg dlg(dialogParent(), values.bpm, values.tick, &measures);
    return whenOk(dlg, [&] { return TempoDlgValues{dlg.Tick(), dlg.Tempo()}; });
}

std::optional<MarkerDlgValues> CMidiWxDialogs::Marker(const CMidiParserEx& map, const MarkerDlgValues& values)
{
    SequenceMeasureContext measures = measuresOf(map);
    CMarkerDlg dlg(dialogParent(), wxFromUtf8(values.caption), utf8ToCp1252(values.text), values.tick,
                   &measures);
    return whenOk(dlg, [&] { return MarkerDlgValues{values.caption, cp1252ToUtf8(dlg.Text()), dlg.Tick()}; });
}

std::optional<TimeSigDlgValues> CMidiWxDialogs::TimeSignature(const CMidiParserEx& /*map*/,
                                                              const TimeSigDlgValues& values)
{
    TimeSignatureDlgModel model;
    model.measure = values.measure;
    model.beatsPerMeasure = values.numerator;
    model.beatValue = values.denominator;
    model.measureFixed = values.edit;
    CTimeSignatureDlg dlg(dialogParent(), model);
    return whenOk(dlg, [&] {
        return TimeSigDlgValues{model.measure, model.beatsPerMeasure, model.beatValue, values.edit};
    });
}

std::optional<FromThruTicks> CMidiWxDialogs::FromThru(const CMidiParserEx& map, const FromThruTicks& ticks)
{
    SequenceMeasureContext measures = measuresOf(map);
    PositionRecord from = measures.FromTick(ticks.from);
    PositionRecord thru = measures.FromTick(ticks.thru);
    CFromThruPosDlg dlg(dialogParent(), from, thru, &measures);
    return whenOk(dlg, [&] { return FromThruTicks{from.tick, thru.tick}; });
}

std::optional<uint32_t> CMidiWxDialogs::GoTo(const CMidiParserEx& map, uint32_t tick)
{
    SequenceMeasureContext measures = measuresOf(map);
    PositionRecord position = measures.FromTick(tick);
    CGoToDlg dlg(dialogParent(), position, &measures);
    return whenOk(dlg, [&] { return position.tick; });
}

std::optional<std::array<uint32_t, 64>> CMidiWxDialogs::RecordInput(const std::array<uint32_t, 64>& codes,
                                                                    int selectedRow)
{
    CRecordInputDlg dlg(dialogParent(), codes, selectedRow);
    return whenOk(dlg, [&] { return dlg.Codes(); });
}

std::optional<uint16_t> CMidiWxDialogs::RecordSettings(uint16_t echoChannels)
{
    CMidiRecordSettingsDlg dlg(dialogParent(), echoChannels);
    return whenOk(dlg, [&] { return dlg.EchoMask(); });
}

std::optional<std::filesystem::path> CMidiWxDialogs::DumpTarget(const std::string& defaultName,
                                                                const std::filesystem::path& folder)
{
    CZibFileDialog dlg(ShellFrame(), UiTextWx("MIDI File Text Dump"), wxFromUtf8(folder.string()),
                       wxFromUtf8(defaultName), UiTextWx("Zib Text Dump (*.TXT)") + "|*.TXT;*.txt",
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    return whenOk(dlg, [&] { return withExtension(wxToUtf8(dlg.GetPath()), ".TXT"); });
}

std::optional<MidiToStyleTarget> CMidiWxDialogs::MidiToStyleFile(StyleSeries series,
                                                                 const std::string& defaultName,
                                                                 const std::filesystem::path& folder,
                                                                 uint32_t model)
{
    const wxString filter = UiTextWx("Style Files (*.STY)") + "|*.STY;*.sty";
    const long style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
    const wxString name = wxFromCp1252(defaultName);
    const wxString dir = wxFromUtf8(folder.string());
    MidiToStyleTarget target;
    const wxString title = wxFromUtf8(ZibMessage(
        series == StyleSeries::Wq ? kMsgConvertToWqStyle : kMsgConvertToQeStyle, Shell().Language()));
    if (series == StyleSeries::Wq) {
        CFileDlgMidiToSty dlg(ShellFrame(), title, dir, name, filter, style);
        dlg.SetModelLetter(model);
        if (dlg.ShowModal() != wxID_OK) return std::nullopt;
        target.model = dlg.ModelLetter();
        target.path = wxToUtf8(dlg.GetPath());
    } else {
        CZibFileDialog dlg(ShellFrame(), title, dir, name, filter, style);
        if (dlg.ShowModal() != wxID_OK) return std::nullopt;
        target.path = wxToUtf8(dlg.GetPath());
    }
    target.path = withExtension(target.path, ".STY");
    if (!CZibDocument::MayWriteFile(target.path, title)) return std::nullopt;
    return target;
}

void CMidiWxDialogs::Report(const DocMessage& m)
{
    ZibTextBox(textOf(m), captionOf(m), wxOK | iconStyle(m.icon));
}

bool CMidiWxDialogs::AskYesNo(const DocMessage& m)
{
    return ZibTextBox(textOf(m), captionOf(m), wxYES_NO | iconStyle(m.icon)) == wxID_YES;
}

void CMidiWxDialogs::BeginWait()
{
    wxBeginBusyCursor();
}

void CMidiWxDialogs::EndWait()
{
    wxEndBusyCursor();
}

} // namespace zib
