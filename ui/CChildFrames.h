#pragma once

#include "ui/CZibMdiChild.h"

#include <cstdint>
#include <optional>
#include <string>
#include <wx/docview.h>

namespace zib {

// What a document list view tells the status bar (implemented by the list
// views of the style, pad, program, performance and arrangement documents).
class CItemListStatusSource {
public:
    virtual ~CItemListStatusSource() = default;
    // The item name of the focused row (Windows-1252 bytes), or nullopt.
    virtual std::optional<std::string> FocusedItemName() const = 0;
    virtual int ItemCount() const = 0;
    virtual uint64_t TotalItemSize() const = 0;
};

// An MDI child frame that shows a view of a document.
class CZibDocChildFrame : public wxDocChildFrameAny<CZibMdiChild, ZibMdiParentFrame> {
public:
    // The template of the frame's document decides the menu.
    int MenuTemplateId() const override;
    wxDocument* OwnerDocument() const override { return GetDocument(); }
    // List frames report the focused item, count and total size of their view.
    void FillStatus(ChildStatus& status) const override;
};

// One frame class per document kind, so the main frame can tell the kind of
// the active window. They differ only in that.
class CChildFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildFrame; }
    wxDECLARE_DYNAMIC_CLASS(CChildFrame);
};

class CChildStyFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildSty; }
    wxDECLARE_DYNAMIC_CLASS(CChildStyFrame);
};

class CChildPcgFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildPcg; }
    wxDECLARE_DYNAMIC_CLASS(CChildPcgFrame);
};

class CChildPrfFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildPrf; }
    wxDECLARE_DYNAMIC_CLASS(CChildPrfFrame);
};

class CChildPadFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildPad; }
    wxDECLARE_DYNAMIC_CLASS(CChildPadFrame);
};

class CChildArrFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildArr; }
    wxDECLARE_DYNAMIC_CLASS(CChildArrFrame);
};

class CChildGblFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildGbl; }
    wxDECLARE_DYNAMIC_CLASS(CChildGblFrame);
};

class CChildArgFrame : public CZibDocChildFrame {
public:
    ChildKind Kind() const override { return ChildKind::ChildArg; }
    wxDECLARE_DYNAMIC_CLASS(CChildArgFrame);
};

} // namespace zib
