#include "ui/core/FolderDialogModel.h"

#include "ui/texts/UiText.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zib {

namespace {

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

bool isDirectory(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

} // namespace

FolderDialogModel::FolderDialogModel(std::string_view initialFolder, int language) : language_(language)
{
    std::error_code ec;
    std::string start(initialFolder);
    if (start.empty() || !isDirectory(start)) start = fs::current_path(ec).string();
    folder_ = withSlash(start);
}

std::string FolderDialogModel::text(const char* english) const
{
    return UiText(english, language_);
}

void FolderDialogModel::FolderChanged(std::string_view path)
{
    folder_ = withSlash(std::string(path));
}

std::string FolderDialogModel::resolve(std::string_view typed) const
{
    if (!typed.empty() && typed.front() == '/') return std::string(typed);
    return folder_ + std::string(typed);
}

FolderDialogModel::Outcome FolderDialogModel::Open(std::string_view typed)
{
    return request(typed, false);
}

FolderDialogModel::Outcome FolderDialogModel::Enter(std::string_view typed)
{
    return request(typed, true);
}

FolderDialogModel::Outcome FolderDialogModel::request(std::string_view typed, bool fromEnter)
{
    const auto done = fromEnter ? Outcome::Kind::Navigated : Outcome::Kind::EndOk;
    // An empty box accepts the folder shown; "/" is the root.
    if (typed.empty()) return {done, {}};
    if (typed == "/") {
        folder_ = "/";
        return {done, {}};
    }
    std::string_view t = typed;
    if (t.size() > 1 && t.back() == '/') t.remove_suffix(1);
    const std::string path = resolve(t);
    std::error_code ec;
    auto status = fs::status(path, ec);
    if (!ec && fs::is_directory(status)) {
        folder_ = withSlash(fs::path(path).lexically_normal().string());
        return {done, {}};
    }
    if (!ec && fs::exists(status))
        return {Outcome::Kind::Message, std::string(t) + text("\nThis is a file not a directory.")};
    pendingCreate_ = path;
    pendingTyped_ = std::string(t);
    pendingFromEnter_ = fromEnter;
    return {Outcome::Kind::AskCreate,
            pendingTyped_ + text("\nThis folder does not exist.\n\nDo you want to create it?")};
}

FolderDialogModel::Outcome FolderDialogModel::CreateAnswer(bool yes)
{
    std::string path = std::move(pendingCreate_);
    pendingCreate_.clear();
    if (!yes || path.empty()) return {Outcome::Kind::Stay, {}};
    // The folder is created with every missing parent.
    std::error_code ec;
    fs::create_directories(path, ec);
    if (!ec && isDirectory(path)) {
        folder_ = withSlash(fs::path(path).lexically_normal().string());
        return {pendingFromEnter_ ? Outcome::Kind::Navigated : Outcome::Kind::EndOk, {}};
    }
    // Linux tells only a read-only medium apart; every other failure gets the
    // generic text (there are no drive types to tell network or CD-ROM by).
    if (ec.value() == EROFS)
        return {Outcome::Kind::Message,
                text("You cannot create this folder.\nThe medium may be write-protected.")};
    return {Outcome::Kind::Message,
            pendingFromEnter_ ? text("You do not have permission or\notherwise cannot create this folder.")
                              : text("You do not have permission\nto create this folder.")};
}

std::optional<std::string> FolderDialogModel::FolderToFollow(std::string_view typed) const
{
    if (typed == "/") return std::string("/");
    if (typed.empty() || typed.back() != '/') return std::nullopt;
    std::string path = resolve(typed);
    if (!isDirectory(path)) return std::nullopt;
    return withSlash(fs::path(path).lexically_normal().string());
}

std::optional<FolderDialogModel::Completion>
FolderDialogModel::Complete(std::string_view typed, bool caretAtEnd, bool backspace) const
{
    if (!caretAtEnd || backspace || typed.empty() || typed.back() == '/') return std::nullopt;
    size_t slash = typed.find_last_of('/');
    std::string_view prefix = slash == std::string_view::npos ? typed : typed.substr(slash + 1);
    std::string dir = slash == std::string_view::npos ? folder_ : resolve(typed.substr(0, slash + 1));
    if (prefix.empty() || !isDirectory(dir)) return std::nullopt;

    std::error_code ec;
    std::string match;
    int count = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code dec;
        if (!it->is_directory(dec)) continue;
        if (++count > 1) return std::nullopt;
        match = std::move(name);
    }
    if (count != 1 || match.size() == prefix.size()) return std::nullopt;
    // Names match and complete with their own case (on purpose): on a
    // case-sensitive file system a recased name would name another folder.
    Completion c;
    c.text = std::string(typed) + match.substr(prefix.size());
    c.selectFrom = typed.size();
    return c;
}

} // namespace zib
