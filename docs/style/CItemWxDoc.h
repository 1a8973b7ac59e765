#pragma once

#include "ui/CZibDocument.h"
#include "docs/style/CStyWxUiPort.h"
#include "docs/style/core/CZibItemDoc.h"
#include "docs/style/core/StyNotice.h"
#include "docs/style/core/StyUiPort.h"
#include "mididoc/core/TrackEditorOwner.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <wx/docview.h>

class wxWindow;

namespace zib {

class CMidiParserEx;
class CStyItem;
class TrackEditWindow;

// The framework side of a style or pad document: reads the whole file and
// hands it to the GUI-free model, writes the model's file image back
// atomically, asks before unsaved changes are lost, remembers the file's
// folder and kind in the settings, and closes itself when the model's data
// became unusable. It keeps the tool windows opened on the document (the
// edit frame of one item, the text-dump window and the track event-list
// window) and what the track editor works with: its owner, which holds the
// sequence under edit and the undo manager (owner kind 2).
class CItemWxDoc : public CZibDocument {
public:
    CItemWxDoc();

    // wxDocument
    // A new document is an empty file of the document's kind.
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveModified() override;
    bool SaveAs() override;
    bool DoSaveDocument(const wxString& path) override;
    bool DeleteContents() override;

    // Tool windows, each with its open flag
    wxWindow* m_EditFrame = nullptr;
    uint8_t m_EditFrameOpen = 0;
    wxWindow* m_TextDumpWindow = nullptr;
    uint8_t m_TextDumpOpen = 0;
    TrackEditWindow* m_TrackEventWindow = nullptr;
    uint8_t m_TrackEventOpen = 0;
    // The track editor's owner (made on first use with the document's model).
    TrackEditorOwner& TrackOwner();

    // Closes the tool windows (before items are deleted, moved or replaced).
    void CloseToolWindows();
    // Closes the track event-list window and clears the undo manager.
    void CloseTrackEventWindow();
    // Before the document is written: what the open edit frame holds (its
    // tree's edits and its track editor's) goes into its item, as closing
    // the frame would write it. False when it could not (the rebuild said
    // why; the item is as it was, or the document is aborted): nothing may
    // be saved then.
    bool WriteBackEditFrame();
    // After a command: a model that asks to be aborted closes the document.
    void CheckAbort();
    // The data became unusable: the model is cleared and the window closes
    // without asking to save.
    void AbortAndClear();

    // The GUI-free model of the document
    virtual CZibItemDoc& Model() = 0;
    virtual const CZibItemDoc& Model() const = 0;

    // What the edit frame of an item reads and writes
    virtual bool IsPad() const = 0;
    uint32_t ModelLetter() const { return Model().m_Model; }
    virtual CStyItem* EditItem(int row) = 0;
    StyUiPort& UiPort() { return port_; }
    // Marks the model (and so the document) modified.
    void SetModelModified() { Model().SetModified(); }
    // Redraws the rows of the list.
    void RefreshList();
    // The model's settings taken anew from the program's settings.
    void RefreshSettings();

protected:
    // Puts the model on this document's UI port and modified flag (from the
    // derived constructor, once the model exists).
    void AttachModel();
    // The save dialog's filter ("Name|*.EXT||").
    virtual std::string_view SaveFilter() const = 0;

private:
    CStyWxUiPort port_{*this};
    std::unique_ptr<TrackEditorOwner> trackOwner_;
};

} // namespace zib
