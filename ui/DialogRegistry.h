#pragma once

#include <functional>
#include <string>

class wxWindow;

namespace zib {

// The dialogs the areas can show on their own, by name: each runner shows its
// dialog over the parent on fixed values and returns one line telling what
// the dialog left behind. Areas add theirs when they are wired in.
class DialogRegistry {
public:
    using Runner = std::function<std::string(wxWindow* parent)>;

    static void Add(const std::string& name, Runner runner);
    // The runner of that name; null when no area added one.
    static const Runner* Find(const std::string& name);
};

} // namespace zib
