#include "app/CZibApp.h"

#include "app/CMainFrame.h"
#include "app/SubsystemWiring.h"
#include "app/core/CommandPaths.h"
#include "app/dialogs/CAboutDlg.h"
#include "app/dialogs/CCopyrightDlg.h"
#include "app/dialogs/CNewFileDlg.h"
#include "app/dialogs/CPsrToQeStyleDlg.h"
#include "app/dialogs/CSettingsDialogs.h"
#include "platform/AppEvents.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "platform/ProgramPath.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "ui/CZibDocManager.h"
#include "ui/CZibDocTemplate.h"
#include "ui/CZibDocument.h"
#include "ui/CZibFileDialog.h"
#include "ui/ZibMessageBox.h"
#include "ui/core/CommandFileReader.h"
#include "ui/core/CommandIds.h"
#include "ui/core/FileFilters.h"
#include "ui/core/FormatText.h"
#include "ui/core/PsrConversionOutput.h"
#include "ui/core/SettingsCommands.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibMessageTable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/utils.h>

namespace zib {

namespace {

// The templates stand in the program's fixed order (MIDI, style, program ...),
// whichever subsystem added its own first: File New lists them so.
void OrderDocTemplates(wxDocManager& manager)
{
    const auto rank = [](wxObject* object) {
        const auto* zibTemplate = dynamic_cast<CZibDocTemplate*>(object);
        const auto templates = ZibDocTemplates();
        for (size_t i = 0; i < templates.size(); ++i)
            if (zibTemplate && templates[i].id == zibTemplate->TemplateId()) return i;
        return templates.size();
    };
    std::vector<wxObject*> ordered(manager.GetTemplates().begin(), manager.GetTemplates().end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](wxObject* a, wxObject* b) { return rank(a) < rank(b); });
    manager.GetTemplates().Clear();
    for (wxObject* t : ordered)
        manager.GetTemplates().Append(t);
}

// Files dropped on the main window open as documents.
class ZibDropTarget : public wxFileDropTarget {
public:
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override
    {
        for (const wxString& f : files)
            wxGetApp().OpenDocumentFile(wxToUtf8(f));
        return true;
    }
};

wxString filterFor(std::string_view filter)
{
    return wxFromUtf8(TranslatedFilter(CaseInsensitiveFilter(filter), [](std::string_view name) {
        return UiText(name, wxGetApp().Language());
    }));
}

// A converter's or collector's failure: "ERROR! %s" with its text (at most 80 characters).
void showConverterError(const std::string& errorText, const wxString& caption)
{
    const std::string text =
        FormatText(UiText("ERROR! %s", wxGetApp().Language()), {errorText.substr(0, 80)});
    ZibTextBox(wxFromUtf8(text), caption, wxOK | wxICON_WARNING);
}

} // namespace

CZibApp::CZibApp() = default;

CZibApp::~CZibApp() = default;

CMainFrame* CZibApp::MainFrame() const
{
    return CMainFrame::Get();
}

ZibMdiParentFrame* CZibApp::Frame() const
{
    return CMainFrame::Get();
}

CZibMdiChild* CZibApp::ActiveZibChild() const
{
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->ActiveZibChild() : nullptr;
}

void CZibApp::SetStatusText(const wxString& text, int pane)
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->SetStatusText(text, pane);
}

void CZibApp::ActiveChildChanged()
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->ActiveChildChanged();
}

void CZibApp::HoldPaintingUntilIdle()
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->HoldPaintingUntilIdle();
}

void CZibApp::ShowToolbarsForActiveFrame()
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->ShowToolbarsForActiveFrame(5);
}

void CZibApp::CheckToolbarButton(int id, int state)
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->CheckToolbarButton(id, state);
}

CMainToolBar* CZibApp::Toolbar(MainBar bar)
{
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->Toolbar(bar) : nullptr;
}

void CZibApp::ToolbarMovedByUser(CMainToolBar& bar)
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->ToolbarMovedByUser(bar);
}

CTextViewer* CZibApp::OpenTextViewer(const wxString& title, uint8_t* openerFlag, wxDocument* document,
                                     uint32_t midiWindow)
{
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->OpenTextViewer(title, openerFlag, document, midiWindow) : nullptr;
}

void CZibApp::PlayMidiFileExternally(const std::string& path)
{
    if (CMainFrame* frame = CMainFrame::Get()) frame->PlayMidiFileExternally(path);
}

void CZibApp::PlayerWindowClosed(wxWindow* window)
{
    if (CMainFrame* frame = CMainFrame::Get(); frame && frame->m_PlayerWindow == window)
        frame->m_PlayerWindow = nullptr;
}

wxWindow* CZibApp::OpenStyPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row)
{
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->OpenStyPropFrame(title, frameOpen, document, row) : nullptr;
}

wxWindow* CZibApp::OpenPadPropFrame(const wxString& title, uint8_t* frameOpen, wxDocument* document, int row)
{
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->OpenPadPropFrame(title, frameOpen, document, row) : nullptr;
}

bool CZibApp::OnInit()
{
    // The command line holds file names only; it is read by the start-up below.
    return InitInstance();
}

int CZibApp::OnExit()
{
    return ExitInstance();
}

bool CZibApp::InitInstance()
{
    // Settings live in the program's own store under the maker and program names.
    SetVendorName("Harvoll");
    SetAppName(kAppName);
    m_profile = std::make_unique<FileProfile>(FileProfile::defaultPath());
    m_settings = std::make_unique<ZibSettings>(*m_profile);
    m_recentFiles.Load(*m_profile);

    LoadSharedLibraries();

    m_ProgramFolder = executableDir().string();
    m_ExeName = executablePath().filename().string();
    ConnectSubsystems(m_subsystems);

    if (m_subsystems.LoadPortInstrumentRelations) m_subsystems.LoadPortInstrumentRelations();
    m_settings->LoadSettings(m_subsystems.MidiOutDeviceCount ? m_subsystems.MidiOutDeviceCount() : 0,
                             m_subsystems.MidiInDeviceCount ? m_subsystems.MidiInDeviceCount() : 0);

    if (m_settings->Author.empty() && !AskForAuthor()) return false;

    RegisterPrivateFormats();

    m_docManager = std::make_unique<CZibDocManager>();
    for (auto& add : m_subsystems.AddDocTemplates)
        add(*m_docManager);
    OrderDocTemplates(*m_docManager);

    auto* frame = new CMainFrame(m_docManager.get());
    if (!frame->CreateMainFrame()) {
        frame->Destroy();
        return false;
    }
    SetTopWindow(frame);
    BindCommands();
    frame->SetDropTarget(new ZibDropTarget);

    ProcessCommandLine();

    // The window starts maximised, without a maximise box. A display without
    // a window manager does not maximise, so the size is set as well.
    frame->SetSize(wxDisplay(frame).GetClientArea());
    frame->Maximize(true);
    frame->Show();
    frame->SetWindowStyleFlag(frame->GetWindowStyleFlag() & ~wxMAXIMIZE_BOX);

    frame->ApplyLanguage(m_settings->AppLanguage);
    frame->Update();
    return true;
}

int CZibApp::ExitInstance()
{
    FreePlaybackBuffers();
    // The instruments and relations go only now that the exit is certain: a
    // cancelled close keeps them for the rest of the run.
    m_Instruments.clear();
    m_PortInstrumentRelations.clear();
    if (m_profile) m_recentFiles.Save(*m_profile);
    m_docManager.reset();
    return wxApp::OnExit();
}

void CZibApp::LoadSharedLibraries()
{
    // Also bound at link time; a library that cannot be loaded by name is not an error here.
    m_ulvarf.open("libulvarf.so.1");
    m_zibtbl.open("libzibtbl.so.1");
}

bool CZibApp::AskForAuthor()
{
    CCopyrightDlg dlg(nullptr);
    if (dlg.ShowModal() != wxID_OK) return false;
    m_settings->SetAuthor(dlg.Name());
    return true;
}

void CZibApp::RegisterPrivateFormats()
{
    m_ZibDataFormat = ZibClipboardFormat();
    m_ClipboardFormat = ZibClipboardFormatRegistered() ? 1u : 0u;
    if (!m_ClipboardFormat) ZibMessageBox(8, wxString(kAppName), wxOK | wxICON_ERROR);
    m_StyMessage = int(EVT_ZIB_STY_MESSAGE);
    if (!m_StyMessage) ZibMessageBox(7, wxString(kAppName), wxOK | wxICON_ERROR);
    m_PrgMessage = int(EVT_ZIB_PRG_MESSAGE);
    if (!m_PrgMessage) ZibMessageBox(7, wxString(kAppName), wxOK | wxICON_ERROR);
}

void CZibApp::ProcessCommandLine()
{
    // Without a file name the program starts without a document. A file that
    // cannot be opened has been reported by its document; the program stays
    // up and the other files still open.
    for (int i = 1; i < argc; ++i) {
        std::string path = wxToUtf8(argv[i]);
        if (path.empty() || path[0] == '-') continue;
        // A relative name counts from the folder the program was started in.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
        if (!error) path = absolute.lexically_normal().string();
        OpenDocumentFile(path);
    }
}

wxDocument* CZibApp::OpenDocumentFile(const std::string& path)
{
    wxDocument* doc = m_docManager ? m_docManager->OpenZibDocument(path) : nullptr;
    if (!doc && m_docManager && m_docManager->ZibTemplates().empty())
        ZibMessageBox(19, "OnFileOpen", wxOK | wxICON_ERROR);
    return doc;
}

void CZibApp::AddToRecentFileList(const std::string& path)
{
    m_recentFiles.Add(path);
    if (m_profile) m_recentFiles.Save(*m_profile);
    if (CMainFrame* frame = MainFrame()) frame->RebuildMenus();
}

StreamBuffers* CZibApp::AllocStreamBuffers()
{
    return m_StreamBuffers.Alloc() ? &m_StreamBuffers : nullptr;
}

void CZibApp::FreePlaybackBuffers()
{
    m_StreamBuffers.Free();
}

void CZibApp::StartStopPlayer(IZibPlayer* player, int kind)
{
    m_playerSlot.StartStop(player, kind);
}

void CZibApp::BindCommands()
{
    Bind(wxEVT_MENU, &CZibApp::OnAppAbout, this, cmd::ToWxId(cmd::AppAbout));
    Bind(wxEVT_MENU, &CZibApp::OnFileNew, this, cmd::ToWxId(cmd::FileNew));
    Bind(wxEVT_MENU, &CZibApp::OnFileOpen, this, cmd::ToWxId(cmd::FileOpen));
    Bind(wxEVT_MENU, &CZibApp::OnFileMru, this, cmd::ToWxId(cmd::FileMruFirst),
         cmd::ToWxId(cmd::FileMruFirst + cmd::FileMruCount - 1));
    Bind(wxEVT_MENU, &CZibApp::OnSortingMethod, this, cmd::ToWxId(cmd::SortingMethod));
    Bind(wxEVT_MENU, &CZibApp::OnTransposeSetting, this, cmd::ToWxId(cmd::TransposeSetting));
    Bind(wxEVT_MENU, &CZibApp::OnKeyboardType, this, cmd::ToWxId(cmd::KeyboardType));
    Bind(wxEVT_MENU, &CZibApp::OnWqConversionSettings, this, cmd::ToWxId(cmd::WqConversionSettings));
    Bind(wxEVT_MENU, &CZibApp::OnStyToMidiSettings, this, cmd::ToWxId(cmd::StyToMidiSettings));
    Bind(wxEVT_MENU, &CZibApp::OnQeConversionSettings, this, cmd::ToWxId(cmd::QeConversionSettings));
    Bind(wxEVT_MENU, &CZibApp::OnPlaybackSettings, this, cmd::ToWxId(cmd::PlaybackSettings));
    Bind(wxEVT_MENU, &CZibApp::OnQeTrackToWqTrack, this, cmd::ToWxId(cmd::QeTrackToWqTrackSettings));
    Bind(wxEVT_MENU, &CZibApp::OnPsrSettings, this, cmd::ToWxId(cmd::PsrToQeStySettings));
    Bind(wxEVT_MENU, &CZibApp::OnMidiPortsSettings, this, cmd::ToWxId(cmd::MidiPortsSettings));
    Bind(wxEVT_MENU, &CZibApp::OnInstruments, this, cmd::ToWxId(cmd::Instruments));
    Bind(wxEVT_MENU, &CZibApp::OnCollectWqCvMidi, this, cmd::ToWxId(cmd::CollectWqCvMidi));
    Bind(wxEVT_MENU, &CZibApp::OnCollectQeCvMidi, this, cmd::ToWxId(cmd::CollectQeCvMidi));
    Bind(wxEVT_MENU, &CZibApp::OnConvertYamahaStyToQeSty, this, cmd::ToWxId(cmd::ConvertYamahaStyToQeSty));
    Bind(wxEVT_MENU, &CZibApp::OnHelpFinder, this, cmd::ToWxId(cmd::HelpFinder));
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            if (CMainFrame* frame = MainFrame()) frame->Close();
        },
        cmd::ToWxId(cmd::AppExit));
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            wxCommandEvent setup(wxEVT_MENU, wxID_PRINT_SETUP);
            m_docManager->ProcessEvent(setup);
        },
        cmd::ToWxId(cmd::FilePrintSetup));
    for (int id : {cmd::WqConversionSettings, cmd::StyToMidiSettings, cmd::QeConversionSettings,
                   cmd::PlaybackSettings, cmd::QeTrackToWqTrackSettings, cmd::MidiPortsSettings,
                   cmd::Instruments, cmd::CollectWqCvMidi, cmd::CollectQeCvMidi})
        Bind(wxEVT_UPDATE_UI, &CZibApp::OnUpdateNeedsSubsystem, this, cmd::ToWxId(id));
}

void CZibApp::OnUpdateNeedsSubsystem(wxUpdateUIEvent& event)
{
    // Commands whose dialog or converter belongs to a subsystem that is not there yet stay greyed.
    const auto& s = m_subsystems;
    bool available = true;
    switch (cmd::FromWxId(event.GetId())) {
    case cmd::WqConversionSettings:
        available = bool(s.WqConversionSheet);
        break;
    case cmd::StyToMidiSettings:
        available = bool(s.StyToMidiMethodDialog);
        break;
    case cmd::QeConversionSettings:
        available = bool(s.QeConversionSheet);
        break;
    case cmd::PlaybackSettings:
        available = bool(s.MidiSettingsDialog);
        break;
    case cmd::QeTrackToWqTrackSettings:
        available = bool(s.QeTrackToWqTrackDialog);
        break;
    case cmd::MidiPortsSettings:
        available = bool(s.MidiPortsDialog);
        break;
    case cmd::Instruments:
        available = bool(s.RunInstrumentsDialog);
        break;
    case cmd::CollectWqCvMidi:
        available = bool(s.CollectWqCvMidi);
        break;
    case cmd::CollectQeCvMidi:
        available = bool(s.CollectQeCvMidi);
        break;
    default:
        break;
    }
    event.Enable(available);
}

void CZibApp::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dlg(MainFrame());
    dlg.ShowModal();
}

void CZibApp::OnFileNew(wxCommandEvent&)
{
    CNewFileDlg dlg(MainFrame(), m_docManager->ZibTemplates());
    if (dlg.ShowModal() != wxID_OK || !dlg.Template()) return;
    m_NewDocSubType = dlg.SubType();
    // As the document manager makes a new document, with the chosen template.
    wxDocument* doc = dlg.Template()->CreateDocument(wxString(), wxDOC_NEW);
    if (!doc) return;
    doc->SetDocumentName(dlg.Template()->GetDocumentName());
    if (!doc->OnNewDocument()) {
        doc->DeleteAllViews();
        return;
    }
    // The new window's document has its name only now: the title names it at once.
    if (CMainFrame* frame = MainFrame()) frame->ActiveChildChanged();
}

void CZibApp::OnFileOpen(wxCommandEvent&)
{
    CZibFileDialog dlg(MainFrame(), UiTextWx("Open"), wxFromUtf8(m_settings->LastOpenedDirectory), wxString(),
                       filterFor(kOpenFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    dlg.SetFilterIndex(std::clamp(m_settings->LastOpenedFileType, 1, 8) - 1);
    if (dlg.ShowModal() != wxID_OK) return;
    // The document stores LastOpenedFileType and LastOpenedDirectory itself once it has opened.
    OpenDocumentFile(wxToUtf8(dlg.GetPath()));
}

void CZibApp::OnFileMru(wxCommandEvent& event)
{
    const size_t index = size_t(cmd::FromWxId(event.GetId()) - cmd::FileMruFirst);
    if (index >= m_recentFiles.files().size()) return;
    const std::string path = m_recentFiles.files()[index];
    if (!OpenDocumentFile(path)) {
        m_recentFiles.Remove(index);
        m_recentFiles.Save(*m_profile);
        if (CMainFrame* frame = MainFrame()) frame->RebuildMenus();
    }
}

void CZibApp::OnSortingMethod(wxCommandEvent&)
{
    RunSortMethodCommand(*m_settings, [this](SortMethodDlgModel& m) {
        CSortMethodDlg dlg(MainFrame(), m);
        return dlg.ShowModal() == wxID_OK;
    });
}

void CZibApp::OnTransposeSetting(wxCommandEvent&)
{
    RunTransposeSettingsCommand(*m_settings, [this](TransposeSettingsDlgModel& m) {
        CTransposeSettingsDlg dlg(MainFrame(), m);
        return dlg.ShowModal() == wxID_OK;
    });
}

void CZibApp::OnKeyboardType(wxCommandEvent&)
{
    RunKeyboardTypeCommand(*m_settings, [this](KeyboardTypeDlgModel& m) {
        CKeyboardTypeDlg dlg(MainFrame(), m);
        return dlg.ShowModal() == wxID_OK;
    });
}

void CZibApp::OnPsrSettings(wxCommandEvent&)
{
    RunPsrSettingsCommand(*m_settings, [this](std::string& text) {
        CPsrToQeStyleDlg dlg(MainFrame(), text);
        if (dlg.ShowModal() != wxID_OK) return false;
        text = dlg.Text();
        return true;
    });
}

void CZibApp::OnWqConversionSettings(wxCommandEvent&)
{
    RunWqConversionSettingsCommand(*m_settings, m_subsystems.WqConversionSheet);
}

void CZibApp::OnStyToMidiSettings(wxCommandEvent&)
{
    RunStyToMidiSettingsCommand(*m_settings, m_subsystems.StyToMidiMethodDialog);
}

void CZibApp::OnQeConversionSettings(wxCommandEvent&)
{
    RunQeConversionSettingsCommand(*m_settings, m_subsystems.QeConversionSheet);
}

void CZibApp::OnPlaybackSettings(wxCommandEvent&)
{
    RunPlaybackSettingsCommand(*m_settings, m_subsystems.MidiSettingsDialog);
}

void CZibApp::OnQeTrackToWqTrack(wxCommandEvent&)
{
    RunQeTrackToWqTrackCommand(*m_settings, m_subsystems.QeTrackToWqTrackDialog);
}

void CZibApp::OnMidiPortsSettings(wxCommandEvent&)
{
    RunMidiPortsCommand(*m_settings, m_subsystems.MidiPortsDialog, m_subsystems.EnumMidiDevices);
}

void CZibApp::OnInstruments(wxCommandEvent&)
{
    if (m_subsystems.RunInstrumentsDialog) m_subsystems.RunInstrumentsDialog();
}

void CZibApp::OnHelpFinder(wxCommandEvent&)
{
    // There is no help system: Help Topics does nothing.
}

void CZibApp::OnCollectWqCvMidi(wxCommandEvent&)
{
    RunCollection(false);
}

void CZibApp::OnCollectQeCvMidi(wxCommandEvent&)
{
    RunCollection(true);
}

bool CZibApp::RunCollection(bool qeSeries)
{
    auto& collect = qeSeries ? m_subsystems.CollectQeCvMidi : m_subsystems.CollectWqCvMidi;
    if (!collect) return false;
    const wxString title =
        qeSeries ? wxString("Select any Chord Variation MIDI file") : wxFromUtf8(ZibMessage(105, Language()));
    CZibFileDialog dlg(MainFrame(), title, wxFromUtf8(m_settings->LastOpenedDirectory), wxString(),
                       filterFor(kCollectFilter), wxFD_SAVE);
    if (dlg.ShowModal() != wxID_OK) return false;
    std::string path = wxToUtf8(dlg.GetPath());
    if (FileNameOfPath(path).find('.') == std::string_view::npos) path += ".MID";

    const std::string folder = FolderOfPath(path, m_settings->LastOpenedDirectory);
    m_settings->SetLastOpenedDirectory(folder);
    const std::string log = PathInFolder(folder, qeSeries ? kCollectQeLogName : kCollectWqLogName);

    CollectResult result;
    {
        wxBusyCursor wait;
        result = collect(path, log);
    }
    if (result.code != 0) {
        showConverterError(result.errorText, qeSeries ? "CollectQeCvMidi" : "CollectCvMidi");
        return false;
    }
    OpenDocumentFile(result.collectedPath);
    return true;
}

void CZibApp::OnConvertYamahaStyToQeSty(wxCommandEvent&)
{
    const wxString caption = "ConvertYamahaStyToQeSty";
    CZibFileDialog dlg(MainFrame(), wxFromUtf8(ZibMessage(106, Language())),
                       wxFromUtf8(m_settings->LastOpenedDirectory), wxString(), filterFor(kYamahaFilter),
                       wxFD_OPEN);
    if (dlg.ShowModal() != wxID_OK) return;
    const std::string path = wxToUtf8(dlg.GetPath());

    CommandFile input = ReadFileForCommand(path);
    if (!input.ok()) {
        ZibMessageBox(input.message, caption, wxOK | wxICON_ERROR);
        return;
    }
    const std::string folder = FolderOfPath(path, m_settings->LastOpenedDirectory);
    m_settings->SetLastOpenedDirectory(folder);
    if (!m_subsystems.ConvertPsrStyle) {
        ZibMessageBox(5, caption, wxOK | wxICON_WARNING);
        return;
    }

    wxBusyCursor wait;
    const std::string fileName(FileNameOfPath(path));
    PsrConvertResult result =
        m_subsystems.ConvertPsrStyle(input.bytes, fileName, PathInFolder(folder, kPsrDumpLogName));
    input.bytes.clear();
    if (result.code != 0) {
        showConverterError(result.errorText, caption);
        return;
    }
    const std::string outName = PsrOutputName(fileName);
    const std::string outPath = PathInFolder(folder, outName);
    if (!CZibDocument::MayWriteFile(std::filesystem::u8path(outPath), caption)) return;
    if (writeFileAtomically(outPath, SingleResourceContainer(result.styleName, result.styleResource)) !=
        FileIoError::None) {
        ZibTextBox(wxFromUtf8(FormatText(UiText("Cannot open output file %s", Language()), {outName})),
                   caption, wxOK);
        return;
    }
    OpenDocumentFile(outPath);
}

} // namespace zib
