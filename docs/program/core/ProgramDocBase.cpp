#include "docs/program/core/ProgramDocBase.h"

#include "docs/program/core/DocPaths.h"
#include "platform/FileIo.h"

#include <filesystem>
#include <set>

namespace zib {

DocAnswer ProgramDocBase::SaveModified(const std::string& shownName)
{
    if (!modified) return DocAnswer::No;
    const DocAnswer answer = Port().AskYesNoCancel(
        DocMessage::Text("Save changes to %s", {shownName}, "zib", DocIcon::Exclamation));
    return answer == DocAnswer::YesToAll ? DocAnswer::Yes : answer;
}

bool ProgramDocBase::SaveTo(const std::string& file)
{
    const auto image = BuildFileImage();
    if (!image) return false;
    const FileIoError error = writeFileAtomically(file, *image);
    if (error == FileIoError::OpenFailed) {
        Notify(DocMessage::Numbered(9, "OnSaveDocument", DocIcon::Stop));
        return false;
    }
    if (error != FileIoError::None) {
        Notify(DocMessage::Text("Cannot write file %s", {file}, "OnSaveDocument", DocIcon::Stop));
        return false;
    }
    path = file;
    folder = FolderOf(file);
    modified = false;
    return true;
}

void ProgramDocBase::ExtractAll(int count, const std::string& extension,
                                const std::function<std::string(int)>& name,
                                const std::function<bool(int, const std::string&)>& write)
{
    const auto chosen = Port().ChooseFolder("Select Destination Folder", folder);
    if (!chosen) return;
    std::set<std::string> used;
    bool overwriteAll = false;
    ScopedWait wait(Port());
    for (int i = 0; i < count; ++i) {
        const std::string base = name(i);
        if (base.empty()) continue;
        // Items of one name get a number, so the run never overwrites its own files.
        std::string fileName = base + extension;
        for (int n = 2; !used.insert(UpperTail(fileName, fileName.size())).second; ++n)
            fileName = base + "_" + std::to_string(n) + extension;
        const std::string file = JoinPath(*chosen, fileName);
        std::error_code ec;
        if (!overwriteAll && std::filesystem::exists(file, ec)) {
            const DocAnswer answer = Port().OverwriteAnswer(fileName);
            if (answer == DocAnswer::Cancel) return;
            if (answer == DocAnswer::No) continue;
            if (answer == DocAnswer::YesToAll) overwriteAll = true;
        }
        if (!write(i, file)) return;
    }
}

void ProgramDocBase::Opened(int fileKind)
{
    folder = FolderOf(path);
    Port().SetLastOpened(fileKind, folder);
}

} // namespace zib
