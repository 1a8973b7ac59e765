#pragma once

namespace zib {

// A pattern of the style the console plays: style element 0-9 (VAR1-VAR4,
// INTRO1-INTRO2, then FILL1-FILL2 and END1-END2 for the Qe series, END1-END2
// and FILL1-FILL2 for the others) and chord variation 0-5.
struct StylePlace {
    int element = 0;
    int variation = 0;

    friend bool operator==(const StylePlace&, const StylePlace&) = default;
};

} // namespace zib
