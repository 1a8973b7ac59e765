#include "docs/style/CStyPropSplitterFrameWnd.h"

#include "ui/ShellServices.h"
#include "ui/core/CommandIds.h"
#include "docs/style/CItemWxDoc.h"
#include "docs/style/CPadTreeView.h"
#include "docs/style/CStsTreeView.h"
#include "docs/style/CStyTextView.h"
#include "docs/style/CStyTreeView.h"
#include "docs/style/CZibStyWxDoc.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/CStyItem.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyTreeMenus.h"
#include "docs/style/core/StyTreeModel.h"
#include "docs/style/core/StyWindowCommandIds.h"
#include "docs/style/core/StyleBufferRebuild.h"
#include "docs/style/core/StyleMidiExport.h"
#include "platform/WxText.h"
#include "styles/CWqStyleFile.h"

#include <fstream>
#include <wx/accel.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/utils.h>

namespace zib {

namespace {

// The commands of menu 233 and the tree that the frame hands to its tree.
constexpr int kFrameCommands[] = {
    stycmd::StartStopPlayback, stycmd::StyleFlags,   stycmd::TrackInfo,       stycmd::Ntt,
    stycmd::ChordTable,        stycmd::EditTrackEvents, stycmd::WqCvParameters, stycmd::PlayCv,
    stycmd::PlayTrack,         stycmd::WqStyleProperties, stycmd::WqChordTable, stycmd::SetKeyChord,
    cmd::EditCut,              stycmd::EditItem,     stycmd::DeleteItems,     cmd::EditCopy,
    cmd::EditPaste,
};

} // namespace

CStyPropSplitterFrameWnd::CStyPropSplitterFrameWnd(ZibMdiParentFrame& parent, const wxString& title, uint8_t* frameOpen,
                                                   CItemWxDoc& doc, int row, bool pad)
    : CZibMdiChild(&parent, wxID_ANY, title), pad_(pad), frameOpen_(frameOpen), doc_(doc), row_(row)
{
    const CStyItem* item = doc.EditItem(row);
    model_ = item ? item->model : doc.ModelLetter();
    if (pad_ && model_ != 'X') model_ = 'F';
    if (item)
        TitleAfter(doc, [name = item->NameText(), pad](const wxString& document) { return TitleFor(document, name, pad); });
}

wxString CStyPropSplitterFrameWnd::TitleFor(const wxString& documentName, std::string_view itemName, bool pad)
{
    return documentName + (pad ? " - PadTree - " : " - StyleTree - ") + ItemTextToWx(itemName);
}

CStyPropSplitterFrameWnd* CStyPropSplitterFrameWnd::Open(ZibMdiParentFrame& parent, const wxString& title,
                                                         uint8_t* frameOpen, CItemWxDoc& doc, int row)
{
    auto* frame = new CStyPropSplitterFrameWnd(parent, title, frameOpen, doc, row, false);
    if (!frame->CreatePanes()) {
        frame->Destroy();
        return nullptr;
    }
    frame->LoadStyle();
    return frame;
}

bool CStyPropSplitterFrameWnd::CreatePanes()
{
    splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE);
    tree_ = pad_ ? new CPadTreeView(splitter_, *this) : new CStyTreeView(splitter_, *this);
    wxWindow* right = nullptr;
    auto* styles = dynamic_cast<CZibStyWxDoc*>(&doc_);
    if (!pad_ && IsQeItem() && styles) right = sts_ = new CStsTreeView(splitter_, *styles, row_, model_);
    else right = text_ = new CStyTextView(splitter_);
    splitter_->SetMinimumPaneSize(40);
    splitter_->SplitVertically(tree_, right, 250);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(splitter_, 1, wxEXPAND);
    SetSizer(sizer);

    for (int id : kFrameCommands) {
        Bind(wxEVT_MENU, &CStyPropSplitterFrameWnd::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CStyPropSplitterFrameWnd::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    Bind(
        wxEVT_MENU, [this](wxCommandEvent& e) { OnLevelButton(e.GetId()); }, cmd::ToWxId(cmd::LevelRoot),
        cmd::ToWxId(cmd::LevelTrack));
    Bind(wxEVT_CLOSE_WINDOW, &CStyPropSplitterFrameWnd::OnClose, this);
    // Ctrl+S saves the document of the item, as it does in the track
    // editor: the menu has no Save of its own.
    wxAcceleratorEntry save(wxACCEL_CTRL, 'S', cmd::ToWxId(cmd::FileSave));
    SetAcceleratorTable(wxAcceleratorTable(1, &save));
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            if (attached_) doc_.Save();
        },
        cmd::ToWxId(cmd::FileSave));
    if (frameOpen_) *frameOpen_ = 1;
    Show();
    Activate();
    tree_->SetFocus();
    return true;
}

wxDocument* CStyPropSplitterFrameWnd::OwnerDocument() const
{
    return attached_ ? &doc_ : nullptr;
}

CStyPropSplitterFrameWnd::~CStyPropSplitterFrameWnd()
{
    if (attached_) Detach();
    if (ShellServices* shell = ShellServices::Get()) shell->ShowToolbarsForActiveFrame();
}

void CStyPropSplitterFrameWnd::Detach()
{
    attached_ = false;
    if (frameOpen_) *frameOpen_ = 0;
    if (doc_.m_EditFrame == this) doc_.m_EditFrame = nullptr;
}

wxString CStyPropSplitterFrameWnd::DocumentTitle() const
{
    return attached_ ? doc_.GetUserReadableName() : wxString();
}

const MenuBarDef* CStyPropSplitterFrameWnd::OwnMenu() const
{
    // One menu for every style and pad edit frame.
    static const MenuBarDef menu = StyEditFrameMenuDef();
    return &menu;
}

void CStyPropSplitterFrameWnd::FillStatus(ChildStatus& status) const
{
    status.kind = Kind();
    if (tree_) {
        const QeTreeSelection& s = tree_->Selection();
        status.element = s.element;
        status.chordVariation = s.cv;
        status.track = s.track;
    }
    status.qeSeries = pad_ || IsQeItem();
}

// ---- Loading ------------------------------------------------------------

int CStyPropSplitterFrameWnd::LoadStyle()
{
    tree_->SetDocument(&doc_, row_);
    CStyItem* item = doc_.EditItem(row_);
    if (!item) return 1;
    wxBusyCursor wait;
    const std::string name = item->NameText();
    if (pad_ || IsQeItem()) {
        LibraryQeStyleEditor::Made made = LibraryQeStyleEditor::FromItem(item->data);
        if (made.result != 0) {
            tree_->FillTree("Style Tree: " + name);
            return made.result;
        }
        editor_ = std::move(made.editor);
        tree_->SetQeEditor(editor_.get());
        tree_->FillTree("Style Tree: " + name);
        if (sts_) {
            auto& styles = static_cast<CZibStyWxDoc&>(doc_).Model();
            const std::string stsName =
                row_ < styles.StsCount() ? styles.m_StsItems[size_t(row_)].NameText() : std::string();
            sts_->FillStsTree("STS Tree: " + stsName);
        }
    } else {
        wq_ = std::make_unique<CWqStyleFile>(item->data.data(), item->data.size(), doc_.ModelLetter());
        tree_->SetWqStyle(wq_.get());
        tree_->FillTree("Style Tree: " + name);
        // The text pane shows the style's dump from a file of this frame's own.
        dumpFile_ = UniqueTempFile(TemporaryFolder(), "StyleTxtDump").replace_extension(".txt");
        {
            std::ofstream out(dumpFile_, std::ios::binary | std::ios::trunc);
            if (out) wq_->DumpToText(out);
        }
        if (text_) {
            text_->m_ItemIndex = row_;
            text_->ShowFile(dumpFile_);
        }
    }
    return 0;
}

void CStyPropSplitterFrameWnd::MoveTextPaneTo(const std::string& header)
{
    if (text_ && !pad_) text_->MoveTo(header);
}

// ---- Writing back -------------------------------------------------------

StyleRebuildContext CStyPropSplitterFrameWnd::RebuildContext()
{
    StyleRebuildContext c;
    c.sequence = &tree_->Sequence();
    c.edited = &tree_->m_Edited;
    c.notify = [this](const StyNotice& n) { doc_.UiPort().Message(n); };
    c.closeEventWindow = [this] { doc_.CloseTrackEventWindow(); };
    c.setModified = [this] { doc_.SetModelModified(); };
    return c;
}

int CStyPropSplitterFrameWnd::RecreateQeStyleBuffer()
{
    if (!editor_ || !tree_) return 0;
    const StyleRebuildContext c = RebuildContext();
    QeRebuildTarget t;
    t.editor = editor_.get();
    t.element = tree_->m_OpenCv.element;
    t.cv = tree_->m_OpenCv.cv;
    t.storeItemData = [this](std::vector<uint8_t> data) {
        if (CStyItem* item = doc_.EditItem(row_)) item->data = std::move(data);
    };
    const int result = zib::RecreateQeStyleBuffer(c, t);
    doc_.RefreshList();
    return result;
}

int CStyPropSplitterFrameWnd::RecreateOldStyleBuffer()
{
    auto* styles = dynamic_cast<CZibStyWxDoc*>(&doc_);
    if (!wq_ || !tree_ || !styles) return 0;
    const StyleRebuildContext c = RebuildContext();
    WqRebuildTarget t;
    t.element = tree_->m_OpenCv.element;
    t.cv = tree_->m_OpenCv.cv;
    t.track = tree_->m_OpenCv.track;
    t.replaceTrackData = [this, styles](std::span<const uint8_t> smf, int e, int cv, int track) {
        return styles->Model().ReplaceWqTrackData(row_, smf, e, cv, track);
    };
    t.remakeStyleData = [this] {
        CStyItem* item = doc_.EditItem(row_);
        if (!item) return false;
        wq_ = std::make_unique<CWqStyleFile>(item->data.data(), item->data.size(), doc_.ModelLetter());
        tree_->SetWqStyle(wq_.get());
        return true;
    };
    const int result = zib::RecreateOldStyleBuffer(c, t);
    doc_.RefreshList();
    return result;
}

int CStyPropSplitterFrameWnd::WriteBack()
{
    return IsQeItem() || pad_ ? RecreateQeStyleBuffer() : RecreateOldStyleBuffer();
}

void CStyPropSplitterFrameWnd::OnClose(wxCloseEvent&)
{
    if (!attached_) {
        Destroy();
        return;
    }
    if (doc_.m_TrackEventOpen) doc_.CloseTrackEventWindow();
    const int result = WriteBack();
    tree_->SetQeEditor(nullptr);
    tree_->SetWqStyle(nullptr);
    editor_.reset();
    wq_.reset();
    Detach();
    if (result == -2) doc_.AbortAndClear();
    // Only this frame's own dump file goes.
    if (!dumpFile_.empty()) {
        std::error_code ec;
        std::filesystem::remove(dumpFile_, ec);
    }
    Destroy();
}

// ---- Commands -----------------------------------------------------------

void CStyPropSplitterFrameWnd::OnCommand(wxCommandEvent& event)
{
    if (tree_ && attached_) tree_->RunCommand(cmd::FromWxId(event.GetId()));
}

void CStyPropSplitterFrameWnd::OnUpdateCommand(wxUpdateUIEvent& event)
{
    event.Enable(tree_ && attached_ && tree_->CommandEnabled(cmd::FromWxId(event.GetId())));
}

void CStyPropSplitterFrameWnd::OnLevelButton(int id)
{
    ShellServices* main = ShellFrame() ? ShellServices::Get() : nullptr;
    if (!tree_ || !main) return;
    const int pressed = id - cmd::LevelRoot;
    if (pressed < 0 || pressed > 3) return;
    const int level = StyLevelAfterPress(pressed, pressed == level_);
    level_ = level;
    tree_->ExpandToLevel(level);
    for (int i = 0; i < 4; ++i)
        main->CheckToolbarButton(cmd::LevelRoot + i, i == level ? 1 : 0);
}

} // namespace zib
