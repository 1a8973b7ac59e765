#pragma once

#include "ui/CZibFileDialog.h"
#include "ui/core/FileDialogModels.h"
#include "ui/core/FolderDialogModel.h"
#include "ui/dialogs/CZibDialog.h"

#include <string>

class wxGenericDirCtrl;
class wxStaticText;
class wxTextCtrl;
class wxTreeEvent;

namespace zib {

// The folder picker: a folder box with completion over a folder browser, and
// an "Open" button that accepts the typed folder, creating it with its
// missing parents when the user agrees. Title "Select Folder".
class CFolderDialog : public CZibDialog {
public:
    // All three may be empty / null. `extraFilter` holds "name|pattern" pairs
    // shown after "Show Folders Only" instead of "All Files (*.*)".
    CFolderDialog(const std::string& initialFolder, const std::string& extraFilter, wxWindow* parent);

    // After OK: the folder the dialog last showed, ending in '/'.
    std::string Folder() const { return model_.folder(); }

    wxTextCtrl* FolderBox() const { return box_; }

private:
    void ShowFolder(const std::string& folder);
    void Follow(const std::string& folder);
    // Shows an outcome's message or question; true when the dialog ends with OK.
    bool Handle(FolderDialogModel::Outcome outcome);
    void OnOpen(wxCommandEvent& event);
    void OnEnter(wxCommandEvent& event);
    void OnText(wxCommandEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnBrowse(wxTreeEvent& event);

    FolderDialogModel model_;
    wxTextCtrl* box_ = nullptr;
    wxGenericDirCtrl* browser_ = nullptr;
    int lastKey_ = 0;
    bool following_ = false;
};

// The file dialog of the MIDI-to-style conversion, with a drop-down of the
// target keyboard file formats (label 1047, combo 1026).
class CFileDlgMidiToSty : public CZibFileDialog {
public:
    CFileDlgMidiToSty(wxWindow* parent, const wxString& message, const wxString& defaultDir,
                      const wxString& defaultFile, const wxString& wildcard, long style);

    // Set before running: the model letter to preselect; after OK: the chosen one.
    void SetModelLetter(uint32_t letter) { model_ = MidiToStyFormatModel(letter); }
    uint32_t ModelLetter() const { return model_.modelLetter(); }

    // wxFileDialog: reads the chosen format when the dialog ends.
    int ShowModal() override;

private:
    static wxWindow* CreateFormatControl(wxWindow* parent);

    MidiToStyFormatModel model_{'9'};
};

// "Confirm File Overwrite" (150): Yes, Yes To All, No or Cancel for one file.
class CConfirmOverwriteDlg : public CZibDialog {
public:
    explicit CConfirmOverwriteDlg(wxWindow* parent, const wxString& message = wxString());

    void SetMessage(const wxString& message);

    // The result of ShowModal as the button that was pressed.
    static ConfirmOverwriteResult ResultOf(int modalResult);

private:
    wxStaticText* message_ = nullptr;
};

} // namespace zib
