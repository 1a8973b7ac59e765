#pragma once

#include "docs/style/CItemListView.h"

namespace zib {

class CZibStyDoc;
class CZibStyWxDoc;

// The list view of a style document: one row per style item, or per STS
// item in the STS view of a Qe file, with the item commands, the utilities
// (dumps, report, cleaning, Style To MIDI, playback), the element and bank
// choosers of Qe files and the too-large marks of Wq files.
class CZibStyView : public CItemListView {
public:
    CZibStyView();

    // wxView
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // CItemListSource
    std::string ListCellText(long row, long column) const override;

    // Opens the style edit frame of the focused row.
    void OpenStyleTree();

protected:
    CItemWxDoc* ItemDoc() const override;
    std::vector<StyColumn> Columns() const override;
    std::vector<std::string> ImageGlyphs() const override;
    int BaseRowImage(long row) const override;
    bool RowTooLarge(long row) const override;
    int FirstWideColumn() const override;
    std::vector<MenuItemDef> PopupMenuDef() const override;
    void ColumnClicked(int column) override;
    bool CommandEnabled(StyCommand command) const override;
    bool PopupEnabled(StyCommand command) const override;
    void RunCommand(StyCommand command) override;
    void OpenProperties() override { OpenStyleTree(); }
    void AfterRowsChanged() override;

private:
    CZibStyWxDoc* Doc() const;
    CZibStyDoc& Model() const;
    bool StsView() const;
    void PlaySelectedStyle();
    void OnStyleElement(wxCommandEvent& event);
    void OnBank(wxCommandEvent& event);

    std::vector<bool> tooLarge_;

    wxDECLARE_DYNAMIC_CLASS(CZibStyView);
};

} // namespace zib
