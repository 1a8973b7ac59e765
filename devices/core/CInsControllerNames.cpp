#include "devices/core/CInsControllerNames.h"

#include <utility>

namespace zib {

namespace {

// The "Standard" controller names; every other number has none.
constexpr std::pair<int, const char*> kStandardControllers[] = {
    {0, "Bank Select (MSB)"},
    {1, "Modulation Wheel (MSB)"},
    {2, "Breath controller (MSB)"},
    {4, "Foot controller (MSB)"},
    {5, "Portamento Time (MSB)"},
    {6, "Data Entry (MSB)"},
    {7, "Volume (MSB)"},
    {8, "Balance (MSB)"},
    {10, "Pan position (MSB)"},
    {11, "Expression (MSB)"},
    {32, "Bank Select (LSB)"},
    {33, "Modulation Wheel (LSB)"},
    {34, "Breath controller (LSB)"},
    {36, "Foot controller (LSB)"},
    {37, "Portamento Time (LSB)"},
    {38, "Data Entry (LSB)"},
    {39, "Volume (LSB)"},
    {40, "Balance (LSB)"},
    {42, "Pan position (LSB)"},
    {43, "Expression (LSB)"},
    {64, "Damper Pedal (Sustain)"},
    {65, "Portamento (on/off)"},
    {66, "Sustenuto(on/off)"},
    {67, "Soft Pedal (on/off)"},
    {69, "Hold 2"},
    {91, "Effects Level"},
    {92, "Tremulo Level"},
    {93, "Chorus Level"},
    {94, "Celeste Level"},
    {95, "Phaser Level"},
    {96, "Data Entry +"},
    {97, "Data Entry -"},
    {120, "All Sound Off"},
    {121, "All Controllers Off"},
    {122, "Local control (on/off)"},
    {123, "All Notes Off"},
    {124, "Omni Mode Off"},
    {125, "Omni Mode On"},
    {126, "Mono Operation"},
    {127, "Poly Operation"},
};

} // namespace

CInsControllerNames CInsControllerNames::Standard()
{
    CInsControllerNames list;
    list.name = "Standard";
    for (const auto& [number, text] : kStandardControllers)
        list.names[size_t(number)] = text;
    return list;
}

} // namespace zib
