#pragma once

#include "mididoc/core/MidiDocDialogs.h"
#include "mididoc/core/MidiDocReports.h"
#include "mididoc/core/MidiDocViews.h"

namespace zib {

class CZibMidWxDoc;

// The seams of the MIDI document core in the running program: the views of
// the document's windows, its file dialogs and its message boxes, wait cursor
// and question. The dialogs of the event editors come with the window issue.
class CZibMidWxSeams : public MidiDocViews, public MidiDocDialogs, public MidiDocReports {
public:
    explicit CZibMidWxSeams(CZibMidWxDoc& doc) : m_doc(doc) {}

    // MidiDocViews
    void Refill() override;
    void Redraw() override;
    void Freeze() override;
    void Thaw() override;
    void TrackRowsChanged() override;
    void CloseEditors() override;
    void CloseViewer() override;
    bool OpenViewer(std::string_view titlePrefix, const std::filesystem::path& file) override;
    bool OpenDocument(const std::filesystem::path& file) override;

    // MidiDocDialogs
    std::optional<std::filesystem::path> DumpTarget(const std::string& defaultName,
                                                    const std::filesystem::path& folder) override;
    std::optional<MidiToStyleTarget> MidiToStyleFile(StyleSeries series, const std::string& defaultName,
                                                     const std::filesystem::path& folder, uint32_t model) override;

    // MidiDocReports
    void Report(const DocMessage& message) override;
    bool AskYesNo(const DocMessage& question) override;
    void BeginWait() override;
    void EndWait() override;

private:
    CZibMidWxDoc& m_doc;
};

} // namespace zib
