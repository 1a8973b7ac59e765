#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/CZibMdiChild.h"
#include "docs/style/core/StyleBufferRebuild.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

class wxSplitterWindow;

namespace zib {

class CItemWxDoc;
class CStsTreeView;
class CStyTextView;
class CStyTreeView;
class CWqStyleFile;
class QeStyleEditor;

// The edit frame of one style item: the style tree on the left and, on the
// right, the STS tree of a Qe item or the text dump of a Wq item. It owns
// the item's editing object (a style editor for a Qe item, the Wq style data
// for a Wq item), routes the commands of its menu (233) and of the level bar
// to the tree, and writes the edited style back into the item when it
// closes, when the track editor moves to another chord variation and (Wq)
// when the style list becomes active again. The pad edit frame
// (CPadPropSplitterFrameWnd) is this frame for a pad.
class CStyPropSplitterFrameWnd : public CZibMdiChild {
public:
    // Makes the frame of `row` as a child of the main frame and loads the
    // item (an item that cannot be loaded leaves an empty tree).
    static CStyPropSplitterFrameWnd* Open(ZibMdiParentFrame& parent, const wxString& title, uint8_t* frameOpen,
                                          CItemWxDoc& doc, int row);
    ~CStyPropSplitterFrameWnd() override;
    // The frame's title: the document's name, the tree's and the item's
    // (Windows-1252 bytes).
    static wxString TitleFor(const wxString& documentName, std::string_view itemName, bool pad);

    // 0 loaded, 1 no resource instance from the item, 2 no style editor.
    int LoadStyle();
    // The rebuilds: 0 nothing to do or written back, -1 the edit could not
    // be written (the item is as it was), -2 the document must be aborted.
    int RecreateQeStyleBuffer();
    int RecreateOldStyleBuffer();
    // The rebuild of the item's series: what the tree and the track editor
    // hold goes into the item (results as above).
    int WriteBack();

    // The panes and the item
    CStyTreeView* Tree() const { return tree_; }
    CStsTreeView* StsTree() const { return sts_; }
    CStyTextView* TextPane() const { return text_; }
    CItemWxDoc& Document() const { return doc_; }
    // The main title names the item's document while the frame is active
    wxDocument* OwnerDocument() const override;
    int Row() const { return row_; }
    bool IsQeItem() const { return model_ == 'F' || model_ == 'X'; }
    // The Wq text pane moves to a node's header.
    void MoveTextPaneTo(const std::string& header);
    // The level bar: the pressed button (291-294).
    void OnLevelButton(int id);

    // CZibMdiChild
    ChildKind Kind() const override { return pad_ ? ChildKind::PadPropSplitter : ChildKind::StyPropSplitter; }
    int MenuTemplateId() const override { return 233; }
    const MenuBarDef* OwnMenu() const override;
    void FillStatus(ChildStatus& status) const override;
    wxString DocumentTitle() const;

protected:
    CStyPropSplitterFrameWnd(ZibMdiParentFrame& parent, const wxString& title, uint8_t* frameOpen, CItemWxDoc& doc,
                             int row, bool pad);
    bool CreatePanes();

    bool pad_;

private:
    void OnClose(wxCloseEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void Detach();
    StyleRebuildContext RebuildContext();

    uint8_t* frameOpen_;
    CItemWxDoc& doc_;
    int row_;
    uint32_t model_;
    bool attached_ = true;
    int level_ = -1; // the level button pressed last (-1: none)
    wxSplitterWindow* splitter_ = nullptr;
    CStyTreeView* tree_ = nullptr;
    CStsTreeView* sts_ = nullptr;
    CStyTextView* text_ = nullptr;
    std::unique_ptr<QeStyleEditor> editor_;
    std::unique_ptr<CWqStyleFile> wq_;
    std::filesystem::path dumpFile_;
};

} // namespace zib
