#pragma once

namespace zib {

// Number of note-name alphabets (English, Indian Modern, Solfedgio, Indian
// Swar, Swar sounds, Solfedgio Alt); the KeyAlphabet setting picks one.
inline constexpr int kNoteAlphabetCount = 6;

// The name of a pitch class (0 = C .. 11 = B) in an alphabet ("C#", "r#",
// "Do#" ...); an alphabet outside 0..5 reads as 0, a pitch class outside
// 0..11 as its value mod 12.
const char* NoteAlphabetName(int pitchClass, int alphabet);

} // namespace zib
