#include "ulvarf/CNstStyle.h"

#include "ulvarf/QeTime.h"

#include <algorithm>

namespace zib::ulvarf {

CNstStyleElem& CNstStyle::Element(int e)
{
    auto& slot = elements_[size_t(e)];
    if (!slot) {
        slot = std::make_unique<CNstStyleElem>();
        OnElementCreated(*slot, e);
    }
    return *slot;
}

CNstChordVar& CNstStyle::ChordVar(int e, int cv)
{
    CNstStyleElem& element = Element(e);
    auto& slot = element.cvs[size_t(cv)];
    if (!slot) {
        slot = std::make_unique<CNstChordVar>();
        slot->numerator = element.numerator;
        slot->log2Denominator = element.log2Denominator;
        slot->bars = element.newCvBars;
        slot->length = BarLength(element.numerator, element.log2Denominator) * element.newCvBars;
        OnChordVarCreated(*slot, cv);
    }
    return *slot;
}

CNstPattern& CNstStyle::Pattern(int e, int cv, int t)
{
    CNstChordVar& chordVar = ChordVar(e, cv);
    CNstPattern& pattern = chordVar.patterns[size_t(t)];
    if (pattern.notCreated) {
        pattern.numerator = chordVar.numerator;
        pattern.log2Denominator = chordVar.log2Denominator;
        pattern.bars = chordVar.bars;
        pattern.notCreated = false;
        OnPatternCreated(pattern, t);
    }
    return pattern;
}

CNstStyleElem* CNstStyle::FindElement(int e)
{
    return ValidElement(e) ? elements_[size_t(e)].get() : nullptr;
}

const CNstStyleElem* CNstStyle::FindElement(int e) const
{
    return ValidElement(e) ? elements_[size_t(e)].get() : nullptr;
}

CNstChordVar* CNstStyle::FindChordVar(int e, int cv)
{
    CNstStyleElem* element = FindElement(e);
    return element && ValidChordVar(cv) ? element->cvs[size_t(cv)].get() : nullptr;
}

const CNstChordVar* CNstStyle::FindChordVar(int e, int cv) const
{
    const CNstStyleElem* element = FindElement(e);
    return element && ValidChordVar(cv) ? element->cvs[size_t(cv)].get() : nullptr;
}

int CNstStyle::QueryStyleElem(int e) const
{
    const CNstStyleElem* element = FindElement(e);
    if (!element) return 0;
    return element->HoldsNoData() ? 1 : 2;
}

int CNstStyle::QueryChordVar(int e, int cv) const
{
    const CNstChordVar* chordVar = FindChordVar(e, cv);
    if (!chordVar) return 0;
    return chordVar->IsEmpty() ? 1 : 2;
}

int CNstStyle::QueryPattern(int e, int cv, int t) const
{
    const CNstChordVar* chordVar = FindChordVar(e, cv);
    if (!chordVar || !ValidTrack(t)) return 0;
    const CNstPattern& pattern = chordVar->patterns[size_t(t)];
    if (pattern.notCreated) return 0;
    return pattern.empty ? 1 : 2;
}

void CNstStyle::DeleteStyleElem(int e)
{
    if (ValidElement(e)) elements_[size_t(e)].reset();
}

void CNstStyle::DeleteChordVar(int e, int cv)
{
    CNstStyleElem* element = FindElement(e);
    if (element && ValidChordVar(cv)) element->cvs[size_t(cv)].reset();
}

void CNstStyle::DeletePattern(int e, int cv, int t)
{
    CNstChordVar* chordVar = FindChordVar(e, cv);
    if (chordVar && ValidTrack(t)) chordVar->patterns[size_t(t)].Clear();
}

void CNstStyle::SetName(std::string_view name)
{
    name_ = std::string(name.substr(0, std::min(name.size(), kNameLength)));
    // The name ends at its first NUL, as a C string would.
    name_.resize(std::min(name_.size(), name_.find('\0')));
}

size_t CNstStyle::SizeEstimate() const
{
    size_t size = 118;
    for (const auto& element : elements_) {
        if (!element) continue;
        size += 102;
        for (const auto& cv : element->cvs) {
            if (!cv) continue;
            size += 227 + cv->stream.size();
            for (const CNstPattern& pattern : cv->patterns) {
                size += pattern.stream.size();
                // Once more per doubling that stays within the CV; a length of
                // 0 never doubles.
                for (uint64_t n = pattern.length; n > 0 && n * 2 <= cv->length; n *= 2) size += pattern.stream.size();
            }
        }
    }
    return size;
}

void CNstStyle::OnElementCreated(CNstStyleElem&, int) {}
void CNstStyle::OnChordVarCreated(CNstChordVar&, int) {}
void CNstStyle::OnPatternCreated(CNstPattern&, int) {}

} // namespace zib::ulvarf
