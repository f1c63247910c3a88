// "Копировать в" and "Переместить в": the marked files go below the target folder as they lay below the search root.
#include "app/VelmoraDlg.h"
#include "framework/PathText.h"
#include "ops/FileCommand.h"
#include "ops/Folders.h"

void CVelmoraDlg::OnCopyTo()
{
    CopyOrMoveTo(kCopyCommand);
}

void CVelmoraDlg::OnMoveTo()
{
    CopyOrMoveTo(kMoveCommand);
}

// The folder is the one typed, cleaned and resolved. Refused before anything is written, as a folder
// that cannot be made: a folder that is not a full path (a relative one would land in whatever folder
// the program happens to run in), and a name that no other program could open or delete, since the
// program writes through extended-length paths that take every name literally.
void CVelmoraDlg::CopyOrMoveTo(const FileCommand& command)
{
    UpdateData(TRUE);
    const std::string typed = CleanTypedPath(static_cast<LPCSTR>(m_strFolder));
    if (typed.empty())
        return;
    std::string folder;
    const bool bAbsolute = NormaliseAbsolutePath(WithoutDevicePrefix(typed), folder);
    m_strFolder = (bAbsolute ? folder : typed).c_str();
    if (m_strFolder[m_strFolder.GetLength() - 1] != '\\')
        m_strFolder += '\\';
    if (!bAbsolute || HasNameOnlyExtendedPathsReach(folder) || !MakeFolders(m_strFolder, TRUE))
    {
        CString strMessage;
        strMessage.Format("Невозможно создать папку:\n%s", static_cast<LPCSTR>(m_strFolder));
        MessageBox(strMessage, command.pszCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RunOnSelectedRows(command);
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
