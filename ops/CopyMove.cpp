// "Копировать в" and "Переместить в": the marked files go below the target folder as they lay below the search root.
#include "app/VelmoraDlg.h"
#include "framework/AutoHandle.h"
#include "framework/PathText.h"
#include "framework/FileSystem.h"
#include "ops/Folders.h"
#include "ops/SafeReplace.h"

void CVelmoraDlg::OnCopyTo()
{
    CopyOrMoveTo(kCopyFile);
}

void CVelmoraDlg::OnMoveTo()
{
    CopyOrMoveTo(kMoveFile);
}

// The folder is the one typed, cleaned and resolved: a folder that is not a full path (a relative
// one would land in whatever folder the program happens to run in) is refused before anything is
// written, as a folder that cannot be made.
void CVelmoraDlg::CopyOrMoveTo(FileAction action)
{
    UpdateData(TRUE);
    const std::string typed = CleanTypedPath(static_cast<LPCSTR>(m_strFolder));
    if (typed.empty())
        return;
    std::string folder;
    const bool bAbsolute = NormaliseAbsolutePath(typed, folder);
    m_strFolder = (bAbsolute ? folder : typed).c_str();
    if (m_strFolder[m_strFolder.GetLength() - 1] != '\\')
        m_strFolder += '\\';
    if (!bAbsolute || !MakeFolders(m_strFolder, TRUE))
    {
        CString strMessage;
        strMessage.Format("Невозможно создать папку:\n%s", static_cast<LPCSTR>(m_strFolder));
        MessageBox(strMessage, action == kCopyFile ? "Ошибка при копировании" : "Ошибка при перемещении",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RunOnSelectedRows(action);
}

BOOL CVelmoraDlg::TargetPath(const CString& strSource, CString& strTarget) const
{
    const int nRootLength = m_strRoot.GetLength();
    // The search builds every path by appending names to the root, so a path that does not begin
    // with it exactly has no place below the target folder.
    if (nRootLength == 0 || strSource.GetLength() <= nRootLength || strSource.Left(nRootLength) != m_strRoot)
        return FALSE;
    strTarget = m_strFolder + strSource.Mid(nRootLength);
    return TRUE;
}

BOOL CVelmoraDlg::CopyOrMoveFile(FileAction action, const CString& strSource, const ListedState& listed,
                                 const CString& strTarget, const std::function<void()>& onChunk)
{
    if (!MakeFolders(strTarget, FALSE) || IsProtectedTarget(strSource, strTarget))
        return FALSE;
    if (action == kCopyFile)
        return CopyReplacing(strSource, strTarget, onChunk);
    return MoveReplacing(strSource, strTarget, listed, onChunk);
}

// Copying or moving a file onto itself would destroy it: the target may be the source written
// another way. Onto another listed file it would destroy a file that the list still shows, when the
// target folder lies inside the searched folder.
BOOL CVelmoraDlg::IsProtectedTarget(const CString& strSource, const CString& strTarget)
{
    CAutoHandle target(OpenForIdentity(strTarget));
    if (!target.IsValid())
        return FALSE;
    const ULONGLONG nTargetIndex = FileIndexOf(target.Get());
    return IsSameFile(strSource, target.Get(), nTargetIndex, strTarget) ||
           m_groups.ShowsFile(target.Get(), nTargetIndex, strTarget, m_strRoot);
}
