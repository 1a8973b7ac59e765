#pragma once

#include "devices/core/InstrumentUi.h"

namespace zib {

class CProgressDlg;

// The instrument operations' messages, progress window, wait cursor and the
// Add Instruments dialog, shown over the main window.
class CInstrumentUiWx : public InstrumentUi {
public:
    void Message(InstrumentMessage message, const std::string& detail) override;
    void ProgressStart(InstrumentProgress what) override;
    void ProgressStep() override;
    void ProgressEnd() override;
    void BeginWait() override;
    void EndWait() override;
    bool ChooseInstruments(std::vector<std::string>& names) override;

private:
    CProgressDlg* progress_ = nullptr;
};

} // namespace zib
