#pragma once

#include "ui/CZibDocument.h"
#include "docs/program/core/ItemDocBase.h"

#include <functional>
#include <string>
#include <wx/docview.h>

namespace zib {

// What the program, performance, arrangement and global documents share on
// screen: the framework's open, save, save-as and close steps over their
// models, the modified flag kept by the model, and the close after a fatal
// error. Commands are bound to the model's operations with their enabling
// rule; after each the document closes itself when the model asks to.
class CProgramWxDoc : public CZibDocument {
public:
    virtual ProgramDocBase& Base() = 0;
    const ProgramDocBase& Base() const { return const_cast<CProgramWxDoc*>(this)->Base(); }

    // wxDocument
    bool OnOpenDocument(const wxString& file) override;
    bool OnSaveDocument(const wxString& file) override;
    bool OnSaveModified() override;
    bool SaveAs() override;
    bool IsModified() const override { return Base().modified; }
    bool DeleteContents() override;
    void Modify(bool modified) override;

    // Closes the document once the running command is done (fatal errors).
    void CloseAfterFatalError();
    // After every command of the document or its view.
    void AfterCommand();
    // Binds a command of the document's menu to an operation and its rule.
    void BindCommand(int id, std::function<void()> action, std::function<bool()> enabled);
    // The item commands of a document with an item list: Delete, Empty Item,
    // Extract Item, Extract All Items and Select All (enabled with items), and
    // Import Item(s) (always).
    void BindItemCommands(ItemDocBase& m, std::function<bool()> hasItems)
    {
        BindCommand(kDeleteItems, [&m] { m.OnEditDelete(); }, hasItems);
        BindCommand(kEmptyItem, [&m] { m.OnEditEmpty(); }, hasItems);
        BindCommand(kExtractItem, [&m] { m.OnEditExtract(); }, hasItems);
        BindCommand(kExtractAllItems, [&m] { m.OnEditExtractAll(); }, hasItems);
        BindCommand(kImportItems, [&m] { m.OnEditImport(); }, [] { return true; });
        BindCommand(kSelectAll, [&m] { m.OnEditSelectAll(); }, hasItems);
    }

protected:
    CProgramWxDoc();
    static const int kDeleteItems, kEmptyItem, kExtractItem, kExtractAllItems, kImportItems, kSelectAll;
    // Save As: the filter and default extension of the document's file kind.
    virtual std::string SaveFilter() const = 0;
    virtual std::string SaveExtension() const = 0;
};

} // namespace zib
