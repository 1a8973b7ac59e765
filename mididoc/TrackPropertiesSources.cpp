#include "mididoc/TrackPropertiesSources.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/ZibSettings.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"

#include <algorithm>

namespace zib {

std::vector<TrackPropertiesSources::Relation> AppPortRelations()
{
    std::vector<TrackPropertiesSources::Relation> relations;
    for (const auto& r : AppInstruments().Relations())
        if (r) relations.push_back({r->port, r->channel, r->instrumentName});
    return relations;
}

TrackPropertiesSources AppTrackPropertiesSources()
{
    CInstrumentStore& store = AppInstruments();
    store.LoadInstrumentDefinitions();
    store.LoadPortInstrumentRelations();
    TrackPropertiesSources s;
    for (const auto& instrument : store.Instruments()) {
        if (!instrument) continue;
        TrackPropertiesSources::Instrument def{instrument->name, {}};
        for (const auto& list : instrument->patchLists)
            def.banks.push_back({list.bank, list.name, list.names});
        s.instruments.push_back(std::move(def));
    }
    s.relations = AppPortRelations();
    const UserMidiPortMap& ports = Shell().Settings().UserMidiOutPorts;
    for (int p = 0; p < UserMidiPortMap::kPorts; ++p)
        s.outPorts[size_t(p)] = {ports[p].deviceId, ports[p].enabled};
    auto& subsystems = Shell().Subsystems();
    s.outDeviceCount = subsystems.MidiOutDeviceCount ? std::clamp(subsystems.MidiOutDeviceCount(), 0, 128) : 0;
    for (size_t p = 0; p < s.portNames.size(); ++p) s.portNames[p] = Shell().MidiOutDeviceNames()[p];
    return s;
}

} // namespace zib
