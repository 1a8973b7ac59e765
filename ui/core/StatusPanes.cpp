#include "ui/core/StatusPanes.h"

#include "ui/core/FormatText.h"
#include "ui/texts/UiText.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"

namespace zib {

namespace {

// Wq-series element names in Wq element order.
std::string wqElementName(int element)
{
    static const char* const names[10] = {"Variation1", "Variation2", "Variation3", "Variation4", "Intro1",
                                          "Intro2",     "End1",       "End2",       "Fill1",      "Fill2"};
    return element >= 0 && element < 10 ? names[element] : "???";
}

std::string elementName(const ChildStatus& s)
{
    return s.qeSeries ? GetQeElementName(s.element) : wqElementName(s.element);
}

std::string trackName(const ChildStatus& s)
{
    if (s.qeSeries) return GetQeTrackName(s.track);
    return s.track < 6 ? GetStyleTrackName(s.track) : "???";
}

std::string focusedInTree(const ChildStatus& s, int language)
{
    auto t = [language](const char* english) { return UiText(english, language); };
    if (s.track != 255)
        return FormatText(t("Focused: %s%s %s"),
                          {elementName(s), GetQeChordVariationName(s.chordVariation), trackName(s)});
    if (s.chordVariation != 255)
        return FormatText(t("Focused: %s%s"), {elementName(s), GetQeChordVariationName(s.chordVariation)});
    if (s.element != 255) return FormatText(t("Focused: %s"), {elementName(s)});
    return t("Focused: NONE");
}

bool isDocumentList(ChildKind k)
{
    return k == ChildKind::ChildPcg || k == ChildKind::ChildPrf || k == ChildKind::ChildPad ||
           k == ChildKind::ChildArr || k == ChildKind::ChildSty;
}

bool isEventEditor(ChildKind k)
{
    return k == ChildKind::MidiEditEx || k == ChildKind::MidiEditStyTrack || k == ChildKind::MidiEditPadTrack;
}

} // namespace

std::array<std::string, 3> StatusPaneTexts(const ChildStatus& s, int language)
{
    auto t = [language](const char* english) { return UiText(english, language); };
    if (s.kind == ChildKind::None) return {t("Focused: NONE"), t("Items num: 0"), t("Size: 0")};

    std::array<std::string, 3> panes;
    if (s.kind == ChildKind::StyPropSplitter || s.kind == ChildKind::PadPropSplitter) {
        ChildStatus names = s;
        names.qeSeries = s.kind == ChildKind::PadPropSplitter || s.qeSeries;
        panes[0] = focusedInTree(names, language);
    } else if (isDocumentList(s.kind)) {
        panes[0] = s.hasViewAndDocument && s.focusedItemName
                       ? FormatText(t("Focused: %s"), {cp1252ToUtf8(*s.focusedItemName)})
                       : t("Focused: NONE");
    }
    if (isEventEditor(s.kind)) {
        panes[1] = FormatText(t("Events num: %d"), {std::to_string(s.eventRows)});
        panes[2] = FormatText(t("Selected num: %d"), {std::to_string(s.selectedRows)});
    } else if (isDocumentList(s.kind)) {
        panes[1] = FormatText(t("Items num: %d"), {std::to_string(s.itemCount)});
        panes[2] = FormatText(t("Size: %lu"), {std::to_string(s.totalItemSize)});
    }
    return panes;
}

} // namespace zib
