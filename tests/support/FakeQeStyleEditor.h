#pragma once

#include "docs/style/core/QeStyleEditor.h"

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace zib::test {

// A style editor for tests: answers from plain arrays and records every call
// that changes the style as a line such as "SetNtt 2 1" or "ImportSmf 0 1"
// in `calls`. Statuses: element, CV and pattern status 0-2 as the library
// answers them.
class FakeQeStyleEditor : public QeStyleEditor {
public:
    uint8_t version = 0;
    std::array<int, 12> elementStatus{};
    std::array<std::array<int, 6>, 12> cvStatus{};
    std::array<std::array<std::array<int, 8>, 6>, 12> patternStatus{};
    std::array<uint8_t, 12> signature{};
    std::array<uint8_t, 12> ntt{};
    std::array<std::array<uint8_t, 22>, 12> chordAssign{};
    std::array<std::array<uint8_t, 8>, 12> expression{};
    std::array<std::array<uint32_t, 8>, 12> program{};
    std::array<std::array<uint8_t, 8>, 12> low{};
    std::array<std::array<uint8_t, 8>, 12> high{};
    std::array<std::array<std::array<uint8_t, 8>, 6>, 12> chord{};
    std::array<std::array<std::array<uint8_t, 8>, 6>, 12> key{};
    std::array<uint8_t, 8> mode{};
    std::array<uint8_t, 8> tension{};
    // What ImportSmf answers, the images it took and ExportSmf gives, and
    // what SerializedResource gives.
    int importFailures = 0; // the next n imports fail
    std::map<std::pair<int, int>, std::vector<uint8_t>> images;
    std::vector<uint8_t> resource{1, 2, 3};

    std::vector<std::string> calls;

    // A CV with data on every pattern (and its element with data).
    void cvWithData(int e, int cv)
    {
        elementStatus[size_t(e)] = 2;
        cvStatus[size_t(e)][size_t(cv)] = 2;
        patternStatus[size_t(e)][size_t(cv)].fill(2);
    }
    // Only the calls whose line starts with `prefix`.
    std::vector<std::string> callsOf(const std::string& prefix) const
    {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }

    int QueryStyleElem(int e) override { return elementStatus[size_t(e)]; }
    int QueryChordVar(int e, int cv) override { return cvStatus[size_t(e)][size_t(cv)]; }
    int QueryPattern(int e, int cv, int t) override { return patternStatus[size_t(e)][size_t(cv)][size_t(t)]; }
    uint8_t QeVersion() override { return version; }
    void DeleteStyleElem(int e) override
    {
        log("DeleteStyleElem", e);
        elementStatus[size_t(e)] = 0;
        cvStatus[size_t(e)].fill(0);
    }
    void DeleteChordVar(int e, int cv) override
    {
        log("DeleteChordVar", e, cv);
        cvStatus[size_t(e)][size_t(cv)] = 0;
        images.erase({e, cv});
    }
    void DeletePattern(int e, int cv, int t) override
    {
        log("DeletePattern", e, cv, t);
        patternStatus[size_t(e)][size_t(cv)][size_t(t)] = 1;
    }
    bool ImportSmf(std::span<const uint8_t> smf, int e, int cv) override
    {
        log("ImportSmf", e, cv);
        if (importFailures > 0) {
            --importFailures;
            return false;
        }
        images[{e, cv}] = std::vector<uint8_t>(smf.begin(), smf.end());
        cvStatus[size_t(e)][size_t(cv)] = 2;
        if (elementStatus[size_t(e)] == 0) elementStatus[size_t(e)] = 2;
        return true;
    }
    std::vector<uint8_t> ExportSmf(int e, int cv) override
    {
        const auto it = images.find({e, cv});
        return it == images.end() ? std::vector<uint8_t>() : it->second;
    }
    std::vector<uint8_t> SerializedResource() override
    {
        calls.push_back("SerializedResource");
        return resource;
    }
    uint8_t Signature(int e) override { return signature[size_t(e)]; }
    void SetSignature(int e, uint8_t v) override { set("SetSignature", signature[size_t(e)], v, e); }
    uint8_t Ntt(int e) override { return ntt[size_t(e)]; }
    void SetNtt(int e, uint8_t v) override { set("SetNtt", ntt[size_t(e)], v, e); }
    uint8_t ChordAssign(int e, int i) override { return chordAssign[size_t(e)][size_t(i)]; }
    void SetChordAssign(int e, int i, uint8_t v) override { set("SetChordAssign", chordAssign[size_t(e)][size_t(i)], v, e, i); }
    uint8_t TrackExpression(int e, int t) override { return expression[size_t(e)][size_t(t)]; }
    void SetTrackExpression(int e, int t, uint8_t v) override
    {
        set("SetTrackExpression", expression[size_t(e)][size_t(t)], v, e, t);
    }
    uint32_t TrackProgram(int e, int t) override { return program[size_t(e)][size_t(t)]; }
    void SetTrackProgram(int e, int t, uint32_t v) override { set("SetTrackProgram", program[size_t(e)][size_t(t)], v, e, t); }
    uint8_t TrackKBRangeLow(int e, int t) override { return low[size_t(e)][size_t(t)]; }
    void SetTrackKBRangeLow(int e, int t, uint8_t v) override { set("SetTrackKBRangeLow", low[size_t(e)][size_t(t)], v, e, t); }
    uint8_t TrackKBRangeHigh(int e, int t) override { return high[size_t(e)][size_t(t)]; }
    void SetTrackKBRangeHigh(int e, int t, uint8_t v) override
    {
        set("SetTrackKBRangeHigh", high[size_t(e)][size_t(t)], v, e, t);
    }
    uint8_t TrackChord(int e, int cv, int t) override { return chord[size_t(e)][size_t(cv)][size_t(t)]; }
    void SetTrackChord(int e, int cv, int t, uint8_t v) override
    {
        set("SetTrackChord", chord[size_t(e)][size_t(cv)][size_t(t)], v, e, cv, t);
    }
    uint8_t TrackKey(int e, int cv, int t) override { return key[size_t(e)][size_t(cv)][size_t(t)]; }
    void SetTrackKey(int e, int cv, int t, uint8_t v) override
    {
        set("SetTrackKey", key[size_t(e)][size_t(cv)][size_t(t)], v, e, cv, t);
    }
    uint8_t TrackMode(int t) override { return mode[size_t(t)]; }
    void SetTrackMode(int t, uint8_t v) override { set("SetTrackMode", mode[size_t(t)], v, t); }
    uint8_t TrackTension(int t) override { return tension[size_t(t)]; }
    void SetTrackTension(int t, uint8_t v) override { set("SetTrackTension", tension[size_t(t)], v, t); }

private:
    template <class... A> void log(const char* name, A... a)
    {
        std::string line = name;
        ((line += " " + std::to_string(a)), ...);
        calls.push_back(line);
    }
    template <class T, class V, class... A> void set(const char* name, T& field, V value, A... a)
    {
        field = T(value);
        log(name, a..., uint64_t(value));
    }
};

} // namespace zib::test
