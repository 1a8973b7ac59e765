#pragma once

#include "mididoc/CMidiWxDialogs.h"
#include "mididoc/core/MidiDocViews.h"

namespace zib {

class CZibMidWxDoc;

// The seams of the MIDI document core in the running program: the views of
// the document's windows, its dialogs and its message boxes, wait cursor and
// question.
class CZibMidWxSeams : public MidiDocViews, public CMidiWxDialogs {
public:
    explicit CZibMidWxSeams(CZibMidWxDoc& doc) : m_doc(doc) {}

    // MidiDocViews
    void Refill() override;
    void Redraw() override;
    void Freeze() override;
    void Thaw() override;
    void TrackRowsChanged() override;
    void RebuildBarList() override;
    void GoToPosition(uint32_t tick) override;
    void CloseEditors() override;
    void CloseViewer() override;
    bool OpenViewer(std::string_view titlePrefix, const std::filesystem::path& file) override;
    bool OpenDocument(const std::filesystem::path& file) override;

private:
    CZibMidWxDoc& m_doc;
};

} // namespace zib
