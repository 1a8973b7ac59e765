#include "docs/program/CGlobalListView.h"

#include "docs/program/ProgramIcons.h"
#include "docs/program/core/ProgramMenus.h"

namespace zib {

std::vector<CProgramListCtrl::Column> CGlobalListView::Columns() const
{
    return {{NameColumnTitle(), NameColumnWidth()}, {"Parameter Value", 500}};
}

std::string CGlobalListView::CellText(int row, int column) const
{
    const auto& texts = Global().texts;
    if (row < 0 || row >= int(texts.size())) return {};
    return column == 0 ? texts[size_t(row)].name : column == 1 ? texts[size_t(row)].value : std::string();
}

int CGlobalListView::IconResource() const
{
    return Global().model == 'M' ? 131 : Global().model == 'I' ? 130 : 116;
}

void CGlobalListView::BindViewCommands()
{
    BindCommand(progcmd::Properties, [this] { Properties(); }, [] { return true; });
}

void CGlobalListView::Properties()
{
    if (Global().model != 'M' && Global().model != 'I') return;
    if (RunDialog()) GetDocument()->UpdateAllViews();
}

} // namespace zib
