#pragma once

#include <cstdint>

namespace zib {

// Where the transposition of a style note finds its fine offsets: the
// tension tables, asked the way ZibTbl's two lookups are (see zibtbl/ZibTbl.h
// for the arguments and the packed pairs). The program asks ZibTbl itself;
// tests hand in tables of their own.
class TensionSource {
public:
    virtual ~TensionSource() = default;

    virtual int32_t QeTension(uint8_t tensionFlag, uint8_t nttMode, int32_t sourceChordType, uint8_t chordType,
                              int32_t chordTension, int32_t interval) const = 0;
    virtual int32_t WqSeriesTension(uint8_t tensionFlag, int32_t sourceKind, uint8_t chordType, int32_t chordTension,
                                    int32_t interval) const = 0;
};

// The tables of ZibTbl.
const TensionSource& ZibTblTensions();

} // namespace zib
