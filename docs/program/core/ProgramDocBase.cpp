#include "docs/program/core/ProgramDocBase.h"

#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"
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

bool ProgramDocBase::ReadForOpen(const std::string& filePath, size_t limit, std::vector<uint8_t>& bytes) const
{
    if (ReadFilePrefix(filePath, limit, bytes) == FileIoError::None) return true;
    return Failed(DocMessage::Numbered(9, "OnOpenDocument", DocIcon::Stop));
}

bool ProgramDocBase::OpenWith(const std::string& filePath, std::span<const uint8_t> image,
                              const std::function<int(std::span<const uint8_t>)>& parse)
{
    DeleteContents();
    path = filePath;
    if (image.empty()) Notify(DocMessage::Numbered(46));
    const int fileKind = image.empty() ? 0 : parse(image);
    if (fileKind == 0) {
        DeleteContents();
        Port().Refill();
        return false;
    }
    Port().Refill();
    folder = FolderOf(path);
    Port().SetLastOpened(fileKind, folder);
    return true;
}

int ProgramDocBase::CheckDaskHead(std::span<const uint8_t> image, std::string_view accepted) const
{
    const auto letter = ReadItemFileHead(image);
    if (!letter) {
        Notify(DocMessage::Numbered(17));
        return 0;
    }
    const int model = int(int8_t(*letter));
    if (model == 0 || accepted.find(char(model)) == std::string_view::npos) {
        Notify(DocMessage::Numbered(18));
        return 0;
    }
    return model;
}

} // namespace zib
