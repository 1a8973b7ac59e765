#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zib {

class Profile;

// The last four opened files, most recent first, kept in the profile section
// "Recent File List" as File1 .. File4.
class RecentFileList {
public:
    static constexpr size_t kMaxFiles = 4;
    static constexpr std::string_view kSection = "Recent File List";

    // Loading and saving
    void Load(const Profile& profile);
    void Save(Profile& profile) const;

    // Editing: a path moves to the front; the oldest falls off past four.
    void Add(std::string_view path);
    void Remove(size_t index);

    const std::vector<std::string>& files() const { return files_; }

    // The menu label of entry `index`: "&1 name" with the file name only.
    static std::string MenuLabel(size_t index, std::string_view path);

private:
    std::vector<std::string> files_;
};

} // namespace zib
