#include "tests/support/QeStyleContents.h"

#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeStyleEditor.h"
#include "midi/CMidiFileParser.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/FileIo.h"
#include "tests/support/LibraryStyle.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace zib::test {

namespace {

std::string hexOf(std::span<const uint8_t> bytes)
{
    std::string text;
    char hex[4];
    for (uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", b);
        text += hex;
    }
    return text;
}

// The name of a channel in a chord variation: its style track's, or
// "channel N" (from 1) for a channel no style track plays on.
std::string channelName(int channel)
{
    for (int t = 0; t < 8; ++t)
        if (CMidiFileParser::QeTrackChannelTable[t] == channel) return GetQeTrackName(t);
    return "channel " + std::to_string(channel + 1);
}

// The events of one chord variation's MIDI file, read from its bytes (see
// the header for the names). Running status carries over meta and
// system-exclusive events; a file that cannot be read to its end says
// where it stops.
void addCvFile(QeStyleContents& out, const std::string& cv, std::span<const uint8_t> smf)
{
    ByteCursor in(smf);
    if (!in.match("MThd") || in.u32be() != 6) {
        out.emplace_back(cv + " file", "no MIDI file (" + std::to_string(smf.size()) + " bytes)");
        return;
    }
    const uint16_t format = in.u16be(), tracks = in.u16be(), division = in.u16be();
    out.emplace_back(cv + " file", "format " + std::to_string(format) + " tracks " + std::to_string(tracks) +
                                       " division " + std::to_string(division));
    struct Note {
        std::string name;
        uint32_t tick;
        uint8_t key, velocity, release = 0;
        std::string length = "open";
    };
    std::vector<Note> notes;
    std::map<std::pair<int, int>, std::deque<size_t>> sounding; // (channel, key): notes, oldest first
    std::array<int, 16> noteCounts{}, eventCounts{};
    int metas = 0;
    for (uint16_t t = 0; t < tracks; ++t) {
        const std::string end = cv + " end" + (t ? " " + std::to_string(t + 1) : std::string());
        if (!in.match("MTrk")) {
            out.emplace_back(end, "no track chunk at byte " + std::to_string(in.pos()));
            break;
        }
        ByteCursor track = in.sub(in.u32be());
        uint32_t tick = 0;
        uint8_t running = 0;
        bool ended = false;
        while (!ended && track.ok() && !track.atEnd()) {
            tick += track.varLen();
            uint8_t status = track.peek();
            if (status >= 0x80)
                track.u8();
            else
                status = running;
            if (status == 0xFF || status == 0xF0 || status == 0xF7) {
                const size_t at = track.pos() - 1;
                const uint8_t type = status == 0xFF ? track.u8() : 0;
                track.skip(track.varLen());
                if (status == 0xFF && type == 0x2F) {
                    out.emplace_back(end, std::to_string(tick));
                    ended = true;
                } else {
                    out.emplace_back(cv + " meta " + std::to_string(++metas),
                                     "tick " + std::to_string(tick) + " " +
                                         hexOf(std::span(track.data() + at, track.pos() - at)));
                }
                continue;
            }
            if (status < 0x80) break; // a data byte without a status
            running = status;
            const int channel = status & 0x0F, kind = status & 0xF0;
            const uint8_t d1 = track.u8(), d2 = kind == 0xC0 || kind == 0xD0 ? 0 : track.u8();
            if (kind == 0x90 && d2 > 0) {
                sounding[{channel, d1}].push_back(notes.size());
                notes.push_back({cv + " " + channelName(channel) + " note " +
                                     std::to_string(++noteCounts[size_t(channel)]),
                                 tick, d1, d2});
                continue;
            }
            // A note-off ends the oldest sounding note of its key; one that
            // ends none is listed as an event.
            const auto open = sounding.find({channel, d1});
            if ((kind == 0x80 || kind == 0x90) && open != sounding.end() && !open->second.empty()) {
                Note& note = notes[open->second.front()];
                note.length = std::to_string(tick - note.tick);
                if (kind == 0x80) note.release = d2;
                open->second.pop_front();
                continue;
            }
            const uint8_t bytes[3] = {status, d1, d2};
            out.emplace_back(cv + " " + channelName(channel) + " event " +
                                 std::to_string(++eventCounts[size_t(channel)]),
                             "tick " + std::to_string(tick) + " " +
                                 hexOf(std::span(bytes, kind == 0xC0 || kind == 0xD0 ? 2 : 3)));
        }
        if (!ended)
            out.emplace_back(end, "unreadable at byte " + std::to_string(track.pos()) + " of the track");
    }
    for (const Note& note : notes)
        out.emplace_back(note.name,
                         "tick " + std::to_string(note.tick) + " key " + std::to_string(note.key) +
                             " velocity " + std::to_string(note.velocity) + " length " + note.length +
                             (note.release ? " release " + std::to_string(note.release) : std::string()));
}

// Values made of "label value" pairs with the same labels: the pairs that
// differ, each as "<label>: <before> -> <after>"; nullopt for other values.
std::optional<std::vector<std::string>> fieldDifferences(const std::string& before, const std::string& after)
{
    auto words = [](const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string word; in >> word;)
            out.push_back(word);
        return out;
    };
    const std::vector<std::string> b = words(before), a = words(after);
    if (a.size() != b.size() || a.size() % 2) return std::nullopt;
    std::vector<std::string> out;
    for (size_t i = 0; i < a.size(); i += 2) {
        if (a[i] != b[i] || std::isdigit(uint8_t(a[i][0]))) return std::nullopt;
        if (a[i + 1] != b[i + 1]) out.push_back(a[i] + ": " + b[i + 1] + " -> " + a[i + 1]);
    }
    return out;
}

} // namespace

QeStyleContents qeCvFileContents(const std::string& cv, std::span<const uint8_t> smf)
{
    QeStyleContents out;
    addCvFile(out, cv, smf);
    std::sort(out.begin(), out.end());
    return out;
}

std::string qeNoteName(int e, int cv, int track, int n)
{
    return GetQeElementShortName(e) + GetQeChordVariationName(cv) + " " + GetQeTrackName(track) + " note " +
           std::to_string(n);
}

QeStyleContents qeStyleContents(std::span<const uint8_t> item)
{
    ResourcePtr resource(_ULRFCreateResInstance(item.data(), uint32_t(item.size())));
    EditorPtr owner(resource ? _ULStECreateInstance(resource.get()) : nullptr);
    if (!owner)
        return {{"error", "the library reads no style from " + std::to_string(item.size()) + " bytes"}};
    ULStEEditor* style = owner.get();
    QeStyleContents out;
    auto put = [&out](std::string name, uint32_t value) {
        out.emplace_back(std::move(name), std::to_string(value));
    };

    out.emplace_back("resource", hexOf(item.first(4))); // type, ids and flag byte
    char name[64] = {};
    _ULStEGetName(style, name, int(sizeof name) - 1);
    out.emplace_back("name", name);
    int bpm = 0;
    _ULStEGetBPM(style, &bpm);
    put("bpm", uint32_t(bpm));
    uint8_t version = 0, release = 0;
    _ULStEGetQeVersion(style, &version);
    _ULStEGetQeStyInfoRelease(style, &release);
    put("version", version);
    put("release", release);
    for (int t = 0; t < 8; ++t) {
        uint8_t mode = 0, tension = 0;
        _ULStEGetTrackMode(style, t, &mode);
        _ULStEGetTrackTension(style, t, &tension);
        put(GetQeTrackName(t) + " mode", mode);
        put(GetQeTrackName(t) + " tension", tension);
    }

    for (int e = 0; e < (version == 1 ? 12 : 10); ++e) {
        const std::string element = GetQeElementShortName(e);
        const int status = _ULStEQueryStyleElem(style, e);
        put(element + " status", uint32_t(status));
        if (status == 0) continue;
        uint8_t signature = 0, ntt = 0;
        _ULStEGetSignature(style, e, &signature);
        _ULStEGetNTT(style, e, &ntt);
        put(element + " signature", signature);
        put(element + " ntt", ntt);
        for (int i = 0; i < 22; ++i) {
            uint8_t assigned = 0;
            _ULStEGetChordAssign(style, e, i, &assigned);
            put(element + " assign " + std::to_string(i), assigned);
        }
        for (int t = 0; t < 8; ++t) {
            const std::string track = element + " " + GetQeTrackName(t);
            uint8_t expression = 0, low = 0, high = 0;
            uint32_t program = 0;
            _ULStEGetTrackExpression(style, e, t, &expression);
            _ULStEGetTrackProgram(style, e, t, &program);
            _ULStEGetTrackKBRangeLow(style, e, t, &low);
            _ULStEGetTrackKBRangeHigh(style, e, t, &high);
            put(track + " expression", expression);
            put(track + " program", program);
            put(track + " range", uint32_t(low) << 8 | high);
        }
        for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
            const std::string cv = element + GetQeChordVariationName(c);
            const int cvStatus = _ULStEQueryChordVar(style, e, c);
            put(cv + " status", uint32_t(cvStatus));
            if (cvStatus == 0) continue;
            for (int t = 0; t < 8; ++t) {
                const std::string pattern = cv + " " + GetQeTrackName(t);
                const int patternStatus = _ULStEQueryPattern(style, e, c, t);
                put(pattern + " pattern", uint32_t(patternStatus));
                // Reading the chord of a pattern that is not there would make it.
                if (patternStatus == 0) continue;
                uint8_t chord = 0, key = 0;
                _ULStEGetTrackChord(style, e, c, t, &chord);
                _ULStEGetTrackKey(style, e, c, t, &key);
                put(pattern + " chord", chord);
                put(pattern + " key", key);
            }
            addCvFile(out, cv, ExportCvImage(style, e, c));
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

QeStyleContents qeStyleFileContents(const std::filesystem::path& file, bool pad)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(file, bytes) != FileIoError::None) return {{"error", "cannot read " + file.string()}};
    std::unique_ptr<CZibItemDoc> doc;
    if (pad)
        doc = std::make_unique<CZibPadDoc>();
    else
        doc = std::make_unique<CZibStyDoc>();
    if (!doc->OpenImage(std::move(bytes), file.string())) return {{"error", "cannot open " + file.string()}};
    QeStyleContents out;
    for (int i = 0; i < doc->ItemCount(); ++i) {
        const CStyItem& item = doc->ItemAt(i);
        const std::string prefix = "item " + std::to_string(i + 1) + " ";
        out.emplace_back(prefix + "item name", item.NameText());
        out.emplace_back(prefix + "item kind", std::to_string(item.kind));
        out.emplace_back(prefix + "item place", "bank " + std::to_string(item.bank) + " position " +
                                                    std::to_string(item.bankPosition) + " resource " +
                                                    std::to_string(item.resourceIndex));
        if (item.kind == 2 || item.kind == 9) {
            for (auto& [name, value] : qeStyleContents(item.data))
                out.emplace_back(prefix + name, std::move(value));
        } else {
            out.emplace_back(prefix + "data", hexOf(item.data));
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> contentDifferences(const QeStyleContents& before, const QeStyleContents& after)
{
    std::vector<std::string> out;
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        if (a == after.end() || (b != before.end() && b->first < a->first)) {
            out.push_back(b->first + ": " + b->second + " -> (none)");
            ++b;
        } else if (b == before.end() || a->first < b->first) {
            out.push_back(a->first + ": (none) -> " + a->second);
            ++a;
        } else {
            if (a->second != b->second) {
                if (const auto fields = fieldDifferences(b->second, a->second))
                    for (const std::string& field : *fields)
                        out.push_back(a->first + " " + field);
                else
                    out.push_back(a->first + ": " + b->second + " -> " + a->second);
            }
            ++a;
            ++b;
        }
    }
    return out;
}

} // namespace zib::test
