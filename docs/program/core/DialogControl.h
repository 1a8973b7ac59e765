#pragma once

#include <string>
#include <vector>

namespace zib {

// One control of a page or dialog of the program area without its window: a
// drop-down list (value = entry, -1 none), a check box (0 / 1), a group of
// radio buttons (value = button, -1 none checked), or a list box of lines
// that a double click opens (value = selected line). The window builds and
// reads these; the page or dialog model turns them into bytes.
struct DialogControl {
    enum class Kind { List, Check, Radio, ListBox };
    int id = 0;
    std::string label; // English
    Kind kind = Kind::List;
    std::vector<std::string> options; // entries, radio labels or lines (Windows-1252)
    std::vector<bool> optionEnabled;  // radio buttons only; empty: all
    bool enabled = true;
    int value = -1;
    int initial = -1;

    bool Changed() const { return value != initial; }
    // Chooses the first option that begins with `text` (check boxes: "1" or
    // "0"); false when none does.
    bool Choose(const std::string& text)
    {
        if (kind == Kind::Check) {
            value = text == "1" ? 1 : 0;
            return true;
        }
        for (size_t i = 0; i < options.size(); ++i)
            if (options[i].rfind(text, 0) == 0) {
                value = int(i);
                return true;
            }
        return false;
    }
};

// The entries "first" .. "last" of a list of numbers.
inline std::vector<std::string> NumberOptions(int first, int last)
{
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i)
        out.push_back(std::to_string(i));
    return out;
}

// The entry of `value` in a list whose `count` entries stand for first,
// first + 1 ...; -1 when none does.
inline int OptionIndex(int value, int first, int count)
{
    return value >= first && value < first + count ? value - first : -1;
}

// A control of a kind with its options.
inline DialogControl MakeControl(int id, std::string label, DialogControl::Kind kind,
                                 std::vector<std::string> options = {})
{
    DialogControl c;
    c.id = id;
    c.label = std::move(label);
    c.kind = kind;
    c.options = std::move(options);
    return c;
}

} // namespace zib
