#include "ui/core/RecentFileList.h"

#include "platform/Profile.h"

#include <algorithm>

namespace zib {

void RecentFileList::Load(const Profile& profile)
{
    files_.clear();
    for (size_t i = 0; i < kMaxFiles; ++i) {
        auto path = profile.getString(kSection, "File" + std::to_string(i + 1));
        if (path && !path->empty() && std::find(files_.begin(), files_.end(), *path) == files_.end())
            files_.push_back(*path);
    }
}

void RecentFileList::Save(Profile& profile) const
{
    for (size_t i = 0; i < kMaxFiles; ++i)
        profile.setString(kSection, "File" + std::to_string(i + 1), i < files_.size() ? files_[i] : "");
}

void RecentFileList::Add(std::string_view path)
{
    if (path.empty()) return;
    auto it = std::find(files_.begin(), files_.end(), path);
    if (it != files_.end()) files_.erase(it);
    files_.insert(files_.begin(), std::string(path));
    if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
}

void RecentFileList::Remove(size_t index)
{
    if (index < files_.size()) files_.erase(files_.begin() + long(index));
}

std::string RecentFileList::MenuLabel(size_t index, std::string_view path)
{
    size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::string label = "&" + std::to_string(index + 1) + " ";
    for (char c : name) {
        if (c == '&') label += '&'; // a literal ampersand in a menu label
        label += c;
    }
    return label;
}

} // namespace zib
