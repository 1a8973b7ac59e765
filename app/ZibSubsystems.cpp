#include "app/ZibSubsystems.h"

namespace zib {

void ConnectSubsystems(ZibSubsystems& /*subsystems*/)
{
    // Each subsystem that lands adds its services here: its document
    // template(s) to AddDocTemplates, its dialogs, converters and device
    // services to the matching members.
}

} // namespace zib
