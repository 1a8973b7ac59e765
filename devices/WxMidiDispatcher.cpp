#include "devices/WxMidiDispatcher.h"

#include <wx/app.h>

namespace zib {

WxMidiDispatcher& WxMidiDispatcher::Get()
{
    static WxMidiDispatcher dispatcher;
    return dispatcher;
}

void WxMidiDispatcher::Post(std::function<void()> call)
{
    if (wxTheApp) wxTheApp->CallAfter(std::move(call));
}

} // namespace zib
