#include "docs/program/core/ArgDocModel.h"

#include "midi/ValueTexts.h"

namespace zib {

bool ArgDocModel::Parse()
{
    if (model != 'M' && model != 'I') {
        Notify(DocMessage::Text("File type not supported", {}, "ParseArg"));
        return false;
    }
    if (image.size() != kImageSize) {
        Notify(DocMessage::Text("Bad file size!!! File possibly corrupted!!!", {}, "ParseArg"));
        return false;
    }
    MakeRows(model == 'M' ? 22 : 36);
    return true;
}

void ArgDocModel::FillTexts()
{
    texts.clear();
    if (image.size() != kImageSize) return;
    const auto& b = image;
    // Channels 32-42 are read unsigned (0xFF is "???"), 43-47 signed (0xFF is "OFF").
    const auto unsignedChannel = [&b](size_t at) { return GetMidiChannelText(b[at]); };
    const auto signedChannel = [&b](size_t at) { return GetMidiChannelText(int8_t(b[at])); };
    AddHeading("MIDI CHANNELS");
    if (model == 'M') {
        static constexpr const char* kParts[] = {"UP1", "UP2", "LOW", "DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3"};
        for (size_t i = 0; i < 9; ++i)
            AddText(std::string(kParts[i]) + " MIDI Channel", unsignedChannel(32 + i));
        AddText("Chord1 MIDI Channel", signedChannel(43));
        AddText("Chord2 MIDI Channel", signedChannel(44));
        AddText("ArrChange MIDI Channel", signedChannel(46));
        AddText("KbdSet MIDI Channel", signedChannel(47));
        AddHeading("LOWER MEMORY");
        AddText("Lower Memory Type", GetBassInversionModeText(b[70] & 3));
        AddText("Target", GetLowHarmText((b[70] >> 2) & 3));
        AddHeading("CHORD RECOGNITION");
        AddText("Chord Recognition Type", GetChordRecognitionModeText(b[68] & 15, model));
        AddText("Trigger Mode", GetNoteModeText(b[68] >> 4));
        AddHeading("CHORD SCAN");
        AddText("Auto Chord Scan", GetOnOffText(b[69]));
        return;
    }
    static constexpr const char* kParts[] = {"Main", "Sub",  "Lower", "DRUM",    "PERC",  "BASS",
                                             "ACC1", "ACC2", "ACC3",  "Harmony", "K.Bass"};
    for (size_t i = 0; i < 11; ++i)
        AddText(std::string(kParts[i]) + " MIDI Channel", unsignedChannel(32 + i));
    static constexpr const char* kSigned[] = {"Chord", "Chord2", "Chord3", "ArrChange", "KbdSet"};
    for (size_t i = 0; i < 5; ++i)
        AddText(std::string(kSigned[i]) + " MIDI Channel", signedChannel(43 + i));
    AddHeading("VELOCITY");
    AddText("Dynamic Backing", GetOnOffFlagText(b[57]));
    AddText("Velocity Control", GetBreakFillText(b[58]));
    AddHeading("CHORD SOUND");
    AddText("Chord Sound Synchro", GetOnOffFlagText(b[64]));
    AddText("Harmony Type", b[49] & 0x10 ? "ACTUAL" : "AUTO");
    AddHeading("BUTTONS");
    AddText("Chord Memory", GetOnOffFlagText(b[48]));
    AddText("Sound Memory", GetOnOffFlagText(b[49] & 1));
    AddText("Bass Inversion", GetOnOffFlagText(b[50]));
    AddText("Emsemble SW", GetOnOffFlagText(b[54]));
    AddText("Tempo Lock", GetOnOffFlagText(b[52]));
    AddText("Keyboard Lock", GetOnOffFlagText(b[53]));
    AddText("Split Point Lock", GetOnOffFlagText(b[59]));
    AddHeading("SYNCHRO");
    AddText("Synchro Start", GetOnOffFlagText(b[56] & 1));
    AddText("Synchro Stop", GetOnOffFlagText((b[56] >> 1) & 1));
    AddHeading("CHORD RECOGNITION");
    AddText("Chord Recognition Mode", GetChordRecognitionModeText(b[68], model));
}

} // namespace zib
