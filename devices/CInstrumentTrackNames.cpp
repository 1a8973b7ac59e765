#include "devices/CInstrumentTrackNames.h"

#include "ui/ShellServices.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"

#include <wx/app.h>

namespace zib {

void CInstrumentTrackNames::Load() const
{
    store_.LoadInstrumentDefinitions();
    store_.LoadPortInstrumentRelations();
    EnumMidiDevices();
}

void CInstrumentTrackNames::LoadNow()
{
    loadAsked_ = true;
    Load();
}

void CInstrumentTrackNames::LoadSoon() const
{
    if (loadAsked_ || !wxTheApp) return;
    loadAsked_ = true;
    // Not while a list asks for its cells: the load shows a progress window.
    wxTheApp->CallAfter([this] {
        Load();
        if (ZibMdiParentFrame* frame = ShellFrame()) frame->Refresh();
    });
}

std::string CInstrumentTrackNames::OutPortName(int port, int channel) const
{
    LoadSoon();
    const std::string name = store_.GetPortChannelText(port, channel);
    return name.empty() ? CTrackNameSource::OutPortName(port, channel) : name;
}

std::string CInstrumentTrackNames::BankName(int port, int channel, int bank) const
{
    LoadSoon();
    return store_.GetBankNameText(port, channel, bank);
}

std::string CInstrumentTrackNames::PatchName(int port, int channel, int bank, int program) const
{
    LoadSoon();
    return store_.GetPatchNameText(port, channel, bank, program);
}

} // namespace zib
