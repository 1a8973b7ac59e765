#include "platform/AppEvents.h"

namespace zib {

wxDEFINE_EVENT(EVT_ZIB_STY_MESSAGE, wxCommandEvent);
wxDEFINE_EVENT(EVT_ZIB_PRG_MESSAGE, wxCommandEvent);
wxDEFINE_EVENT(EVT_ZIB_POSITION_VALUE, wxCommandEvent);

} // namespace zib
