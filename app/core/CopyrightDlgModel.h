#pragma once

#include <string>
#include <string_view>

namespace zib {

// The Copyright dialog (253): asks for the author name at the first start.
class CopyrightDlgModel {
public:
    // The caption: "%s - Copyright Dialog" with the application's name.
    static std::string Caption(std::string_view appName, int language);

    // OK with the typed text: blanks around it are removed; an empty name is
    // refused (the dialog stays open, focus on the edit) and false returned.
    bool Ok(std::string_view typed);

    const std::string& name() const { return name_; }

private:
    std::string name_;
};

} // namespace zib
