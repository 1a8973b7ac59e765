#include "docs/style/core/CleanStyleEventsDlgModel.h"

namespace zib {

std::vector<std::string> CleanStyleEventsDlgModel::ControllerEntries()
{
    std::vector<std::string> entries{"ALL"};
    for (int c = 0; c < 128; ++c)
        entries.push_back(std::to_string(c));
    return entries;
}

CleanEventsChoice CleanStyleEventsDlgModel::Ok(bool pitchBend, bool channelPressure, bool polyPressure, bool control,
                                               bool programChange, int controllerEntry)
{
    CleanEventsChoice choice;
    choice.pitchBend = pitchBend;
    choice.channelPressure = channelPressure;
    choice.polyPressure = polyPressure;
    choice.control = control;
    choice.programChange = programChange;
    choice.controller = control && controllerEntry >= 1 && controllerEntry <= 128 ? uint8_t(controllerEntry - 1) : 255;
    return choice;
}

} // namespace zib
