#pragma once

#include "docs/style/CItemListView.h"

namespace zib {

class CZibPadDoc;
class CZibPadWxDoc;

// The list view of a pad document: one row per pad of the bank with the 13
// columns of a Qe style list, the pad bank chooser, Pad To MIDI, and the
// pad edit frame from Properties.
class CZibPadView : public CItemListView {
public:
    CZibPadView();

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;

    // CItemListSource
    std::string ListCellText(long row, long column) const override;

    // Opens the pad edit frame of the focused row.
    void OpenPadTree();

protected:
    CItemWxDoc* ItemDoc() const override;
    std::vector<StyColumn> Columns() const override;
    std::vector<std::string> ImageGlyphs() const override;
    int BaseRowImage(long row) const override;
    int FirstWideColumn() const override { return 5; }
    std::vector<MenuItemDef> PopupMenuDef() const override;
    void ColumnClicked(int column) override;
    std::optional<StyCommand> CommandOf(int id) const override;
    bool CommandEnabled(StyCommand command) const override;
    void RunCommand(StyCommand command) override;
    void OpenProperties() override { OpenPadTree(); }

private:
    CZibPadWxDoc* Doc() const;
    CZibPadDoc& Model() const;
    void OnBank(wxCommandEvent& event);

    wxDECLARE_DYNAMIC_CLASS(CZibPadView);
};

} // namespace zib
