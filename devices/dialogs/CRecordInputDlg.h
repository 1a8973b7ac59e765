#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/RecordInputDlgModel.h"

#include <array>

class wxCheckBox;
class wxListCtrl;
class wxRadioButton;

namespace zib {

// "Track Record Input": which incoming MIDI channels each of the 64 tracks
// records. The caller constructs it with the codes and the selected track
// (64 or more selects track 1), runs it, and on OK takes Codes().
class CRecordInputDlg : public CZibDialog {
public:
    CRecordInputDlg(wxWindow* parent, const std::array<uint32_t, 64>& codes, int selectedTrack);

    const std::array<uint32_t, 64>& Codes() const { return m_model.Codes(); }
    RecordInputDlgModel& Model() { return m_model; }

private:
    void ShowCode();
    void RefreshRow(int row);
    void OnOK(wxCommandEvent& event);

    RecordInputDlgModel m_model;
    wxListCtrl* m_list = nullptr;
    wxRadioButton* m_undefined = nullptr;
    wxRadioButton* m_all = nullptr;
    wxRadioButton* m_channels = nullptr;
    std::array<wxCheckBox*, 16> m_boxes{};
};

} // namespace zib
