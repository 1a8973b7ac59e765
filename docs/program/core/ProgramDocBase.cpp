#include "docs/program/core/ProgramDocBase.h"

#include "docs/program/core/DocPaths.h"
#include "platform/FileIo.h"


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

void ProgramDocBase::Opened(int fileKind)
{
    folder = FolderOf(path);
    Port().SetLastOpened(fileKind, folder);
}

} // namespace zib
