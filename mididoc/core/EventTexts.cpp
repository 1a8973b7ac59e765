#include "mididoc/core/EventTexts.h"

#include "midi/CMidiEvent.h"
#include "midi/MidiEventKind.h"
#include "midi/ValueTexts.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TextAppend.h"

#include <algorithm>
#include <array>

namespace zib {

namespace {

constexpr std::array<std::string_view, 10> kTextMetaWords = {
    "Seq. Num", "Text", "Copyright", "Track Name", "Instrument", "Lyric", "Marker", "Cue Point", "Prog Name",
    "Port Name"};

constexpr std::array<std::string_view, 10> kDialogNames = {
    "Sequence Number", "Text", "Copyright", "Track Name", "Instrument Name", "Lyrics", "Marker", "Cuepoint",
    "Program Name", "Port Name"};

constexpr std::array<std::string_view, 15> kKeyNames = {"Cb", "Gb", "Db", "Ab", "Eb", "Bb", " F", " C",
                                                       " G", " D", " A", " E", " B", "F#", "C#"};

constexpr std::array<std::string_view, 7> kChannelWords = {"NoteOFF", "Note", "KeyPress", "Ctrl",
                                                          "Prog",    "ChnAft", "Wheel"};

bool isDump(EventTextStyle style)
{
    return style == EventTextStyle::FileDump || style == EventTextStyle::ListDump ||
           style == EventTextStyle::TrackListDump;
}

// Meta types 0-9: the text after the length, bounded by the raw bytes
void appendTextMeta(std::string& out, const CMidiEvent& e, EventTextStyle style)
{
    std::span<const uint8_t> text;
    if (!MetaData(e, text)) {
        out += "??";
        return;
    }
    const std::string_view view(reinterpret_cast<const char*>(text.data()), text.size());
    if (isDump(style)) {
        if (view.size() < 100) {
            out += view;
        } else {
            out += view.substr(0, 96);
            out += "...";
        }
    } else {
        out += view.substr(0, 149);
    }
}

} // namespace

std::string_view MetaTypeWord(int type)
{
    if (type >= 0 && type <= 9) return kTextMetaWords[size_t(type)];
    switch (type) {
    case 0x20:
        return "MIDI Channel";
    case 0x21:
        return "MIDI Port";
    case 0x51:
        return "Tempo";
    case 0x54:
        return "SMPTE Offset";
    case 0x58:
        return "TimeSignature";
    case 0x59:
        return "Key Signature";
    case 0x7F:
        return "Proprietary";
    default:
        return "Unknown Meta";
    }
}

std::string_view MetaEventDialogName(int type)
{
    return type >= 0 && type <= 9 ? kDialogNames[size_t(type)] : std::string_view();
}

std::string_view KeyNameText(int sharpsFlats)
{
    return sharpsFlats >= -7 && sharpsFlats <= 7 ? kKeyNames[size_t(sharpsFlats + 7)] : std::string_view("??");
}

uint32_t TempoBpm(uint32_t microseconds)
{
    return microseconds == 0 ? 0 : 60000000u / microseconds;
}

void AppendCodeWord(std::string& out, const CMidiEvent& e, EventTextStyle style)
{
    const uint8_t s = e.status;
    if (s < 0x80) {
        if (style == EventTextStyle::WholeList || style == EventTextStyle::TrackList ||
            style == EventTextStyle::TempoList)
            out += "Unknown";
        return;
    }
    if (s < 0xF0) {
        const uint8_t group = s & 0xF0;
        const bool vex = (e.flags & CMidiEvent::kVexNoise) && (group == 0x80 || group == 0x90);
        if (vex && style == EventTextStyle::TrackList) {
            out += "VEX Noise";
            return;
        }
        if (vex && style == EventTextStyle::TrackListDump) {
            out += "VexNoise";
            return;
        }
        if (group == 0x90 && eventDataByte(e, 1) == 0 &&
            (style == EventTextStyle::FileDump || style == EventTextStyle::WholeList ||
             style == EventTextStyle::TrackList)) {
            out += "NoteOff";
            return;
        }
        out += kChannelWords[size_t((group - 0x80) >> 4)];
        return;
    }
    if (s == 0xF0 || s == 0xF7) {
        if (style == EventTextStyle::FileDump) {
            out += "Sysex 0x";
            AppendHex2(out, s, true);
        } else {
            out += "Sysex";
        }
        return;
    }
    if (s != 0xFF) return;
    const int type = MetaType(e);
    if (type < 0) return;
    if (style == EventTextStyle::FileDump && type >= 0x80) return;
    out += MetaTypeWord(type);
}

void AppendDumpRowStart(std::string& out, const CMidiEvent& e, EventTextStyle style)
{
    AppendSigned(out, int32_t(e.time), 8); // "%8ld" as a 32-bit long gives it
    out.push_back(' ');
    AppendPosition(out, e.measure, e.beat, e.tick);
    if (isChannelStatus(e.status)) {
        out += "  ";
        AppendSigned(out, (e.status & 0x0F) + 1, 2);
    } else {
        out += "  --";
    }
    out += "   ";
    const size_t word = out.size();
    AppendCodeWord(out, e, style);
    const size_t written = out.size() - word;
    if (written < 13) out.append(13 - written, ' ');
}

void AppendChannelDumpText(std::string& out, const CMidiEvent& e, int alphabet, bool noteOffWord)
{
    const uint8_t group = e.status & 0xF0;
    if (group == 0x80 && noteOffWord) {
        out += "NoteOFF";
    } else if (group == 0x80 || group == 0x90 || group == 0xA0) {
        AppendPadded(out, GetNoteOctaveText(eventDataByte(e, 0), alphabet), 5, true);
        out += "  ";
        AppendUnsigned(out, eventDataByte(e, 1), 4);
    } else if (group == 0xB0) {
        AppendUnsigned(out, eventDataByte(e, 0), 5, true);
        out += "  ";
        AppendUnsigned(out, eventDataByte(e, 1), 4);
    } else if (group == 0xC0 || group == 0xD0) {
        AppendUnsigned(out, eventDataByte(e, 0), 5, true);
    } else {
        AppendUnsigned(out, uint32_t(eventDataByte(e, 1)) * 128 + eventDataByte(e, 0));
    }
}

void AppendTempoText(std::string& out, const CMidiEvent& e, bool withMicros)
{
    std::span<const uint8_t> data;
    if (!MetaData(e, data) || data.size() < 3) {
        out += "??";
        return;
    }
    const uint32_t micros = uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2];
    if (micros == 0) {
        out += "???";
        return;
    }
    out += "BPM=";
    AppendUnsigned(out, TempoBpm(micros), 6, true);
    if (withMicros) {
        out += "| micros/quarter=";
        AppendUnsigned(out, micros);
    }
}

void AppendTimeSignatureText(std::string& out, const CMidiEvent& e, bool full)
{
    std::span<const uint8_t> data;
    if (!MetaData(e, data) || data.size() < 4) {
        out += "??";
        return;
    }
    if (data[1] == 0 || data[1] > 7) {
        out += "???";
        return;
    }
    AppendSigned(out, data[0], 2);
    out.push_back('/');
    AppendUnsigned(out, 1u << data[1], 7, true);
    if (full) {
        out += "| MIDI-clocks/click=";
        AppendUnsigned(out, data[2]);
        out += " | 32nds/quarter=";
        AppendUnsigned(out, data[3]);
    }
}

void AppendMetaDataText(std::string& out, const CMidiEvent& e, EventTextStyle style)
{
    if (e.status == 0xF0 || e.status == 0xF7) {
        out += "...";
        return;
    }
    if (e.status != 0xFF) {
        if (style == EventTextStyle::TempoList) out += "??";
        return;
    }
    const int type = MetaType(e);
    std::span<const uint8_t> data;
    if (type >= 0 && type <= 9) {
        appendTextMeta(out, e, style);
        return;
    }
    switch (type) {
    case 0x20:
    case 0x21:
        if (!MetaData(e, data) || data.empty()) {
            out += "??";
        } else if (style == EventTextStyle::FileDump) {
            AppendSigned(out, int(data[0]) + 1);
        } else if (style == EventTextStyle::TempoList) {
            AppendSigned(out, int8_t(data[0]));
        } else {
            AppendSigned(out, data[0]);
        }
        return;
    case 0x51:
        AppendTempoText(out, e, isDump(style));
        return;
    case 0x58:
        AppendTimeSignatureText(out, e, isDump(style));
        return;
    case 0x59:
        if (!MetaData(e, data) || data.size() < 2) {
            out += "??";
        } else {
            out += KeyNameText(int8_t(data[0]));
        }
        return;
    case 0x7F:
        out += "...";
        return;
    default:
        out += "??";
        return;
    }
}

} // namespace zib
