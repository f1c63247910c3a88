// The commands on marked files: "Удалить", "Копировать в", "Переместить в", and their steps on one file.
#include "ops/FileCommand.h"
#include "framework/FileSystem.h"
#include "ops/Folders.h"
#include "ops/SafeReplace.h"

namespace
{
// Checked and deleted through one handle that lets nobody write meanwhile: a file changed since it was
// listed is not the copy the list shows, and stays.
FileFailure DeleteStep(const FileStep& step)
{
    CFile file;
    if (!file.OpenHeldForDeletion(step.source))
        return FileFailure::kSource;
    if (!file.IsAsListed(step.listed))
        return FileFailure::kNotListed;
    return file.MarkForDeletion(TRUE) ? FileFailure::kNone : FileFailure::kDeleteSource;
}

// Copying or moving a file onto itself would destroy it: the target may be the source written
// another way. Onto another listed file it would destroy a file that the list still shows, when the
// target folder lies inside the searched folder. Onto a file this run wrote it would destroy the copy
// of another source, whose name differs only in case, say, on a target folder that ignores case.
FileFailure CheckTarget(const FileStep& step)
{
    CFile target;
    if (!target.OpenForIdentity(step.target))
        return FileFailure::kNone;
    const ULONGLONG nTargetIndex = target.GetFileIndex();
    if (step.written.Holds(target, nTargetIndex, step.target))
        return FileFailure::kWrittenThisRun;
    if (IsSameFile(step.source, target, nTargetIndex, step.target) || step.isShown(target, nTargetIndex, step.target))
        return FileFailure::kProtectedTarget;
    return FileFailure::kNone;
}

FileFailure PrepareTarget(const FileStep& step)
{
    return MakeFolders(step.target, FALSE) ? CheckTarget(step) : FileFailure::kTargetFolders;
}

FileFailure CopyStep(const FileStep& step)
{
    const FileFailure failure = PrepareTarget(step);
    return failure != FileFailure::kNone ? failure
                                         : CopyReplacing(step.source, step.target, step.onChunk, step.written);
}

FileFailure MoveStep(const FileStep& step)
{
    const FileFailure failure = PrepareTarget(step);
    return failure != FileFailure::kNone
               ? failure
               : MoveReplacing(step.source, step.target, step.listed, step.onChunk, step.written);
}
}  // namespace

const FileCommand kDeleteCommand = {
    "Удаляю: %s", "Невозможно удалить файл:\n%s", "Ошибка при удалении", FALSE, TRUE, TRUE, &DeleteStep};
const FileCommand kCopyCommand = {
    "Копирую: %s", "Невозможно скопировать файл:\n%s", "Ошибка при копировании", TRUE, FALSE, FALSE, &CopyStep};
const FileCommand kMoveCommand = {
    "Перемещаю: %s", "Невозможно переместить файл:\n%s", "Ошибка при перемещении", TRUE, TRUE, FALSE, &MoveStep};
