#include "docs/program/core/ArgGlobalDlgModel.h"

#include "midi/ValueTexts.h"

#include <cstdio>

namespace zib {

namespace {

struct Switch {
    int id;
    const char* label;
    DialogControl::Kind kind;
    std::vector<std::string> options;
};

// The switches of each model, as radio groups (by their first button) and check boxes.
std::vector<Switch> switchesOf(int model)
{
    using K = DialogControl::Kind;
    if (model == 'M')
        return {
            {1337, "Auto chord scan", K::Check, {}},
            {1338, "Lower Memory Type", K::Radio, {"Actual", "Auto", "Bass"}},
            {1605, "Target", K::Radio, {"LOW", "HARM", "BOTH"}},
            {1329, "Chord Recognition Type", K::Radio, {"Fingered1", "Fingered2", "One Finger"}},
            {1608, "Trigger", K::Radio, {"Note ON", "ON-OFF"}},
        };
    return {
        {1312, "Dynamic Backing", K::Check, {}},
        {1313, "Control", K::Radio, {"OFF", "Break", "Fill1", "Fill2"}},
        {1317, "Synchro with Start/Stop", K::Check, {}},
        {1318, "Harmony Type", K::Radio, {"Auto", "Actual"}},
        {1320, "Start", K::Check, {}},
        {1321, "Stop", K::Check, {}},
        {1322, "Chord Memory", K::Check, {}},
        {1323, "Sound Memory", K::Check, {}},
        {1324, "Bass Inversion", K::Check, {}},
        {1325, "Ensemble", K::Check, {}},
        {1326, "Tempo Lock", K::Check, {}},
        {1327, "Keyboard Lock", K::Check, {}},
        {1328, "Split Point Lock", K::Check, {}},
        {1329, "Chord Recognition", K::Radio, {"Easy", "Normal", "One Finger"}},
    };
}

// A switch's value from the image, and its store into it (`v` never -1 here).
int readSwitch(int id, const std::vector<uint8_t>& b)
{
    switch (id) {
    case 1337: return b[69] != 0;
    case 1338: return (b[70] & 3) == 0 ? -1 : (b[70] & 3) - 1;
    case 1605: return ((b[70] >> 2) & 3) <= 2 ? (b[70] >> 2) & 3 : -1;
    case 1329: return (b[68] & (b[4] == 'M' ? 15 : 255)) <= 2 ? b[68] & (b[4] == 'M' ? 15 : 255) : -1;
    case 1608: return (b[68] >> 4) <= 1 ? b[68] >> 4 : -1;
    case 1312: return b[57] != 0;
    case 1313: return b[58] <= 3 ? b[58] : -1;
    case 1317: return b[64] != 0;
    case 1318: return (b[49] >> 4) & 1;
    case 1320: return b[56] & 1;
    case 1321: return (b[56] >> 1) & 1;
    case 1322: return b[48] != 0;
    case 1323: return b[49] & 1;
    case 1324: return b[50] != 0;
    case 1325: return b[54] != 0;
    case 1326: return b[52] != 0;
    case 1327: return b[53] != 0;
    case 1328: return b[59] != 0;
    default: return -1;
    }
}

void setBit(uint8_t& byte, int bit, bool on)
{
    byte = uint8_t(on ? byte | (1 << bit) : byte & ~(1 << bit));
}

void writeSwitch(int id, int v, std::vector<uint8_t>& b)
{
    switch (id) {
    case 1337: b[69] = uint8_t(v); break;
    case 1338: b[70] = uint8_t((b[70] & ~3) | (v + 1)); break;
    case 1605: b[70] = uint8_t((b[70] & ~12) | (v << 2)); break;
    case 1329:
        if (b[4] == 'M')
            b[68] = uint8_t((b[68] & 0xF0) | v);
        else
            b[68] = uint8_t(v);
        break;
    case 1608: b[68] = uint8_t((b[68] & 0x0F) | (v << 4)); break;
    case 1312: b[57] = uint8_t(v); break;
    case 1313: b[58] = uint8_t(v); break;
    case 1317: b[64] = uint8_t(v); break;
    case 1318: setBit(b[49], 4, v == 1); break;
    case 1320: setBit(b[56], 0, v == 1); break;
    case 1321: setBit(b[56], 1, v == 1); break;
    case 1322: b[48] = uint8_t(v); break;
    case 1323: setBit(b[49], 0, v == 1); break;
    case 1324: b[50] = uint8_t(v); break;
    case 1325: b[54] = uint8_t(v); break;
    case 1326: b[52] = uint8_t(v); break;
    case 1327: b[53] = uint8_t(v); break;
    case 1328: b[59] = uint8_t(v); break;
    default: break;
    }
}

std::string padded(const char* label)
{
    std::string s(label);
    s.resize(8, ' ');
    return s;
}

} // namespace

ArgGlobalDlgModel::ArgGlobalDlgModel(const ArgDocModel& doc) : model_(doc.model), image_(doc.image)
{
    if (model_ == 'M') {
        static constexpr const char* kLabels[] = {"Up1Kbd", "Up2Kbd", "LowKbd", "Drum", "Perc", "Bass", "Acc1",
                                                  "Acc2",   "Acc3",   "Chord1", "Chord2", "ArrChg", "KbdSet"};
        static constexpr size_t kBytes[] = {32, 33, 34, 35, 36, 37, 38, 39, 40, 43, 44, 46, 47};
        for (size_t i = 0; i < 13; ++i)
            records.push_back({padded(kLabels[i]), kBytes[i], kBytes[i] >= 43, i >= 9, 0, 0});
    } else {
        static constexpr const char* kLabels[] = {"Main", "Sub",    "Lower", "Drum",   "Perc",   "Bass",
                                                  "Acc1", "Acc2",   "Acc3",  "Harmo",  "K.Bass", "Chord",
                                                  "Chord2", "Chord3", "ArrChg", "KbdSet"};
        for (size_t i = 0; i < 16; ++i)
            records.push_back({padded(kLabels[i]), 32 + i, 32 + i >= 43, i >= 11, 0, 0});
    }
    for (auto& r : records)
        r.value = r.initial = r.isSigned ? int(int8_t(image_[r.byte])) : int(image_[r.byte]);

    DialogControl list = MakeControl(kChannelList, "Midi Channels", DialogControl::Kind::ListBox);
    for (size_t i = 0; i < records.size(); ++i)
        list.options.push_back(ChannelLine(int(i)));
    controls.push_back(std::move(list));
    for (const Switch& s : switchesOf(model_)) {
        DialogControl c = MakeControl(s.id, s.label, s.kind, s.options);
        c.value = c.initial = readSwitch(s.id, image_);
        controls.push_back(std::move(c));
    }
}

const char* ArgGlobalDlgModel::Title() const
{
    return model_ == 'M' ? "WQR65 Arrangement Global Data" : "WQ41 Arrangement Global Data";
}

DialogControl* ArgGlobalDlgModel::Control(int id)
{
    for (auto& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

std::string ArgGlobalDlgModel::ChannelLine(int record) const
{
    const ChannelRecord& r = records[size_t(record)];
    char line[64];
    std::snprintf(line, sizeof line, "%-7s : %s", r.label.c_str(), GetMidiChannelText(r.value).c_str());
    return line;
}

uint32_t ArgGlobalDlgModel::Datum(int record) const
{
    const ChannelRecord& r = records[size_t(record)];
    return uint32_t(record) << 24 | uint32_t(uint8_t(r.value)) << 16 | (r.offersOff ? 0u : 1u);
}

void ArgGlobalDlgModel::SetChannelDatum(uint32_t datum)
{
    const int index = int(datum >> 24);
    if (index < 0 || index >= int(records.size())) return;
    ChannelRecord& r = records[size_t(index)];
    const int8_t channel = int8_t((datum >> 16) & 0xFF);
    r.value = r.isSigned ? int(channel) : int(uint8_t(channel));
    DialogControl* list = Control(kChannelList);
    list->options[size_t(index)] = ChannelLine(index);
    list->value = index;
}

std::vector<uint8_t> ArgGlobalDlgModel::Ok() const
{
    std::vector<uint8_t> out = image_;
    for (const ChannelRecord& r : records)
        if (r.value != r.initial) out[r.byte] = uint8_t(r.value);
    for (const DialogControl& c : controls)
        if (c.id != kChannelList && c.value >= 0 && c.Changed()) writeSwitch(c.id, c.value, out);
    return out;
}

} // namespace zib
