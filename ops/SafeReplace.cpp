// Copy into a temporary file beside the target, then replace the target by renaming it over.
#include "ops/SafeReplace.h"
#include "framework/FileSystem.h"
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const DWORD kChunkSize = 1 << 20;

// An open temporary file, deleted when it leaves scope unless it has become the target.
class CTemporaryFile
{
public:
    CTemporaryFile() = default;
    ~CTemporaryFile()
    {
        m_file.Close();
        if (m_path.empty())
            return;
        // The source's read-only attribute travels with the copy and would stop the deletion.
        SetPathAttributes(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeletePath(m_path.c_str());
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // Creates a file of a new name in the target's folder, open for writing.
    BOOL CreateBeside(const std::string& target)
    {
        static DWORD s_nCounter = ::GetTickCount();
        const size_t nSlash = target.rfind('\\');
        const std::string folder = nSlash == std::string::npos ? std::string() : target.substr(0, nSlash + 1);
        for (int nTry = 0; nTry < 100; ++nTry)
        {
            char name[32];
            std::snprintf(name, sizeof(name), "~vlm%08lX.tmp", static_cast<unsigned long>(++s_nCounter));
            const std::string path = folder + name;
            if (m_file.CreateNew(path.c_str()))
            {
                m_path = path;
                return TRUE;
            }
            if (::GetLastError() != ERROR_FILE_EXISTS)
                return FALSE;
        }
        return FALSE;
    }
    CFile& File() { return m_file; }
    LPCSTR Path() const { return m_path.c_str(); }
    void Keep() { m_path.clear(); }

private:
    CFile m_file;
    std::string m_path;
};

// The whole source as it was when the copy began: a source that shrinks or grows meanwhile fails it.
FileFailure CopyContents(CFile& source, CFile& target, const std::function<void()>& onChunk)
{
    ULONGLONG nLeft = 0;
    if (!source.GetLength(nLeft))
        return FileFailure::kSource;
    std::vector<BYTE> buffer(static_cast<size_t>(std::min<ULONGLONG>(nLeft, kChunkSize)) + 1);
    for (;;)
    {
        DWORD nRead = 0;
        if (!source.Read(buffer.data(), static_cast<DWORD>(buffer.size()), nRead))
            return FileFailure::kSource;
        if (nRead == 0)
            return nLeft == 0 ? FileFailure::kNone : FileFailure::kSource;
        if (nRead > nLeft)
            return FileFailure::kSource;
        if (!target.Write(buffer.data(), nRead))
            return FileFailure::kWrite;
        nLeft -= nRead;
        if (onChunk)
            onChunk();
    }
}

// The whole source, its attributes and its time, in a temporary file beside the target, closed; and
// which file that is, asked while it still has the name it was opened by.
FileFailure WriteCopyBeside(CFile& source, LPCSTR pszTarget, CTemporaryFile& temporary,
                            const std::function<void()>& onChunk, ULONGLONG& nIndex)
{
    if (!temporary.CreateBeside(pszTarget))
        return FileFailure::kTemporaryFile;
    const FileFailure failure = CopyContents(source, temporary.File(), onChunk);
    if (failure != FileFailure::kNone)
        return failure;
    if (!temporary.File().CopyAttributesFrom(source))
        return FileFailure::kWrite;
    nIndex = temporary.File().GetFileIndex();
    temporary.File().Close();
    return FileFailure::kNone;
}

FileFailure TakeTargetsPlace(CTemporaryFile& temporary, ULONGLONG nIndex, LPCSTR pszTarget, CKnownFiles& written)
{
    if (!RenameReplacing(temporary.Path(), pszTarget))
        return FileFailure::kRename;
    temporary.Keep();
    written.Add(nIndex, pszTarget);
    return FileFailure::kNone;
}
}  // namespace

FileFailure CopyReplacing(LPCSTR pszSource, LPCSTR pszTarget, const std::function<void()>& onChunk,
                          CKnownFiles& written)
{
    CFile source;
    if (!source.OpenForReading(pszSource))
        return FileFailure::kSource;
    CTemporaryFile temporary;
    ULONGLONG nIndex = 0;
    const FileFailure failure = WriteCopyBeside(source, pszTarget, temporary, onChunk, nIndex);
    return failure != FileFailure::kNone ? failure : TakeTargetsPlace(temporary, nIndex, pszTarget, written);
}

// The source is held from the start with no other program allowed to write it, so that the file
// checked against its listing is the file moved. Across volumes a move is a copy and a deletion, and
// neither may happen without the other: the source is marked for deletion before the target is
// replaced, so a source that cannot be deleted (read-only, say) fails the move while the target is
// still as it was, and a target that cannot be replaced takes the mark back. The source is deleted
// when its handle closes. On one volume the move is a rename through that handle, which keeps the
// file's id and names the target, so the handle tells which file the target now is.
FileFailure MoveReplacing(LPCSTR pszSource, LPCSTR pszTarget, const ListedState& listed,
                          const std::function<void()>& onChunk, CKnownFiles& written)
{
    CFile source;
    if (!source.OpenHeldForDeletion(pszSource))
        return FileFailure::kSource;
    if (!source.IsAsListed(listed))
        return FileFailure::kNotListed;
    if (source.Rename(pszTarget))
    {
        written.Add(source.GetFileIndex(), pszTarget);
        return FileFailure::kNone;
    }
    if (::GetLastError() != ERROR_NOT_SAME_DEVICE)
        return FileFailure::kRename;
    CTemporaryFile temporary;
    ULONGLONG nIndex = 0;
    FileFailure failure = WriteCopyBeside(source, pszTarget, temporary, onChunk, nIndex);
    if (failure != FileFailure::kNone)
        return failure;
    if (!source.MarkForDeletion(TRUE))
        return FileFailure::kDeleteSource;
    failure = TakeTargetsPlace(temporary, nIndex, pszTarget, written);
    // Should the mark stay, the source goes: its copy then stays, under its temporary name.
    if (failure != FileFailure::kNone && !source.MarkForDeletion(FALSE))
        temporary.Keep();
    return failure;
}
