#pragma once

#include <string_view>

namespace zib {

// The keyboard series whose MIDI-to-style conversion a settings page edits.
// The Wq series has 10 style elements (VAR1-VAR4, INT1, INT2, END1, END2,
// FILL1, FILL2) and 20 chord types; the Qe series 12 elements (VAR1-VAR4,
// INT1, INT2, FILL1, FILL2, END1, END2, FILL3, INT3) and 22 chord types.
// VAR1-VAR4 have six chord variations (CVs), every other element two.
enum class ConversionSeries { Wq, Qe };

int ElementCountOf(ConversionSeries series);
int ChordTypeCountOf(ConversionSeries series);
// CVs of an element: 6 for elements 0-3, else 2.
int CvCountOf(int element);
// The CV slot of a whole style: element * 6 + cv for elements 0-3,
// element * 2 + 16 + cv for the others (36 slots Wq, 40 Qe).
int CvSlotOf(int element, int cv);
int CvSlotCountOf(ConversionSeries series);
// "VAR1" ... in the series' element order; "" outside it.
std::string_view ElementNameOf(ConversionSeries series, int element);

} // namespace zib
