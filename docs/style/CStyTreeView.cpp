#include "docs/style/CStyTreeView.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/CMainToolBar.h"
#include "ui/CZibMdiChild.h"
#include "ui/MenuBuilder.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/CommandIds.h"
#include "ui/core/WqStyleDlgModels.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CStyPropSplitterFrameWnd.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/CStyItem.h"
#include "docs/style/core/NttDlgModel.h"
#include "docs/style/core/QeChordTableDlgModel.h"
#include "docs/style/core/QeKeyChordDlgModel.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/QeStyleFlagsDlgModel.h"
#include "docs/style/core/SheetOk.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyTreeMenus.h"
#include "docs/style/core/StyTreeMidiFiles.h"
#include "docs/style/core/StyTreeModel.h"
#include "docs/style/core/StyWindowCommandIds.h"
#include "docs/style/core/StyleMidiExport.h"
#include "docs/style/core/TrackParamsDlgModel.h"
#include "docs/style/core/WqStylePropertiesModel.h"
#include "docs/style/dialogs/CCvParamsDlg.h"
#include "docs/style/dialogs/CEditChordTableDlg.h"
#include "docs/style/dialogs/CNttDlg.h"
#include "docs/style/dialogs/CQeChordTableDlg.h"
#include "docs/style/dialogs/CQeKeyChordDlg.h"
#include "docs/style/dialogs/CQeStyleFlagsDlg.h"
#include "docs/style/dialogs/CTrackParamsDlg.h"
#include "docs/style/dialogs/CWqStylePropertiesDlg.h"
#include "midi/CMidiFileParser.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "styles/CWqStyleFile.h"

#include <wx/imaglist.h>
#include <wx/menu.h>

namespace zib {

namespace {

// The node code a tree item carries.
class NodeData : public wxTreeItemData {
public:
    explicit NodeData(int code) : code(code) {}
    int code;
};

constexpr int kCannotCreateSmfBuffer = 75;
constexpr int kDeleteElementQuestion = 79;
constexpr int kDeleteCvQuestion = 80;
constexpr int kDeleteTrackQuestion = 81;

// The track editor's title: the document's name and the track's node.
CZibMdiChild::TitleRule trackEditorTitle(const std::string& nodeText)
{
    return [node = wxFromCp1252(nodeText)](const wxString& document) { return document + " - EventList - " + node; };
}

} // namespace

CStyTreeView::CStyTreeView(wxWindow* parent, CStyPropSplitterFrameWnd& frame)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(250, 100),
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      frame_(frame)
{
    images_ = new wxImageList(16, 16, true, 7);
    for (const char* glyph : {"S", "E", "C", "T", "e", "c", "t"})
        images_->Add(CMainToolBar::GlyphBitmap(glyph));
    SetImageList(images_);
    Bind(wxEVT_TREE_SEL_CHANGED, &CStyTreeView::OnSelChanged, this);
    Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &CStyTreeView::OnRightClick, this);
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &CStyTreeView::OnActivated, this);
    Bind(wxEVT_TREE_KEY_DOWN, &CStyTreeView::OnKeyDown, this);
    Bind(wxEVT_MENU, &CStyTreeView::OnPopupCommand, this);
}

CStyTreeView::~CStyTreeView()
{
    delete images_;
}

void CStyTreeView::SetDocument(CItemWxDoc* doc, int row)
{
    doc_ = doc;
    row_ = row;
    m_Edited = 0;
}

void CStyTreeView::NoteEdited(int how)
{
    m_Edited = how;
    // The document shows the change at once, so that a save or a close asks
    // for it while the edit is still in this tree's editor.
    if (doc_) doc_->SetModelModified();
}

bool CStyTreeView::IsQe() const
{
    return editor_ != nullptr;
}

void CStyTreeView::Notify(const StyNotice& notice)
{
    if (doc_) doc_->UiPort().Message(notice);
}

// ---- Filling ------------------------------------------------------------

void CStyTreeView::FillTree(const std::string& title)
{
    rootTitle_ = title;
    Freeze();
    DeleteAllItems();
    nodes_.clear();
    selection_ = {};
    StyTreeModel model;
    if (editor_) model = StyTreeModel::FillQe(*editor_, title);
    else if (wq_) model = StyTreeModel::FillWq(*wq_, title);
    else model = StyTreeModel::FillWq(CWqStyleData(), title);
    std::vector<wxTreeItemId> ids;
    for (const StyTreeNode& n : model.Nodes()) {
        const wxString text = wxFromCp1252(n.text);
        const wxTreeItemId id = n.parent < 0 ? AddRoot(text, n.image, n.image, new NodeData(n.code))
                                             : AppendItem(ids[size_t(n.parent)], text, n.image, n.image,
                                                          new NodeData(n.code));
        ids.push_back(id);
        nodes_[n.code] = id;
    }
    for (size_t i = ids.size(); i-- > 0;)
        if (model.Nodes()[i].expanded) Expand(ids[i]);
    Thaw();
}

void CStyTreeView::ExpandToLevel(int level)
{
    const wxTreeItemId root = Root();
    if (!root.IsOk()) return;
    Collapse(root);
    for (const auto& [code, id] : nodes_) {
        if (code == StyNodeCode::kRoot || !ItemHasChildren(id)) continue;
        if (StyNodeExpandedAtLevel(code, level)) Expand(id);
        else Collapse(id);
    }
    if (level >= 1) Expand(root);
}

bool CStyTreeView::ShowItem(uint8_t element, uint8_t cv, uint8_t track)
{
    if (element == 255 && cv == 255 && track == 255) return false;
    const int code = StyNodeCode::Of({element, cv, track});
    const auto it = nodes_.find(code);
    if (it == nodes_.end()) return false;
    EnsureVisible(it->second);
    ScrollTo(it->second);
    return true;
}

void CStyTreeView::SetItemIcon(uint8_t, uint8_t, uint8_t, bool nonEmpty)
{
    const wxTreeItemId selected = GetSelection();
    const int image = StyNodeImageAfterEdit(selection_, nonEmpty);
    if (selected.IsOk() && image >= 0) SetItemImage(selected, image);
}

// ---- Selection ----------------------------------------------------------

const QeTreeSelection& CStyTreeView::ReadSelection()
{
    selection_ = {};
    const wxTreeItemId selected = GetSelection();
    if (selected.IsOk())
        if (auto* data = dynamic_cast<NodeData*>(GetItemData(selected)))
            selection_ = StyNodeCode::Decode(data->code);
    return selection_;
}

bool CStyTreeView::RootSelected() const
{
    const wxTreeItemId selected = GetSelection();
    return selected.IsOk() && selected == Root();
}

StyTreeState CStyTreeView::State(bool clipboard)
{
    ReadSelection();
    if (editor_)
        return StyTreeState::OfQe(*editor_, selection_, RootSelected(), clipboard && ClipboardHasBlock(), IsPadTree());
    StyTreeState s;
    s.qe = false;
    s.pad = IsPadTree();
    s.selection = selection_;
    s.rootSelected = RootSelected();
    return s;
}

void CStyTreeView::OnSelChanged(wxTreeEvent& event)
{
    ReadSelection();
    if (wq_ && !IsPadTree()) frame_.MoveTextPaneTo(WqDumpHeader(*wq_, selection_));
    event.Skip();
}

void CStyTreeView::OnRightClick(wxTreeEvent& event)
{
    if (!event.GetItem().IsOk()) return;
    SelectItem(event.GetItem());
    const StyTreeRightClick click = StyTreeRightClickFor(State());
    using A = StyTreeRightClick::Action;
    std::vector<MenuItemDef> items;
    switch (click.action) {
    case A::StyleFlags:
        return OnStyleFlags();
    case A::WqStyleProperties:
        return IsPadTree() ? void() : OnWqStyleProperties();
    case A::WqChordTable:
        return IsPadTree() ? void() : OnWqChordTable();
    case A::ElementPopup:
        items = StyElementPopupDef();
        break;
    case A::CvPopup:
        items = StyCvPopupDef();
        break;
    case A::TrackPopup:
        items = StyTrackPopupDef();
        break;
    case A::None:
        return;
    }
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(items, Shell().Language()));
    for (wxMenuItem* item : menu->GetMenuItems())
        if (!item->IsSeparator()) item->Enable(click.IsEnabled(cmd::FromWxId(item->GetId())));
    // The chosen command runs once the menu has gone, so that the windows
    // and dialogs it opens take the pointer and the keys.
    const int chosen = GetPopupMenuSelectionFromUser(*menu);
    if (chosen != wxID_NONE) RunCommand(cmd::FromWxId(chosen));
}

void CStyTreeView::OnPopupCommand(wxCommandEvent& event)
{
    RunCommand(cmd::FromWxId(event.GetId()));
}

void CStyTreeView::OnActivated(wxTreeEvent&)
{
    ReadSelection();
    if (!selection_.IsTrack()) return;
    if (editor_) OnQeTrackMidiEdit();
    else OnOldStyTrackMidiEdit();
}

void CStyTreeView::OnKeyDown(wxTreeEvent& event)
{
    if (event.GetKeyCode() != WXK_DELETE || !editor_) {
        event.Skip();
        return;
    }
    // The key also deletes what is present without data, after its question.
    const QeTreeSelection s = ReadSelection();
    if (s.IsTrack()) DeleteQeTR(s.element, s.cv, s.track);
    else if (s.IsCv()) DeleteQeCV(s.element, s.cv);
    else if (s.IsElement()) DeleteQeSE(s.element);
}

// ---- Commands -----------------------------------------------------------

bool CStyTreeView::CommandEnabled(int id)
{
    const bool trackEditor = IsPadTree() ? bool(Shell().Subsystems().OpenPadTrackEditFrame)
                                         : bool(Shell().Subsystems().OpenStyTrackEditFrame);
    if ((id == stycmd::EditTrackEvents || id == stycmd::EditItem) && !trackEditor) return false;
    return StyFrameCommandEnabled(id, State(id == cmd::EditPaste));
}

void CStyTreeView::RunCommand(int id)
{
    ReadSelection();
    switch (id) {
    case stycmd::StartStopPlayback:
    case stycmd::PlayCv:
    case stycmd::PlayTrack:
        if (WroteBackEditFrame()) PlaySelection();
        break;
    case stycmd::StyleFlags:
        OnStyleFlags();
        break;
    case stycmd::TrackInfo:
        OnTrackInfo();
        break;
    case stycmd::Ntt:
        OnNtt();
        break;
    case stycmd::ChordTable:
        OnChordTable();
        break;
    case stycmd::SetKeyChord:
        OnKeyChord();
        break;
    case stycmd::EditTrackEvents:
    case stycmd::EditItem:
        if (!selection_.IsTrack()) break;
        if (editor_) OnQeTrackMidiEdit();
        else OnOldStyTrackMidiEdit();
        break;
    case stycmd::WqCvParameters:
        OnCvParameters();
        break;
    case stycmd::WqStyleProperties:
        OnWqStyleProperties();
        break;
    case stycmd::WqChordTable:
        OnWqChordTable();
        break;
    case stycmd::DeleteItems:
        DeleteSelection();
        break;
    case stycmd::DeleteElement:
        DeleteQeSE(selection_.element);
        break;
    case stycmd::DeleteCv:
        DeleteQeCV(selection_.element, selection_.cv);
        break;
    case stycmd::DeleteTrack:
        DeleteQeTR(selection_.element, selection_.cv, selection_.track);
        break;
    case stycmd::AddCv:
        OnQeAddCv();
        break;
    case cmd::EditCopy:
        if (WroteBackEditFrame()) CopySelection();
        break;
    case cmd::EditPaste:
        PasteSelection();
        break;
    default:
        break;
    }
}

// ---- Playing ------------------------------------------------------------

void CStyTreeView::PlaySelection()
{
    const QeTreeSelection s = StyPlaySelection(ReadSelection());
    ShellServices* main = ShellFrame() ? ShellServices::Get() : nullptr;
    if (s.element == 255 || !main) return;
    const bool percussion = Shell().Settings().PlayPercOnDrumChan != 0;
    const std::filesystem::path file = UniqueTempFile(TemporaryFolder(), "TmpRary");
    if (wq_ && !editor_) {
        wq_->SetPercOnDrumChannel(percussion);
        if (s.track != 255 ? !wq_->HasTrackData(s.element, s.cv, s.track) : wq_->IsChordVarEmpty(s.element, s.cv))
            return;
        if (wq_->DumpChordVarToMidi(s.element, s.cv, s.track == 255 ? CWqStyleFile::kAllTracks : s.track, file) != 0)
            return;
    } else if (editor_) {
        if (CreateMidiFromQeCvOrTrack(*editor_, s.element, s.cv, s.track, file, percussion,
                                      [this](const StyNotice& n) { Notify(n); }) != 1)
            return;
    } else {
        return;
    }
    main->PlayMidiFileExternally(file.string());
}

// ---- Track editor -------------------------------------------------------

void CStyTreeView::OpenTrackEditor(const std::string& nodeText, int channelOrTrack)
{
    const auto& open =
        IsPadTree() ? Shell().Subsystems().OpenPadTrackEditFrame : Shell().Subsystems().OpenStyTrackEditFrame;
    if (!doc_ || !open) return;
    TrackEditRequest request;
    const CZibMdiChild::TitleRule title = trackEditorTitle(nodeText);
    request.title = title(doc_->GetUserReadableName());
    request.openFlag = &doc_->m_TrackEventOpen;
    request.document = doc_;
    request.editFrame = &frame_;
    request.sequence = &sequence_;
    request.channel = channelOrTrack;
    request.model = doc_->ModelLetter();
    request.pad = IsPadTree();
    request.owner = &doc_->TrackOwner();
    request.setModified = [doc = doc_] { doc->SetModelModified(); };
    request.abortAndClear = [doc = doc_] { doc->AbortAndClear(); };
    request.setItemIcon = [this](uint8_t e, uint8_t c, uint8_t t, bool nonEmpty) { SetItemIcon(e, c, t, nonEmpty); };
    request.closed = [this] { TrackEditorClosed(); };
    doc_->TrackOwner().BindSequence(&sequence_);
    TrackEditWindow* window = open(request);
    doc_->m_TrackEventWindow = window;
    if (!window) return;
    doc_->m_TrackEventOpen = 1;
    window->ShowTrack();
    TitleAfterDocument(*window, title);
}

void CStyTreeView::TitleAfterDocument(TrackEditWindow& window, const CZibMdiChild::TitleRule& title)
{
    // The title follows the document's name through a Save As.
    if (auto* child = dynamic_cast<CZibMdiChild*>(window.Window())) child->TitleAfter(*doc_, title);
}

void CStyTreeView::TrackEditorClosed()
{
    // The user closed the track editor: what it edited goes back into the item now.
    if (!doc_) return;
    WroteBack(editor_ ? frame_.RecreateQeStyleBuffer() : frame_.RecreateOldStyleBuffer());
}

bool CStyTreeView::WroteBackEditFrame()
{
    return doc_ && doc_->WriteBackEditFrame();
}

bool CStyTreeView::ReleaseOpenCv(const QeTreeSelection& target)
{
    if (!doc_ || !doc_->m_TrackEventOpen || !StyEditReachesOpenCv(target, m_OpenCv)) return true;
    if (!WroteBackEditFrame()) return false;
    doc_->CloseTrackEventWindow();
    return true;
}

bool CStyTreeView::WroteBack(int result)
{
    // -1: the frame closes; -2: the document goes.
    if (result == -1) frame_.Close();
    if (result == -2) doc_->AbortAndClear();
    return result >= 0;
}

bool CStyTreeView::LoadSequence(const std::vector<uint8_t>& image, const char* caption)
{
    const int rc = sequence_.ParseImage(image.data(), uint32_t(image.size()));
    if (rc == 0) return true;
    sequence_.DeleteAllEvents();
    char text80[80] = {};
    sequence_.ReportError(text80, sizeof text80, rc);
    Notify(StyNotice::Text("ERROR! %s", {text80}, caption, StyNoticeIcon::Exclamation));
    return false;
}

void CStyTreeView::OnQeTrackMidiEdit()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_ || !doc_ || !s.IsTrack()) return;
    const int channel = CMidiFileParser::QeTrackChannelTable[s.track];
    const std::string text = QeTrackNodeText(s.element, s.cv, s.track);
    // Another track of the open chord variation: the window only moves on.
    if (doc_->m_TrackEventOpen && doc_->m_TrackEventWindow && s.element == m_OpenCv.element && s.cv == m_OpenCv.cv) {
        const CZibMdiChild::TitleRule title = trackEditorTitle(text);
        doc_->m_TrackEventWindow->Retarget(channel + 1, title(doc_->GetUserReadableName()));
        TitleAfterDocument(*doc_->m_TrackEventWindow, title);
        return;
    }
    if (doc_->m_TrackEventOpen) {
        doc_->CloseTrackEventWindow();
        if (!WroteBack(frame_.RecreateQeStyleBuffer())) return;
    }
    m_OpenCv = {s.element, s.cv, 255};
    const std::vector<uint8_t> image = editor_->ExportSmf(s.element, s.cv);
    if (image.empty()) {
        Notify(StyNotice::Numbered(kCannotCreateSmfBuffer, "OnQeTrackMidiEdit", StyNoticeIcon::Stop));
        return;
    }
    if (!LoadSequence(image, "OnQeTrackMidiEdit")) return;
    OpenTrackEditor(text, channel);
}

void CStyTreeView::OnOldStyTrackMidiEdit()
{
    const QeTreeSelection s = ReadSelection();
    if (!wq_ || !doc_ || !s.IsTrack() || wq_->IsChordVarEmpty(s.element, s.cv)) return;
    doc_->CloseTrackEventWindow();
    if (!WroteBack(frame_.RecreateOldStyleBuffer())) return;
    const std::vector<uint8_t> image =
        WqCvImage(*wq_, s.element, s.cv, TemporaryFolder(), [this](const StyNotice& n) { Notify(n); });
    if (image.empty()) return;
    m_OpenCv = s;
    if (!LoadSequence(image, "OnOldStyTrackMidiEdit")) return;
    OpenTrackEditor(WqTrackNodeText(s.element, s.cv, s.track), s.track);
}

// ---- Dialogs ------------------------------------------------------------

template <class Model, class Dialog, class... Args> void CStyTreeView::RunEditorDialog(Args&&... args)
{
    Model model(*editor_, std::forward<Args>(args)...);
    Dialog dlg(this, model);
    if (dlg.ShowModal() == wxID_OK && model.changed) NoteEdited(model.changed);
}

void CStyTreeView::OnStyleFlags()
{
    if (!editor_ || !doc_ || !doc_->EditItem(row_)) return;
    RunEditorDialog<QeStyleFlagsDlgModel, CQeStyleFlagsDlg>(doc_->EditItem(row_)->NameText());
}

void CStyTreeView::OnChordTable()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_ || !s.IsElement() || editor_->QueryStyleElem(s.element) != 2) return;
    RunEditorDialog<QeChordTableDlgModel, CQeChordTableDlg>(int(s.element));
}

void CStyTreeView::OnNtt()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_ || !s.IsElement() || editor_->QueryStyleElem(s.element) != 2) return;
    RunEditorDialog<NttDlgModel, CNttDlg>(int(s.element));
}

void CStyTreeView::OnKeyChord()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_ || !s.IsTrack() || s.track < 2 || editor_->QueryStyleElem(s.element) != 2) return;
    RunEditorDialog<QeKeyChordDlgModel, CQeKeyChordDlg>(int(s.element), int(s.cv), int(s.track));
}

void CStyTreeView::OnTrackInfo()
{
    const QeTreeSelection s = ReadSelection();
    CStyItem* item = doc_ ? doc_->EditItem(row_) : nullptr;
    if (!editor_ || !item || !s.IsElement() || editor_->QueryStyleElem(s.element) != 2) return;
    TrackParamsDlgModel model(*editor_, s.element, item->NameText());
    CTrackParamsDlg dlg(this, model);
    if (dlg.ShowModal() != wxID_OK) return;
    if (model.modified) NoteEdited(model.modified);
    // The list's sound columns follow the programs.
    for (int e = 0; e < CStyItem::kElements; ++e)
        for (int t = 0; t < CStyItem::kTracks; ++t)
            item->sounds[size_t(e)][size_t(t)] = editor_->TrackProgram(e, t);
    doc_->RefreshList();
}

namespace {

std::optional<WqStyleItemRef> wqItemRef(CItemWxDoc* doc, int row)
{
    CStyItem* item = doc ? doc->EditItem(row) : nullptr;
    if (!item) return std::nullopt;
    return WqDialogItemRef(doc->ModelLetter(), item->data, [doc] { doc->SetModelModified(); });
}

} // namespace

void CStyTreeView::OnCvParameters()
{
    const QeTreeSelection s = ReadSelection();
    if (editor_ || IsPadTree() || !s.IsCv()) return;
    CvParamsDlgModel model(wqItemRef(doc_, row_), s.element, s.cv);
    if (!model.usable()) return;
    CCvParamsDlg dlg(this, model);
    dlg.ShowModal();
}

void CStyTreeView::OnWqChordTable()
{
    const QeTreeSelection s = ReadSelection();
    if (editor_ || IsPadTree() || !s.IsElement()) return;
    EditChordTableDlgModel model(wqItemRef(doc_, row_), s.element);
    if (!model.usable()) return;
    CEditChordTableDlg dlg(this, model);
    dlg.ShowModal();
}

void CStyTreeView::OnWqStyleProperties()
{
    CStyItem* item = doc_ ? doc_->EditItem(row_) : nullptr;
    if (editor_ || IsPadTree() || !item) return;
    auto* style = dynamic_cast<CZibStyWxDoc*>(doc_);
    if (!style) return;
    WqStylePropertiesModel model(item->data, doc_->ModelLetter(), style->Model().ProgramNameSource());
    if (!model.Usable()) return;
    CWqStylePropertiesDlg dlg(this, model, doc_->ModelLetter());
    if (dlg.ShowModal() == wxID_OK && model.changed) {
        doc_->SetModelModified();
        doc_->RefreshList();
    }
}

// ---- Deleting -----------------------------------------------------------

void CStyTreeView::AfterStructureChange(uint8_t element, uint8_t cv, uint8_t track)
{
    FillTree(rootTitle_);
    NoteEdited(1);
    ShowItem(element, cv, track);
}

void CStyTreeView::DeleteQeSE(uint8_t element)
{
    if (!editor_ || element == 255 || editor_->QueryStyleElem(element) == 0) return;
    if (doc_->UiPort().Ask(StyQuestion::YesNo, StyNotice::Numbered(kDeleteElementQuestion, "DeleteQeSE",
                                                                  StyNoticeIcon::Exclamation)) != StyAnswer::Yes)
        return;
    if (!ReleaseOpenCv({element, 255, 255})) return;
    editor_->DeleteStyleElem(element);
    AfterStructureChange(element, 255, 255);
}

void CStyTreeView::DeleteQeCV(uint8_t element, uint8_t cv)
{
    if (!editor_ || element == 255 || cv == 255 || editor_->QueryChordVar(element, cv) == 0) return;
    if (doc_->UiPort().Ask(StyQuestion::YesNo, StyNotice::Numbered(kDeleteCvQuestion, "DeleteQeCV",
                                                                  StyNoticeIcon::Exclamation)) != StyAnswer::Yes)
        return;
    if (!ReleaseOpenCv({element, cv, 255})) return;
    editor_->DeleteChordVar(element, cv);
    AfterStructureChange(element, cv, 255);
    Notify(StyNotice::Text("%s deleted! You should check %s ChordTable!!!",
                           {GetQeChordVariationName(cv), GetQeElementName(element)}, "DeleteQeCV",
                           StyNoticeIcon::Exclamation));
}

void CStyTreeView::DeleteQeTR(uint8_t element, uint8_t cv, uint8_t track)
{
    if (!editor_ || element == 255 || cv == 255 || track == 255 || editor_->QueryPattern(element, cv, track) == 0)
        return;
    if (doc_->UiPort().Ask(StyQuestion::YesNo, StyNotice::Numbered(kDeleteTrackQuestion, "DeleteQeTR",
                                                                  StyNoticeIcon::Exclamation)) != StyAnswer::Yes)
        return;
    if (!ReleaseOpenCv({element, cv, track})) return;
    editor_->DeletePattern(element, cv, track);
    AfterStructureChange(element, cv, track);
}

void CStyTreeView::DeleteSelection()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_) return;
    if (s.IsTrack() && editor_->QueryPattern(s.element, s.cv, s.track) == 2) DeleteQeTR(s.element, s.cv, s.track);
    else if (s.IsCv() && editor_->QueryChordVar(s.element, s.cv) == 2) DeleteQeCV(s.element, s.cv);
    else if (s.IsElement() && editor_->QueryStyleElem(s.element) == 2) DeleteQeSE(s.element);
}

// ---- Clipboard and new chord variations ---------------------------------

CQeStyleTreeEdits CStyTreeView::Edits()
{
    CQeStyleTreeEdits edits(editor_ ? editor_->Handle() : nullptr, doc_->UiPort(), doc_->ModelLetter(),
                            doc_->EditItem(row_));
    edits.selection = ReadSelection();
    edits.refill = [this] { FillTree(rootTitle_); };
    edits.show = [this](int e, int c, int t) { ShowItem(uint8_t(e), uint8_t(c), uint8_t(t)); };
    return edits;
}

void CStyTreeView::CopySelection()
{
    if (!editor_ || !doc_ || !ZibClipboardFormatRegistered()) return;
    Edits().CopySelection();
}

void CStyTreeView::PasteSelection()
{
    if (!editor_ || !doc_ || !ReleaseOpenCv(ReadSelection())) return;
    CQeStyleTreeEdits edits = Edits();
    edits.PasteSelection();
    if (edits.edited) NoteEdited(1);
}

void CStyTreeView::OnQeAddCv()
{
    if (!editor_ || !doc_) return;
    CQeStyleTreeEdits edits = Edits();
    edits.OnQeAddCv();
    if (edits.edited) NoteEdited(1);
}

} // namespace zib
