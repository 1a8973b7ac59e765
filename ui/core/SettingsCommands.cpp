#include "ui/core/SettingsCommands.h"

namespace zib {

namespace {

template <class Values> bool run(const SettingsDialog<Values>& dialog, Values& values)
{
    return dialog && dialog(values);
}

bool storeInt(ZibSettings& s, int ZibSettings::*field, std::string_view name, int value)
{
    s.*field = value;
    return s.WriteSetting(name);
}

// A sheet's values are stored on OK and on every Apply.
template <class Values>
bool runSheet(ZibSettings& s, const SettingsSheet<Values>& sheet, Values& values,
              void (*store)(ZibSettings&, const Values&))
{
    if (!sheet || !sheet(values, [&s, store](const Values& applied) { store(s, applied); })) return false;
    store(s, values);
    return true;
}

void storeWqConversion(ZibSettings& s, const WqConversionValues& v)
{
    storeInt(s, &ZibSettings::ChordDetermination, "ChordDetermination", v.ChordDetermination);
    s.ChordTable = v.ChordTable;
    s.WriteSetting("ChordTable");
    storeInt(s, &ZibSettings::KeyChordDetermination, "KeyChordDetermination", v.KeyChordDetermination);
    s.KeyChord = v.KeyChord;
    s.WriteSetting("KeyChord");
    storeInt(s, &ZibSettings::Midi2StyIgnoreFlags, "Midi2StyIgnoreFlags", v.Midi2StyIgnoreFlags);
}

void storeQeConversion(ZibSettings& s, const QeConversionValues& v)
{
    storeInt(s, &ZibSettings::QeChordDetermination, "QeChordDetermination", v.QeChordDetermination);
    s.SetQeChordTable(v.QeChordTable);
    storeInt(s, &ZibSettings::QeKeyChordDetermination, "QeKeyChordDetermination", v.QeKeyChordDetermination);
    s.SetQeKeyChord(v.QeKeyChord);
}

} // namespace

bool RunSortMethodCommand(ZibSettings& s, const SettingsDialog<SortMethodDlgModel>& dialog)
{
    SortMethodDlgModel m;
    m.method = uint32_t(s.MidiSortMethod);
    if (!run(dialog, m)) return false;
    storeInt(s, &ZibSettings::MidiSortMethod, "MidiSortMethod", int(m.method));
    return true;
}

bool RunTransposeSettingsCommand(ZibSettings& s, const SettingsDialog<TransposeSettingsDlgModel>& dialog)
{
    TransposeSettingsDlgModel m;
    m.mask = uint32_t(s.TransposeChannelSettings);
    if (!run(dialog, m)) return false;
    storeInt(s, &ZibSettings::TransposeChannelSettings, "TransposeChannelSettings", int(m.mask));
    return true;
}

bool RunKeyboardTypeCommand(ZibSettings& s, const SettingsDialog<KeyboardTypeDlgModel>& dialog)
{
    KeyboardTypeDlgModel m;
    m.code = uint32_t(s.DefaultKbdType);
    if (!run(dialog, m)) return false;
    storeInt(s, &ZibSettings::DefaultKbdType, "DefaultKbdType", int(m.code));
    return true;
}

bool RunPsrSettingsCommand(ZibSettings& s, const SettingsDialog<std::string>& dialog)
{
    std::string text = s.PsrStyToQeSty;
    if (!run(dialog, text)) return false;
    s.PsrStyToQeSty = text;
    s.WriteSetting("PsrStyToQeSty");
    return true;
}

bool RunStyToMidiSettingsCommand(ZibSettings& s, const SettingsDialog<int>& dialog)
{
    int v = s.StyToMidiType;
    if (!run(dialog, v)) return false;
    storeInt(s, &ZibSettings::StyToMidiType, "StyToMidiType", v);
    return true;
}

bool RunQeTrackToWqTrackCommand(ZibSettings& s, const SettingsDialog<int>& dialog)
{
    int v = s.QeTrackToWqTrack;
    if (!run(dialog, v)) return false;
    storeInt(s, &ZibSettings::QeTrackToWqTrack, "QeTrackToWqTrack", v);
    return true;
}

bool RunWqConversionSettingsCommand(ZibSettings& s, const SettingsSheet<WqConversionValues>& sheet)
{
    WqConversionValues v{s.ChordTable, s.ChordDetermination, s.KeyChord, s.KeyChordDetermination,
                         s.Midi2StyIgnoreFlags};
    return runSheet(s, sheet, v, &storeWqConversion);
}

bool RunQeConversionSettingsCommand(ZibSettings& s, const SettingsSheet<QeConversionValues>& sheet)
{
    QeConversionValues v{s.QeChordTable, s.QeChordDetermination, s.QeKeyChord, s.QeKeyChordDetermination};
    return runSheet(s, sheet, v, &storeQeConversion);
}

bool RunPlaybackSettingsCommand(ZibSettings& s, const SettingsDialog<PlaybackValues>& dialog)
{
    PlaybackValues v{s.MidiPlaybackApp, s.PlayPercOnDrumChan, s.MidiInDevID, s.MidiOutDevID};
    if (!run(dialog, v)) return false;
    storeInt(s, &ZibSettings::MidiPlaybackApp, "MidiPlaybackApp", v.MidiPlaybackApp);
    storeInt(s, &ZibSettings::PlayPercOnDrumChan, "PlayPercOnDrumChan", v.PlayPercOnDrumChan);
    storeInt(s, &ZibSettings::MidiInDevID, "MidiInDevID", v.MidiInDevID);
    storeInt(s, &ZibSettings::MidiOutDevID, "MidiOutDevID", v.MidiOutDevID);
    return true;
}

bool RunMidiPortsCommand(ZibSettings& s, const SettingsDialog<MidiPortsValues>& dialog,
                         const std::function<void()>& enumMidiDevices)
{
    MidiPortsValues v{s.UserMidiOutPorts, s.UserMidiInPorts};
    if (!run(dialog, v)) return false;
    s.UserMidiOutPorts = v.out;
    s.UserMidiInPorts = v.in;
    if (enumMidiDevices) enumMidiDevices();
    s.SaveUserMidiPorts();
    return true;
}

} // namespace zib
