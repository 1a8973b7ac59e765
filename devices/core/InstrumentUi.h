#pragma once

#include <string>
#include <vector>

namespace zib {

// What the instrument operations report to the user.
enum class InstrumentMessage {
    CannotReadInstrumentNames,        // localized message 71
    CannotReadInstrumentDefinitions,  // localized message 6
    CannotReadDefinitionsFromFile,    // "Cannot read instrument definitions from file: %s" (the path)
    CannotExtractInstrument,          // localized message 72
    CannotOpenOutputFile,             // "Error - Cannot open output file"
};

// The progress windows of the two loads.
enum class InstrumentProgress {
    LoadingInstrumentDefinitions, // "Loading Instrument Definitions..."
    LoadingPortRelations,         // "Loading Port-Instrument Relations..."
};

// The windows the instrument operations show; the program's windows implement
// it, tests record what was asked. Every default does nothing (and chooses
// every instrument).
class InstrumentUi {
public:
    virtual ~InstrumentUi() = default;

    // Messages; `detail` fills the %s of the texts that have one
    virtual void Message(InstrumentMessage /*message*/, const std::string& /*detail*/) {}

    // The progress window of a load
    virtual void ProgressStart(InstrumentProgress /*what*/) {}
    virtual void ProgressStep() {}
    virtual void ProgressEnd() {}

    // The wait cursor over a long step
    virtual void BeginWait() {}
    virtual void EndWait() {}

    // The Add Instruments dialog over the names an .INS file defines: removes
    // the names the user did not choose; false when the user cancels.
    virtual bool ChooseInstruments(std::vector<std::string>& /*names*/) { return true; }
};

} // namespace zib
