#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zib::test {

// Everything a Qe style or pad item holds, as the style library reads it
// back: one value per name, the name saying where the value is. The style's
// fields ("name", "bpm", "DRUM mode"), each element's ("V1 ntt", "V1 assign
// 3", "V1 BASS program"), each chord variation's and pattern's ("V1CV1
// status", "V1CV1 BASS chord"), and the MIDI file the library exports for
// each chord variation, read here byte by byte: its header ("V1CV1 file"),
// the tick its track ends on ("V1CV1 end"), each note of a style track by
// its place among that track's notes ("V1CV1 BASS note 1": "tick 0 key 45
// velocity 100 length 80"), the track's other events ("V1CV1 BASS event
// 2") and the meta and system-exclusive events ("V1CV1 meta 1").
// Two items with the same contents hold the same style. The values are
// sorted by name.
using QeStyleContents = std::vector<std::pair<std::string, std::string>>;

// The contents of an item's data (a serialised resource instance); the one
// name "error" when the library cannot read it.
QeStyleContents qeStyleContents(std::span<const uint8_t> item);

// The contents of every item of a style (or, with `pad`, a pad) file, each
// name after "item N " (from 1): the item's name, kind and place, and the
// style's contents (items of other kinds: their bytes); "error" when the
// file cannot be opened.
QeStyleContents qeStyleFileContents(const std::filesystem::path& file, bool pad);

// The contents of one chord variation's MIDI file as the style library
// exports it (or as Style To MIDI and Play CV write it), each name after `cv`
// ("V1CV1 file", "V1CV1 BASS note 1"), sorted by name.
QeStyleContents qeCvFileContents(const std::string& cv, std::span<const uint8_t> smf);

// The name of the n-th note (from 1) of style track `track` in chord
// variation (e, cv): "V1CV1 BASS note 1".
std::string qeNoteName(int e, int cv, int track, int n);

// What differs between two contents, in the order of the names: "<name>:
// <before> -> <after>", "(none)" for the side that lacks the name; a note
// says each field that changed ("V1CV1 BASS note 1 velocity: 100 -> 76").
std::vector<std::string> contentDifferences(const QeStyleContents& before, const QeStyleContents& after);

} // namespace zib::test
