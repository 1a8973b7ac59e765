#include "tests/support/FakeStyUiPort.h"

#include <algorithm>

namespace zib::test {

namespace {

template <typename T>
T takeFront(std::deque<T>& queue, T otherwise)
{
    if (queue.empty()) return otherwise;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

std::vector<std::string> FakeStyUiPort::texts() const
{
    std::vector<std::string> out;
    for (const StyNotice& n : messages)
        out.push_back(n.English());
    return out;
}

bool FakeStyUiPort::saw(StyViewNotice notice) const
{
    return std::any_of(viewNotices.begin(), viewNotices.end(), [notice](const auto& n) { return n.first == notice; });
}

void FakeStyUiPort::select(std::vector<int> rows)
{
    selected = std::move(rows);
    focused = selected.empty() ? -1 : selected.front();
}

StyAnswer FakeStyUiPort::Ask(StyQuestion, const StyNotice& notice)
{
    questions.push_back(notice);
    return takeFront(answers, StyAnswer::Cancel);
}

StyAnswer FakeStyUiPort::ConfirmOverwrite(const std::filesystem::path& file)
{
    overwriteQuestions.push_back(file);
    return takeFront(overwriteAnswers, StyAnswer::Cancel);
}

std::optional<std::filesystem::path> FakeStyUiPort::ChooseSaveFile(const StyFileChoice& choice)
{
    fileDialogs.push_back(choice);
    return takeFront(saveFiles, std::optional<std::filesystem::path>());
}

std::vector<std::filesystem::path> FakeStyUiPort::ChooseOpenFiles(const StyFileChoice& choice)
{
    fileDialogs.push_back(choice);
    return takeFront(openFiles, std::vector<std::filesystem::path>());
}

std::optional<std::filesystem::path> FakeStyUiPort::ChooseFolder(const std::string& title,
                                                                 const std::filesystem::path&)
{
    folderDialogs.push_back(title);
    return takeFront(folders, std::optional<std::filesystem::path>());
}

std::optional<CleanEventsChoice> FakeStyUiPort::ChooseCleanEvents()
{
    return takeFront(cleanChoices, std::optional<CleanEventsChoice>());
}

void FakeStyUiPort::SetSelection(std::span<const int> rows, int focusedRow)
{
    selected.assign(rows.begin(), rows.end());
    focused = focusedRow;
}

StyClipboardContent FakeStyUiPort::ReadClipboard()
{
    StyClipboardContent content;
    content.attached = clipboardAttaches;
    content.present = clipboardAttaches && clipboard.has_value();
    if (content.present) content.bytes = clipboard;
    return content;
}

bool FakeStyUiPort::WriteClipboard(const std::vector<uint8_t>& block)
{
    clipboardWrites.push_back(block);
    if (!clipboardAccepts) return false;
    clipboard = block;
    return true;
}

bool FakeStyUiPort::ShowTextViewer(const std::filesystem::path& file)
{
    viewerFiles.push_back(file);
    return viewerOpens;
}

void FakeStyUiPort::BeginWait()
{
    ++waitDepth;
    maxWaitDepth = std::max(maxWaitDepth, waitDepth);
}

} // namespace zib::test
