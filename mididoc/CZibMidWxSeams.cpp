#include "mididoc/CZibMidWxSeams.h"

#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/core/MidiTransport.h"
#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"

namespace zib {

void CZibMidWxSeams::RebuildBarList()
{
    if (MidiTransport* transport = m_doc.Transport()) transport->Rebuild();
}

void CZibMidWxSeams::GoToPosition(uint32_t tick)
{
    if (MidiTransport* transport = m_doc.Transport()) transport->GoToTick(tick);
}

void CZibMidWxSeams::Refill()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::Redraw()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::Freeze()
{
    if (CZibMidView* view = m_doc.TrackView()) view->FreezeViews();
}

void CZibMidWxSeams::Thaw()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::TrackRowsChanged()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(true);
}

void CZibMidWxSeams::CloseEditors()
{
    m_doc.CloseEditorFrames();
}

void CZibMidWxSeams::CloseViewer()
{
    m_doc.CloseTextViewer();
}

bool CZibMidWxSeams::OpenViewer(std::string_view titlePrefix, const std::filesystem::path& file)
{
    return m_doc.ShowInTextViewer(UiTextWx(titlePrefix), file.string());
}

bool CZibMidWxSeams::OpenDocument(const std::filesystem::path& file)
{
    return Shell().OpenDocumentFile(file.string()) != nullptr;
}

} // namespace zib
