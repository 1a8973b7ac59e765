#include "devices/core/MidiPortsDlgModel.h"

#include "devices/core/MidiDeviceNames.h"
#include "devices/core/MidiSettingsDlgModel.h"

#include <algorithm>
#include <climits>

namespace zib {

namespace {

constexpr int kPorts = UserMidiPortMap::kPorts;

bool selected(const std::vector<bool>& rows, size_t row)
{
    return row < rows.size() && rows[row];
}

} // namespace

MidiPortsDlgModel::MidiPortsDlgModel(const MidiPortsValues& values, const MidiDeviceNames& devices)
{
    const int outCount = std::clamp(devices.OutDeviceCount(), 0, kPorts);
    const int inCount = std::clamp(devices.InDeviceCount(), 0, kPorts);

    int known = 0;
    for (int p = 0; p < kPorts; ++p)
        if (values.out[p].deviceId < 128) ++known;
    outCountChanged_ = known != outCount;

    // Each present device at the place of its first entry; new ones after all.
    struct Placed {
        int place;
        int device;
        uint8_t enabled;
    };
    std::vector<Placed> placed;
    for (int d = 0; d < outCount; ++d) {
        Placed p{INT_MAX, d, 0};
        for (int port = 0; port < kPorts; ++port)
            if (values.out[port].deviceId == d) {
                p = {port, d, values.out[port].enabled};
                break;
            }
        placed.push_back(p);
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.place < b.place; });
    for (size_t i = 0; i < placed.size(); ++i) {
        outItems_.push_back({DeviceListName(devices, true, placed[i].device), placed[i].device});
        outSelected_.push_back(placed[i].enabled != 0);
    }

    for (int d = 0; d < inCount; ++d) {
        inItems_.push_back({DeviceListName(devices, false, d), d});
        inSelected_.push_back(values.in[d].enabled != 0);
    }
}

std::vector<int> MidiPortsDlgModel::MissingSelections(const std::vector<bool>& outSelected,
                                                      const std::vector<bool>& inSelected)
{
    std::vector<int> missing;
    if (std::find(outSelected.begin(), outSelected.end(), true) == outSelected.end())
        missing.push_back(kMsgNoOutPorts);
    if (std::find(inSelected.begin(), inSelected.end(), true) == inSelected.end())
        missing.push_back(kMsgNoInPorts);
    return missing;
}

MidiPortsValues MidiPortsDlgModel::Ok(const std::vector<bool>& outSelected,
                                      const std::vector<bool>& inSelected) const
{
    MidiPortsValues result;
    int port = 0;
    for (bool wanted : {true, false})
        for (size_t row = 0; row < outItems_.size(); ++row)
            if (selected(outSelected, row) == wanted)
                result.out[port++] = {uint8_t(outItems_[row].device), uint8_t(wanted ? 1 : 0)};
    // The IN map's place is the device number.
    for (size_t row = 0; row < inItems_.size(); ++row)
        result.in[inItems_[row].device] = {uint8_t(inItems_[row].device),
                                           uint8_t(selected(inSelected, row) ? 1 : 0)};
    return result;
}

} // namespace zib
