#include "mididoc/CMidiWindowTarget.h"

#include "ui/ShellServices.h"
#include "ui/CZibMdiChild.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/core/MidiTransport.h"

namespace zib {

MidiPositionTarget* ActiveMidiTarget()
{
    ShellServices* frame = ShellFrame() ? ShellServices::Get() : nullptr;
    CZibMdiChild* child = frame ? frame->ActiveZibChild() : nullptr;
    if (!child) return nullptr;
    const ChildKind kind = child->Kind();
    if (kind != ChildKind::ChildSplitterMid && kind != ChildKind::MidiEditEx && kind != ChildKind::MidiTempoTrackEdit)
        return nullptr;
    CZibMidWxDoc* doc = CZibMidWxDoc::OfWindow(child);
    return doc ? doc->Transport() : nullptr;
}

} // namespace zib
