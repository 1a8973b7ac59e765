#include "docs/program/core/ArrPageModel.h"

#include "docs/style/core/SheetOk.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

namespace {

using Record = std::vector<uint8_t>;
using View = std::span<const uint8_t>;
using ControlList = std::vector<ArrControl>;

uint16_t wordAt(View r, size_t at)
{
    return uint16_t(r[at] | r[at + 1] << 8);
}

void putWord(Record& r, size_t at, uint16_t w)
{
    r[at] = uint8_t(w);
    r[at + 1] = uint8_t(w >> 8);
}

// The nine rows of pages 3 and 4 and their blocks.
constexpr const char* kRowNames[9] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "UP1", "UP2", "LOW"};

size_t blockOf(bool familyA, int row)
{
    if (row < 6) return (familyA ? 34 : 39) + 8 * size_t(row);
    if (row == 6) return familyA ? 82 : 87;
    if (row == 7) return familyA ? 90 : 95;
    return 103;
}

// The program words page 3 lists for a model, rising, leaving out words with bit 7 set.
std::vector<uint16_t> programWords(int model)
{
    struct Range {
        uint16_t first, last;
    };
    std::vector<Range> ranges;
    switch (model) {
    case '9': ranges = {{0x000, 0x07F}, {0x100, 0x17F}, {0x200, 0x207}}; break;
    case '<': ranges = {{0x000, 0x07F}, {0x100, 0x17F}, {0x200, 0x20F}, {0x300, 0x37F}}; break;
    case 'H': ranges = {{0x000, 0x07F}, {0x100, 0x17F}, {0x200, 0x21B}, {0x300, 0x37F}}; break;
    case 'M': ranges = {{0x000, 0x07F}, {0x100, 0x17F}, {0x200, 0x23F}, {0x300, 0x33F}, {0x400, 0x40F}}; break;
    case 'I': ranges = {{0x000, 0x07F}, {0x100, 0x17F}, {0x200, 0x23F}, {0x300, 0x37F}, {0x400, 0x427}}; break;
    default: break;
    }
    std::vector<uint16_t> words;
    for (const Range& r : ranges)
        for (int w = r.first; w <= r.last; ++w)
            if (!(w & 0x80)) words.push_back(uint16_t(w));
    return words;
}

// The style words page 1 lists for a model.
std::vector<uint16_t> styleWords(int model)
{
    std::vector<uint16_t> words;
    const int general = model == '9' ? 52 : model == '<' ? 76 : model == 'H' ? 108 : 128;
    for (int w = 0; w < general; ++w)
        words.push_back(uint16_t(w));
    const int user = model == 'M' ? 16 : model == 'I' ? 48 : 0;
    for (int w = 0; w < user; ++w)
        words.push_back(uint16_t(256 + w));
    return words;
}

// Codes 0-147 that have a variation-change text.
std::vector<int> variationCodes()
{
    std::vector<int> codes;
    for (int c = 0; c <= 147; ++c)
        if (GetVariationChangeText(c) != "???") codes.push_back(c);
    return codes;
}

int positionOf(const std::vector<uint16_t>& words, uint16_t w)
{
    const auto it = std::find(words.begin(), words.end(), w);
    return it == words.end() ? -1 : int(it - words.begin());
}

} // namespace

const char* ArrPageModel::RowName(int row)
{
    return row >= 0 && row < 9 ? kRowNames[row] : "";
}

const char* ArrPageModel::Title() const
{
    static constexpr const char* kTitles[] = {"Style, KbdAssign", "Drum Map, Chord  Scan", "TrackParam1",
                                              "Track Param 2", "Ensemble, Fill"};
    return kTitles[page_ - 1];
}

ArrPageModel::ArrPageModel(int page, const ArrDocModel& doc, ArrProgramForm form)
    : page_(std::clamp(page, 1, 5)), familyA_(doc.FamilyA())
{
    // The builders hold references to controls while they add the next ones.
    controls_.reserve(128);
    switch (page_) {
    case 1: BuildPage1(doc); break;
    case 2: BuildPage2(doc); break;
    case 3: BuildPage3(doc, form); break;
    case 4: BuildPage4(doc); break;
    default: BuildPage5(doc); break;
    }
}

ArrControl& ArrPageModel::Add(ArrControl control)
{
    controls_.push_back(std::move(control));
    return controls_.back();
}

void ArrPageModel::Bind(int control, std::function<int(View)> read, std::function<void(Record&, const ControlList&)> write,
                        std::function<bool(const ArrControl&)> always)
{
    bindings_.push_back({control, std::move(read), std::move(write), std::move(always)});
}

ArrControl* ArrPageModel::Control(int id)
{
    for (ArrControl& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

const ArrControl& ArrPageModel::Get(const ControlList& controls, int id) const
{
    for (const ArrControl& c : controls)
        if (c.id == id) return c;
    return controls.front();
}

bool ArrPageModel::Choose(int id, const std::string& text)
{
    ArrControl* c = Control(id);
    return c && c->Choose(text);
}

void ArrPageModel::Read(View record)
{
    for (const Binding& b : bindings_) {
        ArrControl* c = Control(b.control);
        c->value = c->initial = b.read(record);
    }
    read_ = true;
}

void ArrPageModel::Write(Record& record) const
{
    if (!read_) return;
    for (const Binding& b : bindings_) {
        const ArrControl& c = Get(controls_, b.control);
        if (!c.enabled) continue;
        if (c.Changed() || (b.always && b.always(c))) b.write(record, controls_);
    }
}

// Page 1: tempo, style, initial variation, split point, keyboard assign.
void ArrPageModel::BuildPage1(const ArrDocModel& doc)
{
    const bool a = familyA_;
    const size_t tempo = a ? 14 : 21, style = a ? 10 : 17, lo = a ? 12 : 19, hi = a ? 13 : 20;
    const size_t split = a ? 16 : 23, assign = a ? 15 : 22;

    Add(MakeControl(kTempo, "Tempo", ArrControl::Kind::List, NumberOptions(40, 240)));
    Bind(kTempo, [tempo](View r) { return OptionIndex(r[tempo] + 30, 40, 201); },
         [tempo, this](Record& r, const ControlList& c) {
             const int v = Get(c, kTempo).value;
             if (v >= 0) r[tempo] = uint8_t(v + 40 - 30);
         });

    const std::vector<uint16_t> styles = styleWords(doc.model);
    std::vector<std::string> styleTexts;
    for (uint16_t w : styles)
        styleTexts.push_back(ArrStyleText(doc, w));
    Add(MakeControl(kStyle, "Style", ArrControl::Kind::List, styleTexts));
    Bind(kStyle, [styles, style](View r) { return positionOf(styles, wordAt(r, style)); },
         [a, style, this](Record& r, const ControlList& c) {
             const int v = Get(c, kStyle).value;
             if (v < 0) return;
             if (a) {
                 r[style] = uint8_t(v);
                 r[style + 1] = 0;
             } else if (v < 128) {
                 putWord(r, style, uint16_t(v));
             } else {
                 r[style] = uint8_t(v - 128);
                 r[style + 1] = 1;
             }
         });

    const std::vector<int> codes = variationCodes();
    std::vector<std::string> codeTexts;
    for (int code : codes)
        codeTexts.push_back(GetVariationChangeText(code));
    Add(MakeControl(kInitVar, "Init Var", ArrControl::Kind::List, codeTexts));
    Bind(kInitVar, [codes, lo, hi](View r) {
        const auto it = std::find(codes.begin(), codes.end(), r[hi] * 16 + r[lo]);
        return it == codes.end() ? -1 : int(it - codes.begin());
    }, [codes, lo, hi, this](Record& r, const ControlList& c) {
        const int v = Get(c, kInitVar).value;
        if (v < 0) return;
        r[lo] = uint8_t(codes[size_t(v)] & 15);
        r[hi] = uint8_t(codes[size_t(v)] >> 4);
    });

    std::vector<std::string> notes;
    for (int n = 36; n <= 96; ++n)
        notes.push_back(FormatNoteName(n, -1));
    Add(MakeControl(kSplit, "Split Point", ArrControl::Kind::List, notes));
    Bind(kSplit, [split](View r) { return OptionIndex(r[split], 36, 61); }, [split, this](Record& r, const ControlList& c) {
        const int v = Get(c, kSplit).value;
        if (v >= 0) r[split] = uint8_t(36 + v);
    });

    ArrControl assignControl =
        MakeControl(kAssign, "Keyboard Assign", ArrControl::Kind::Radio,
                {"UP1 FULL", "UP1+UP2 FULL", "UP1 SPLIT", "UP1+UP2 SPLIT", "UP1 M.DRUMS", "UP1+UP2 M.DRUMS",
                 "UP1+LOW SPLIT", "UP1+UP2+LOW SPLIT", "UP1+LOW M.DRUMS", "UP1+UP2+LOW M.DRUMS", "LOW FULL"});
    assignControl.optionEnabled.assign(11, true);
    if (doc.model == '9') {
        // The Wq8 knows four modes.
        for (int i = 0; i < 4; ++i)
            assignControl.options[size_t(i)] = GetKeyboardModeText(i);
        for (int i = 4; i < 11; ++i)
            assignControl.optionEnabled[size_t(i)] = false;
    }
    Add(std::move(assignControl));
    // A byte above 10 checks no button and stays as it is.
    Bind(kAssign, [assign](View r) { return r[assign] <= 10 ? int(r[assign]) : -1; },
         [assign, this](Record& r, const ControlList& c) {
             const int v = Get(c, kAssign).value;
             if (v >= 0) r[assign] = uint8_t(v);
         });
}

// Page 2: transpose, kick and snare, the chord scan flags, the drum maps.
void ArrPageModel::BuildPage2(const ArrDocModel& doc)
{
    const bool a = familyA_;
    const size_t transpose = a ? 18 : 25, kick = a ? 26 : 33, snare = a ? 27 : 34, flags = a ? 21 : 28;
    const size_t maps = a ? 22 : 29;

    Add(MakeControl(kTranspose, "Transpose", ArrControl::Kind::List, NumberOptions(-11, 11)));
    Bind(kTranspose, [transpose](View r) { return OptionIndex(int8_t(r[transpose]), -11, 23); },
         [transpose, this](Record& r, const ControlList& c) {
             const int v = Get(c, kTranspose).value;
             if (v >= 0) r[transpose] = uint8_t(int8_t(v - 11));
         });
    struct Letter {
        int id;
        size_t at;
        const char* label;
    };
    for (const Letter& l : {Letter{kKick, kick, "Kick"}, Letter{kSnare, snare, "Snare"}}) {
        const int id = l.id;
        const size_t at = l.at;
        Add(MakeControl(id, l.label, ArrControl::Kind::List, {"A", "B", "C", "D"}));
        Bind(id, [at](View r) { return r[at] < 4 ? int(r[at]) : -1; }, [id, at, this](Record& r, const ControlList& c) {
            const int v = Get(c, id).value;
            if (v >= 0) r[at] = uint8_t(v);
        });
    }
    // The five flags share one byte: a change writes all of them.
    static constexpr const char* kFlags[] = {"Chord Scan Low", "Chord Scan High", "Bass Inversion", "Chord Hold",
                                             "Chord Latch"};
    const bool wq41 = doc.model == 'I';
    for (int bit = 0; bit < 5; ++bit) {
        ArrControl& check = Add(MakeControl(kScanLow + bit, kFlags[bit], ArrControl::Kind::Check));
        // The Wq41 has no bass inversion, chord hold or chord latch here: written as 0.
        check.enabled = !(wq41 && bit >= 2);
        Bind(kScanLow + bit, [flags, bit](View r) { return (r[flags] >> bit) & 1; },
             [flags, wq41, this](Record& r, const ControlList& c) {
                 uint8_t byte = uint8_t(r[flags] & ~0x1F);
                 for (int b = 0; b < 5; ++b)
                     if (!(wq41 && b >= 2) && Get(c, kScanLow + b).value == 1) byte |= uint8_t(1 << b);
                 r[flags] = byte;
             });
    }
    std::vector<std::string> mapTexts;
    for (int m = 1; m <= 8; ++m)
        mapTexts.push_back("MAP" + std::to_string(m));
    for (int v = 0; v < 4; ++v) {
        Add(MakeControl(kMap1 + v, "VAR" + std::to_string(v + 1), ArrControl::Kind::List, mapTexts));
        const size_t at = maps + size_t(v);
        Bind(kMap1 + v, [at](View r) { return r[at] < 8 ? int(r[at]) : -1; },
             [at, id = kMap1 + v, this](Record& r, const ControlList& c) {
                 const int value = Get(c, id).value;
                 if (value >= 0) r[at] = uint8_t(value);
             });
    }
}

// Page 3: program, volume, pan, C send and D send of the nine rows.
void ArrPageModel::BuildPage3(const ArrDocModel& doc, ArrProgramForm form)
{
    const std::vector<uint16_t> words = programWords(doc.model);
    std::vector<std::string> programTexts;
    for (uint16_t w : words)
        programTexts.push_back(FormatArrProgramName(doc, w, form));
    std::vector<std::string> pans;
    for (int p = 0; p < 32; ++p)
        pans.push_back(GetPanText(p));
    pans.push_back("OFF");
    std::vector<std::string> sends;
    for (int s = 0; s <= 10; ++s)
        sends.push_back(GetDigitOrPrgText(s));
    for (int row = 0; row < 9; ++row) {
        const size_t block = blockOf(familyA_, row);
        const bool present = !(familyA_ && row == 8); // family A has no lower keyboard
        const int id = kRows + 10 * row;
        const std::string name = kRowNames[row];
        ArrControl& program = Add(MakeControl(id, name + " Program", ArrControl::Kind::List, programTexts));
        ArrControl& volume = Add(MakeControl(id + 1, name + " Volume", ArrControl::Kind::List, NumberOptions(0, 127)));
        ArrControl& pan = Add(MakeControl(id + 2, name + " Panpot", ArrControl::Kind::List, pans));
        ArrControl& c = Add(MakeControl(id + 3, name + " C Send", ArrControl::Kind::List, sends));
        ArrControl& d = Add(MakeControl(id + 4, name + " D Send", ArrControl::Kind::List, sends));
        for (ArrControl* control : {&program, &volume, &pan, &c, &d})
            control->enabled = present;
        if (!present) continue;
        Bind(id, [words, block](View r) { return positionOf(words, wordAt(r, block)); },
             [words, block, id, this](Record& r, const ControlList& cs) {
                 const int v = Get(cs, id).value;
                 if (v >= 0) putWord(r, block, words[size_t(v)]);
             });
        Bind(id + 1, [block](View r) { return r[block + 2] <= 127 ? int(r[block + 2]) : -1; },
             [block, id, this](Record& r, const ControlList& cs) {
                 const int v = Get(cs, id + 1).value;
                 if (v >= 0) r[block + 2] = uint8_t(v);
             });
        Bind(id + 2, [block](View r) { return r[block + 3] < 32 ? int(r[block + 3]) : r[block + 3] == 255 ? 32 : -1; },
             [block, id, this](Record& r, const ControlList& cs) {
                 const int v = Get(cs, id + 2).value;
                 if (v >= 0) r[block + 3] = v == 32 ? 255 : uint8_t(v);
             });
        // The two sends share byte 4: C in the low nibble, D in the high one.
        const auto sendsWrite = [block, id, this](Record& r, const ControlList& cs) {
            const int cv = Get(cs, id + 3).value, dv = Get(cs, id + 4).value;
            const int cOld = r[block + 4] & 15, dOld = r[block + 4] >> 4;
            r[block + 4] = uint8_t(((cv >= 0 ? cv : cOld) & 15) + ((dv >= 0 ? dv : dOld) & 15) * 16);
        };
        Bind(id + 3, [block](View r) { return (r[block + 4] & 15) <= 10 ? r[block + 4] & 15 : -1; }, sendsWrite);
        Bind(id + 4, [block](View r) { return (r[block + 4] >> 4) <= 10 ? r[block + 4] >> 4 : -1; }, sendsWrite);
    }
}

// Page 4: octave, wrap and the status bits of the nine rows.
void ArrPageModel::BuildPage4(const ArrDocModel& doc)
{
    const bool wq41 = doc.model == 'I';
    std::vector<std::string> wraps = {"STY"};
    for (int n = 1; n <= 12; ++n)
        wraps.push_back(std::to_string(n));
    for (int row = 0; row < 9; ++row) {
        const size_t block = blockOf(familyA_, row);
        const bool present = !(familyA_ && row == 8);
        const bool styleRow = row < 6, keyboard = row >= 6, drumOrPerc = row < 2;
        const int id = kRows4 + 10 * row;
        const std::string name = kRowNames[row];

        ArrControl& octave = Add(MakeControl(id, name + " Octave", ArrControl::Kind::List, NumberOptions(-2, 2)));
        octave.enabled = present && !drumOrPerc;
        if (octave.enabled)
            Bind(id, [block](View r) { return OptionIndex(int8_t(r[block + 5]), -2, 5); },
                 [block, id, this](Record& r, const ControlList& cs) {
                     const int v = Get(cs, id).value;
                     r[block + 5] = uint8_t(int8_t(v >= 0 ? v - 2 : 0));
                 },
                 [](const ArrControl& c) { return c.value < 0; }); // outside -2..2: 0

        if (row >= 2 && row <= 5) {
            Add(MakeControl(id + 1, name + " Wrap", ArrControl::Kind::List, wraps));
            Bind(id + 1, [block](View r) { return r[block + 7] == 255 ? 0 : r[block + 7] < 12 ? r[block + 7] + 1 : -1; },
                 [block, id, this](Record& r, const ControlList& cs) {
                     const int v = Get(cs, id + 1).value;
                     r[block + 7] = v <= 0 ? 255 : uint8_t(v - 1);
                 },
                 [](const ArrControl& c) { return c.value < 0; }); // 12-254: 255
        } else if (drumOrPerc) {
            ArrControl& wrap = Add(MakeControl(id + 1, name + " Wrap", ArrControl::Kind::List, wraps));
            wrap.enabled = false;
        }

        // The status byte: rebuilt from all of the row's controls when one changed.
        const auto rebuild = [block, id, styleRow, keyboard, wq41, this](Record& r, const ControlList& cs) {
            const uint8_t old = r[block + 6];
            const int play = Get(cs, id + 2).value, io = Get(cs, id + 3).value;
            uint8_t byte = uint8_t(play == 2 ? 8 : play == 1 ? 4 : 0);
            byte |= uint8_t(io == 0 ? 0 : io == 1 ? 1 : io == 2 ? 2 : 3);
            if (styleRow) {
                if (wq41)
                    byte |= Get(cs, id + 4).value == 0 ? 0 : 16;
                else
                    byte |= uint8_t(old & 16);
            }
            if (keyboard) {
                if (Get(cs, id + 5).value == 0) byte |= 0x40;
                if (Get(cs, id + 6).value == 0) byte |= 0x20;
            }
            r[block + 6] = byte;
        };
        ArrControl& play = Add(MakeControl(id + 2, name + " Out Status Play", ArrControl::Kind::List, {"PLAY", "MUTE", "SOLO"}));
        ArrControl& io = Add(MakeControl(id + 3, name + " Ext/Int", ArrControl::Kind::List, {"OFF", "INT", "EXT", "BOTH"}));
        play.enabled = io.enabled = present;
        if (present) {
            Bind(id + 2, [block](View r) {
                const int bits = r[block + 6] & 12;
                return bits == 12 ? -1 : bits / 4;
            }, rebuild);
            Bind(id + 3, [block](View r) { return r[block + 6] & 3; }, rebuild);
        }
        if (styleRow) {
            ArrControl& synchro = Add(MakeControl(id + 4, name + " Synchro", ArrControl::Kind::List, {"Off", "On"}));
            synchro.enabled = wq41;
            if (wq41) Bind(id + 4, [block](View r) { return (r[block + 6] >> 4) & 1; }, rebuild);
        }
        if (keyboard) {
            ArrControl& damper = Add(MakeControl(id + 5, name + " Damper", ArrControl::Kind::List, {"ENA", "DIS"}));
            ArrControl& joystick = Add(MakeControl(id + 6, name + " Joystick", ArrControl::Kind::List, {"ENA", "DIS"}));
            damper.enabled = joystick.enabled = present;
            if (present) {
                Bind(id + 5, [block](View r) { return r[block + 6] & 0x40 ? 0 : 1; }, rebuild);
                Bind(id + 6, [block](View r) { return r[block + 6] & 0x20 ? 0 : 1; }, rebuild);
            }
        }
    }
}

// Page 5: ensemble and the two fills.
void ArrPageModel::BuildPage5(const ArrDocModel&)
{
    const bool a = familyA_;
    const size_t ensemble = a ? 17 : 24;
    std::vector<std::string> ensembles;
    for (int e = 0; e < 10; ++e)
        ensembles.push_back(GetEnsembleText(e));
    Add(MakeControl(kEnsemble, "Ensemble", ArrControl::Kind::List, ensembles));
    Bind(kEnsemble, [ensemble](View r) { return r[ensemble] < 10 ? int(r[ensemble]) : -1; },
         [ensemble, this](Record& r, const ControlList& c) {
             const int v = Get(c, kEnsemble).value;
             r[ensemble] = uint8_t(v >= 0 ? v : 0);
         });
    std::vector<std::string> fills;
    for (int f = 0; f <= 12; ++f)
        fills.push_back(GetVariationPairText(f));
    for (int i = 0; i < 2; ++i) {
        const int id = kFill1 + i;
        const size_t at = a ? size_t(30 + 2 * i) : size_t(37 + i);
        Add(MakeControl(id, i == 0 ? "Fill1" : "Fill2", ArrControl::Kind::List, fills));
        // Family A keeps each fill as a word: one above 12 selects nothing and becomes 0.
        Bind(id, [a, at](View r) {
            const int v = a ? wordAt(r, at) : r[at];
            return v <= 12 ? v : -1;
        }, [a, at, id, this](Record& r, const ControlList& c) {
            const int v = std::max(Get(c, id).value, 0);
            if (a)
                putWord(r, at, uint16_t(v));
            else
                r[at] = uint8_t(v);
        }, [a](const ArrControl& c) { return a && c.value < 0; });
    }
}

// The sheet

ArrSheetModel::ArrSheetModel(ArrDocModel& doc, int row, ArrProgramForm form)
    : doc_(doc), row_(row), copy_(doc.items.at(size_t(row)).data)
{
    for (int p = 1; p <= 5; ++p)
        pages_.emplace_back(p, doc, form);
}

std::string ArrSheetModel::ItemName() const
{
    return doc_.items[size_t(row_)].NameText();
}

void ArrSheetModel::Show(int page)
{
    if (!Page(page).IsRead()) Page(page).Read(copy_);
}

void ArrSheetModel::Leave(int page)
{
    Page(page).Write(copy_);
}

void ArrSheetModel::Ok(int shownPage)
{
    Leave(shownPage);
    if (!PutBackWhenChanged(doc_.items[size_t(row_)].data, copy_)) return;
    doc_.modified = true;
    doc_.Port().RedrawAll();
}

} // namespace zib
