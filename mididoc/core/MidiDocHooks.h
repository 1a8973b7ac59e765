#pragma once

#include "mididoc/core/EventClipboard.h"
#include "ui/core/InstrumentNames.h"
#include "mididoc/core/MidiDocDialogs.h"
#include "mididoc/core/MidiDocReports.h"
#include "mididoc/core/MidiDocViews.h"

#include <functional>

namespace zib {

// The seams of a MIDI, pad or style document core: where it shows itself,
// asks, copies and reports. An empty pointer stands for the default that
// does nothing, so a test sets only what it checks.
struct MidiDocHooks {
    MidiDocViews* views = nullptr;
    MidiDocDialogs* dialogs = nullptr;
    EventClipboard* clipboard = nullptr;
    MidiDocReports* reports = nullptr;
    const InstrumentNames* names = nullptr;
    // Opening: the instrument definitions are loaded (once per run) ...
    std::function<void()> loadInstruments;
    // ... and the MIDI device lists rebuilt
    std::function<void()> enumerateDevices;

    MidiDocViews& Views() const { return views ? *views : NoViews(); }
    MidiDocDialogs& Dialogs() const { return dialogs ? *dialogs : NoDialogs(); }
    EventClipboard& Clipboard() const { return clipboard ? *clipboard : NoClipboard(); }
    MidiDocReports& Reports() const { return reports ? *reports : NoReports(); }
    const InstrumentNames& Names() const { return names ? *names : DefaultInstrumentNames(); }
};

} // namespace zib
