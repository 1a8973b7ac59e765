#include "mididoc/core/MetronomDlgModel.h"

#include "mididoc/core/PositionDlgModels.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

MetronomDlgModel::MetronomDlgModel(const MetronomeSettings& given, int enabledPorts)
    : given_(given), ports_(std::clamp(enabledPorts, 0, 128)), preCount_(std::min(given.precountNumber, kMaxCount)),
      port_(given.port >= ports_ ? 1 : given.port + 1), channel_(given.channel >= 16 ? 10 : given.channel + 1),
      duration_(std::min(given.duration, kMaxCount)), firstVelocity_(std::min<int>(given.firstBeatVelocity, 127)),
      otherVelocity_(std::min<int>(given.otherBeatsVelocity, 127)), firstKey_(std::min<uint8_t>(given.firstBeatKey, 127)),
      otherKey_(std::min<uint8_t>(given.otherBeatsKey, 127))
{
    preCount_ = std::max(preCount_, 0);
    duration_ = std::max(duration_, 0);
}

int& MetronomDlgModel::slot(Field field)
{
    switch (field) {
    case Field::PreCount:
        return preCount_;
    case Field::Port:
        return port_;
    case Field::Channel:
        return channel_;
    case Field::Duration:
        return duration_;
    case Field::FirstVelocity:
        return firstVelocity_;
    case Field::OtherVelocity:
        break;
    }
    return otherVelocity_;
}

int MetronomDlgModel::Value(Field field) const
{
    return const_cast<MetronomDlgModel*>(this)->slot(field);
}

int MetronomDlgModel::max(Field field) const
{
    switch (field) {
    case Field::PreCount:
    case Field::Duration:
        return kMaxCount;
    case Field::Port:
        return ports_;
    case Field::Channel:
        return 16;
    default:
        return 127;
    }
}

std::string MetronomDlgModel::KeyText(int key)
{
    return GetNoteOctaveText(key, 0);
}

std::string MetronomDlgModel::StepFirstKey(int step)
{
    firstKey_ = uint8_t(std::clamp(firstKey_ + (step > 0 ? 1 : -1), 0, 127));
    return KeyText(firstKey_);
}

std::string MetronomDlgModel::StepOtherKey(int step)
{
    otherKey_ = uint8_t(std::clamp(otherKey_ + (step > 0 ? 1 : -1), 0, 127));
    return KeyText(otherKey_);
}

std::optional<std::string> MetronomDlgModel::Type(Field field, std::string_view text)
{
    const auto typed = ParseDialogInt(text);
    if (!typed) return std::nullopt; // an empty edit on the way to a number
    int& value = slot(field);
    if (*typed < 0 || *typed > max(field)) return std::to_string(value);
    value = int(*typed);
    return std::nullopt;
}

MetronomeSettings MetronomDlgModel::Ok(bool playback, bool recording, bool measures) const
{
    MetronomeSettings r = given_;
    r.mode = playback && recording ? 3 : playback ? 2 : recording ? 1 : 0;
    r.precountUnit = measures ? 0 : 1;
    r.precountNumber = std::min(preCount_, kMaxCount);
    r.duration = std::min(duration_, kMaxCount);
    // A typed port 0 names no port; one past the enabled ports the first.
    r.port = port_ == 0 ? 255 : port_ > ports_ ? 0 : uint8_t(port_ - 1);
    // Channels count from 1: a typed 0 is the first channel, one past 16 channel 10.
    r.channel = channel_ == 0 ? 0 : channel_ > 16 ? 9 : uint8_t(channel_ - 1);
    r.firstBeatKey = firstKey_;
    r.otherBeatsKey = otherKey_;
    r.firstBeatVelocity = uint8_t(std::min(firstVelocity_, 127));
    r.otherBeatsVelocity = uint8_t(std::min(otherVelocity_, 127));
    return r;
}

} // namespace zib
