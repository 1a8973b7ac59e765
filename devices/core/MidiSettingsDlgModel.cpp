#include "devices/core/MidiSettingsDlgModel.h"

#include "devices/core/MidiDeviceNames.h"

#include <algorithm>

namespace zib {

namespace {

constexpr int kMaxDevices = 128;

std::vector<std::string> deviceList(const MidiDeviceNames& devices, bool output)
{
    const int count = std::clamp(output ? devices.OutDeviceCount() : devices.InDeviceCount(), 0, kMaxDevices);
    std::vector<std::string> names;
    for (int d = 0; d < count; ++d)
        names.push_back(DeviceListName(devices, output, d));
    return names;
}

int rowOf(int device, const std::vector<std::string>& list)
{
    return device >= 0 && size_t(device) < list.size() ? device : -1;
}

} // namespace

std::string DeviceListName(const MidiDeviceNames& devices, bool output, int device)
{
    const auto name = output ? devices.OutDeviceName(device) : devices.InDeviceName(device);
    return name ? *name : "???";
}

MidiSettingsDlgModel::MidiSettingsDlgModel(const PlaybackValues& values, const MidiDeviceNames& devices)
    : inDevices_(deviceList(devices, false)), outDevices_(deviceList(devices, true)),
      inSelection_(rowOf(values.MidiInDevID, inDevices_)),
      outSelection_(rowOf(values.MidiOutDevID, outDevices_)), externalPlayer_(values.MidiPlaybackApp == 1),
      percussion_(values.PlayPercOnDrumChan == 1)
{
}

void MidiSettingsDlgModel::SelectIn(int row)
{
    inSelection_ = rowOf(row, inDevices_);
}

void MidiSettingsDlgModel::SelectOut(int row)
{
    outSelection_ = rowOf(row, outDevices_);
}

PlaybackValues MidiSettingsDlgModel::Ok() const
{
    PlaybackValues values;
    values.MidiPlaybackApp = externalPlayer_ ? 1 : 2;
    values.PlayPercOnDrumChan = percussion_ ? 1 : 0;
    values.MidiInDevID = std::max(inSelection_, 0);
    values.MidiOutDevID = std::max(outSelection_, 0);
    return values;
}

} // namespace zib
