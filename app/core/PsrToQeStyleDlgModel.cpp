#include "app/core/PsrToQeStyleDlgModel.h"

#include "ui/core/LetterStrings.h"

#include <array>

namespace zib {

namespace {

constexpr std::array<PsrToQeStyleDlgModel::Radio, 3> kIntro{{
    {1797, 'A', 'B', "Intro A and B"},
    {1801, 'A', 'C', "Intro A and C"},
    {1803, 'B', 'C', "Intro B and C"},
}};

constexpr std::array<PsrToQeStyleDlgModel::Radio, 15> kFill{{
    {1806, 'A', 'B', "Fill_In AA and AB"},
    {1807, 'A', 'C', "Fill_In AA and BA"},
    {1809, 'A', 'D', "Fill_In AA and BB"},
    {1811, 'A', 'E', "Fill_In AA and CC"},
    {1813, 'A', 'F', "Fill_In AA and DD"},
    {1822, 'B', 'C', "Fill_In AB and BA"},
    {1824, 'B', 'D', "Fill_In AB and BB"},
    {1826, 'B', 'E', "Fill_In AB and CC"},
    {1827, 'B', 'F', "Fill_In AB and DD"},
    {1828, 'C', 'D', "Fill_In BA and BB"},
    {1829, 'C', 'E', "Fill_In BA and CC"},
    {1830, 'C', 'F', "Fill_In BA and DD"},
    {1831, 'D', 'E', "Fill_In BB and CC"},
    {1832, 'D', 'F', "Fill_In BB and DD"},
    {1838, 'E', 'F', "Fill_In CC and DD"},
}};

constexpr std::array<PsrToQeStyleDlgModel::Radio, 3> kEnding{{
    {1815, 'A', 'B', "Ending A and B"},
    {1818, 'A', 'C', "Ending A and C"},
    {1820, 'B', 'C', "Ending B and C"},
}};

size_t firstLetter(PsrToQeStyleDlgModel::Group g)
{
    return 4 + 2 * size_t(g);
}

} // namespace

std::span<const PsrToQeStyleDlgModel::Radio> PsrToQeStyleDlgModel::Radios(Group group)
{
    switch (group) {
    case Group::Intro:
        return kIntro;
    case Group::Fill:
        return kFill;
    case Group::Ending:
        return kEnding;
    }
    return {};
}

PsrToQeStyleDlgModel::PsrToQeStyleDlgModel(std::string_view text)
    : letters_(text.size() == 10 ? std::string(text)
                                 : std::string(DefaultLetters(LetterTable::PsrStyToQeSty)))
{
    for (Group g : {Group::Intro, Group::Fill, Group::Ending}) {
        size_t at = firstLetter(g);
        for (const Radio& r : Radios(g))
            if (letters_[at] == r.first && letters_[at + 1] == r.second) checked_[int(g)] = r.id;
    }
}

void PsrToQeStyleDlgModel::Default()
{
    checked_[int(Group::Intro)] = 1797;
    checked_[int(Group::Fill)] = 1809;
    checked_[int(Group::Ending)] = 1815;
}

void PsrToQeStyleDlgModel::Check(Group group, int radioId)
{
    for (const Radio& r : Radios(group))
        if (r.id == radioId) {
            checked_[int(group)] = radioId;
            return;
        }
    checked_[int(group)] = 0;
}

std::string PsrToQeStyleDlgModel::Ok() const
{
    std::string text = "ABCD" + letters_.substr(4);
    for (Group g : {Group::Intro, Group::Fill, Group::Ending}) {
        for (const Radio& r : Radios(g)) {
            if (r.id != checked_[int(g)]) continue;
            text[firstLetter(g)] = r.first;
            text[firstLetter(g) + 1] = r.second;
        }
    }
    return text;
}

} // namespace zib
