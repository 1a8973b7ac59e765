#include "docs/program/core/ArgDocModel.h"

#include "midi/ValueTexts.h"

namespace zib {

namespace {

constexpr const char* kHeading = "----------";

std::string heading(const char* name)
{
    return std::string(6, ' ') + name;
}

} // namespace

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
    const auto add = [this](std::string name, std::string value) { texts.push_back({std::move(name), std::move(value)}); };
    // Channels 32-42 are read unsigned (0xFF is "???"), 43-47 signed (0xFF is "OFF").
    const auto unsignedChannel = [&b](size_t at) { return GetMidiChannelText(b[at]); };
    const auto signedChannel = [&b](size_t at) { return GetMidiChannelText(int8_t(b[at])); };
    add(heading("MIDI CHANNELS"), kHeading);
    if (model == 'M') {
        static constexpr const char* kParts[] = {"UP1", "UP2", "LOW", "DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3"};
        for (size_t i = 0; i < 9; ++i)
            add(std::string(kParts[i]) + " MIDI Channel", unsignedChannel(32 + i));
        add("Chord1 MIDI Channel", signedChannel(43));
        add("Chord2 MIDI Channel", signedChannel(44));
        add("ArrChange MIDI Channel", signedChannel(46));
        add("KbdSet MIDI Channel", signedChannel(47));
        add(heading("LOWER MEMORY"), kHeading);
        add("Lower Memory Type", GetBassInversionModeText(b[70] & 3));
        add("Target", GetLowHarmText((b[70] >> 2) & 3));
        add(heading("CHORD RECOGNITION"), kHeading);
        add("Chord Recognition Type", GetChordRecognitionModeText(b[68] & 15, model));
        add("Trigger Mode", GetNoteModeText(b[68] >> 4));
        add(heading("CHORD SCAN"), kHeading);
        add("Auto Chord Scan", GetOnOffText(b[69]));
        return;
    }
    static constexpr const char* kParts[] = {"Main", "Sub",  "Lower", "DRUM",    "PERC",  "BASS",
                                             "ACC1", "ACC2", "ACC3",  "Harmony", "K.Bass"};
    for (size_t i = 0; i < 11; ++i)
        add(std::string(kParts[i]) + " MIDI Channel", unsignedChannel(32 + i));
    static constexpr const char* kSigned[] = {"Chord", "Chord2", "Chord3", "ArrChange", "KbdSet"};
    for (size_t i = 0; i < 5; ++i)
        add(std::string(kSigned[i]) + " MIDI Channel", signedChannel(43 + i));
    add(heading("VELOCITY"), kHeading);
    add("Dynamic Backing", GetOnOffFlagText(b[57]));
    add("Velocity Control", GetBreakFillText(b[58]));
    add(heading("CHORD SOUND"), kHeading);
    add("Chord Sound Synchro", GetOnOffFlagText(b[64]));
    add("Harmony Type", b[49] & 0x10 ? "ACTUAL" : "AUTO");
    add(heading("BUTTONS"), kHeading);
    add("Chord Memory", GetOnOffFlagText(b[48]));
    add("Sound Memory", GetOnOffFlagText(b[49] & 1));
    add("Bass Inversion", GetOnOffFlagText(b[50]));
    add("Emsemble SW", GetOnOffFlagText(b[54]));
    add("Tempo Lock", GetOnOffFlagText(b[52]));
    add("Keyboard Lock", GetOnOffFlagText(b[53]));
    add("Split Point Lock", GetOnOffFlagText(b[59]));
    add(heading("SYNCHRO"), kHeading);
    add("Synchro Start", GetOnOffFlagText(b[56] & 1));
    add("Synchro Stop", GetOnOffFlagText((b[56] >> 1) & 1));
    add(heading("CHORD RECOGNITION"), kHeading);
    add("Chord Recognition Mode", GetChordRecognitionModeText(b[68], model));
}

} // namespace zib
