#pragma once

#include "ui/CZibMdiChild.h"
#include "docs/style/core/CQeStyleTreeEdits.h"
#include "docs/style/core/StyTreeRules.h"
#include "mididoc/core/CEventListParser.h"

#include <map>
#include <string>
#include <wx/treectrl.h>

class wxImageList;

namespace zib {

class CItemWxDoc;
class CStyPropSplitterFrameWnd;
class CWqStyleFile;
class TrackEditWindow;
class QeStyleEditor;

// The left pane of a style edit frame: one style item as a tree of style
// elements, chord variations and tracks, with the commands on the selected
// node: play a CV or track, edit a track's events in the track editor, the
// element, CV and track dialogs, delete, copy, paste, add a CV and the
// levels. A Qe item works through the frame's style editor, a Wq item
// through its Wq style data (play, track editing and the Wq dialogs only).
// The pad tree (CPadTreeView) is this view for a pad.
class CStyTreeView : public wxTreeCtrl {
public:
    CStyTreeView(wxWindow* parent, CStyPropSplitterFrameWnd& frame);
    ~CStyTreeView() override;

    // What the frame hands over before the first fill
    void SetDocument(CItemWxDoc* doc, int row);
    void SetQeEditor(QeStyleEditor* editor) { editor_ = editor; }
    void SetWqStyle(CWqStyleFile* style) { wq_ = style; }

    // The tree
    void FillTree(const std::string& title);
    void ExpandToLevel(int level);
    // Scrolls the node of that element, CV and track (255: left out) to the
    // top; false when there is none.
    bool ShowItem(uint8_t element, uint8_t cv, uint8_t track);
    // The track editor changed the open track: the selected node's image.
    void SetItemIcon(uint8_t element, uint8_t cv, uint8_t track, bool nonEmpty);

    // The selection: decoded again from the selected node.
    const QeTreeSelection& ReadSelection();
    const QeTreeSelection& Selection() const { return selection_; }
    bool RootSelected() const;
    // The state the enabling tables look at (the clipboard asked only when
    // `clipboard`: Paste's enabling).
    StyTreeState State(bool clipboard = false);

    // Commands (the frame forwards its menu's commands here)
    virtual void RunCommand(int id);
    bool CommandEnabled(int id);
    void PlaySelection();
    virtual void OnQeTrackMidiEdit();
    void OnOldStyTrackMidiEdit();
    void OnStyleFlags();
    void OnChordTable();
    void OnNtt();
    void OnKeyChord();
    void OnTrackInfo();
    void OnCvParameters();
    void OnWqChordTable();
    void OnWqStyleProperties();
    void DeleteSelection();
    void DeleteQeSE(uint8_t element);
    void DeleteQeCV(uint8_t element, uint8_t cv);
    void DeleteQeTR(uint8_t element, uint8_t cv, uint8_t track);
    void CopySelection();
    virtual void PasteSelection();
    void OnQeAddCv();

    // What the frame's rebuild reads and writes
    int m_Edited = 0;
    // An edit held by the tree's editor: `m_Edited` set and the document marked changed.
    void NoteEdited(int how);
    CEventListParser& Sequence() { return sequence_; }
    QeTreeSelection m_OpenCv; // element, CV (and for Wq the track) loaded into the sequence
    bool IsQe() const;

protected:
    // A pad tree: no Wq branch and its own paste and track editor.
    virtual bool IsPadTree() const { return false; }
    // Opens the track editor window over the sequence.
    void OpenTrackEditor(const std::string& nodeText, int channelOrTrack);
    // Titles the track editor after the document by `title`.
    void TitleAfterDocument(TrackEditWindow& window, const CZibMdiChild::TitleRule& title);
    // The edited MIDI image into the sequence; false after its message.
    bool LoadSequence(const std::vector<uint8_t>& image, const char* caption);
    // A rebuild's result before the track editor moves on: false when the
    // frame closes (-1) or the document goes (-2).
    bool WroteBack(int result);
    // Before a command reads the style (play, copy): what the track editor
    // and this tree hold goes into the item, as a save writes it; false when
    // it could not (the rebuild said why) and the command does not run.
    bool WroteBackEditFrame();
    // Before a paste or delete at `target`: when it reaches the chord
    // variation open in the track editor, the editor's edit goes into the
    // style and the editor closes, so that its sequence is not written back
    // later over what the paste or delete made. False when the write-back
    // failed (the edit is not pasted over nor deleted then).
    bool ReleaseOpenCv(const QeTreeSelection& target);
    // The user closed the track editor: its sequence goes back into the item.
    void TrackEditorClosed();
    // The clipboard edits of the selection, bound to this tree.
    CQeStyleTreeEdits Edits();
    void AfterStructureChange(uint8_t element, uint8_t cv, uint8_t track);
    // Runs a dialog of the style editor; a change it reports marks the tree edited.
    template <class Model, class Dialog, class... Args> void RunEditorDialog(Args&&... args);
    void Notify(const StyNotice& notice);

    CStyPropSplitterFrameWnd& frame_;
    CItemWxDoc* doc_ = nullptr;
    int row_ = -1;
    QeStyleEditor* editor_ = nullptr;
    CWqStyleFile* wq_ = nullptr;
    QeTreeSelection selection_;
    CEventListParser sequence_;

private:
    void OnSelChanged(wxTreeEvent& event);
    void OnRightClick(wxTreeEvent& event);
    // A command of the popup's, sent to the tree.
    void OnPopupCommand(wxCommandEvent& event);
    void OnActivated(wxTreeEvent& event);
    void OnKeyDown(wxTreeEvent& event);
    wxTreeItemId Root() const { return GetRootItem(); }

    wxImageList* images_ = nullptr;
    std::map<int, wxTreeItemId> nodes_;
    // The root's text ("Style Tree: <name>"), kept through every refill.
    std::string rootTitle_;
};

} // namespace zib
