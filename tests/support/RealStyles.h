#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zib {
class QeStyleEditor;
}

namespace zib::test {

// A real Yamaha PSR style of the fixtures converted by the program's PSR
// converter: the file's name, the style's name and the style as a Qe style
// item holds it (a serialised, compressed resource instance of type 2).
// A style whose intros, fills or endings need more CVs than they have is
// refused with 108 under the default section letters; it is then converted
// with its variations only ("ABCDAAAAAA"), as a user would do.
struct ConvertedPsrStyle {
    std::string file;
    std::string name;
    std::vector<uint8_t> instance;
    int code = 0; // the converter's result; the instance is empty unless 0
    bool variationsOnly = false; // converted again with "ABCDAAAAAA" after 108
};

// Every real PSR style, converted once per run; empty without fixtures.
const std::vector<ConvertedPsrStyle>& convertedRealPsrStyles();

// Runs `check` on a style editor over each real converted style, under the
// style file's name; a style the editor cannot open fails the test. Skips
// the test without fixtures (a missing folder fails in CI beforehand).
void forEachRealStyleEditor(const std::function<void(QeStyleEditor&)>& check);

} // namespace zib::test
