// Copy into a temporary file beside the target, then replace the target by renaming it over.
#include "ops/SafeReplace.h"
#include "framework/AutoHandle.h"
#include <algorithm>
#include <string>
#include <vector>

namespace
{
const DWORD kChunkSize = 1 << 20;

// The temporary file is deleted when it leaves scope, unless it has become the target.
class CTemporaryFile
{
public:
    CTemporaryFile() = default;
    ~CTemporaryFile()
    {
        if (m_path.empty())
            return;
        // The source's read-only attribute travels with the copy and would stop the deletion.
        ::SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(m_path.c_str());
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // Creates an empty file of a new name in the target's folder.
    BOOL CreateBeside(LPCSTR pszTarget)
    {
        std::string folder = pszTarget;
        const size_t nSlash = folder.rfind('\\');
        folder.resize(nSlash == std::string::npos ? 0 : nSlash + 1);
        if (folder.empty())
            folder = ".";
        char path[MAX_PATH];
        if (!::GetTempFileNameA(folder.c_str(), "vlm", 0, path))
            return FALSE;
        m_path = path;
        return TRUE;
    }
    LPCSTR Path() const { return m_path.c_str(); }
    void Keep() { m_path.clear(); }

private:
    std::string m_path;
};

// The whole source as it was when the copy began: a source that shrinks or grows meanwhile fails it.
BOOL CopyContents(HANDLE hSource, HANDLE hTarget, const std::function<void()>& onChunk)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(hSource, &size))
        return FALSE;
    ULONGLONG nLeft = static_cast<ULONGLONG>(size.QuadPart);
    std::vector<BYTE> buffer(static_cast<size_t>(std::min<ULONGLONG>(nLeft, kChunkSize)) + 1);
    for (;;)
    {
        DWORD nRead = 0;
        if (!::ReadFile(hSource, buffer.data(), static_cast<DWORD>(buffer.size()), &nRead, nullptr))
            return FALSE;
        if (nRead == 0)
            return nLeft == 0;
        if (nRead > nLeft)
            return FALSE;
        DWORD nWritten = 0;
        if (!::WriteFile(hTarget, buffer.data(), nRead, &nWritten, nullptr) || nWritten != nRead)
            return FALSE;
        nLeft -= nRead;
        onChunk();
    }
}

BOOL CopyIntoTemporary(LPCSTR pszSource, LPCSTR pszTemporary, const std::function<void()>& onChunk)
{
    CAutoHandle source(::CreateFileA(pszSource, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.IsValid())
        return FALSE;
    const DWORD nAttributes = ::GetFileAttributesA(pszSource);
    FILETIME written;
    {
        CAutoHandle target(::CreateFileA(pszTemporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!target.IsValid() || !CopyContents(source.Get(), target.Get(), onChunk))
            return FALSE;
        // As a system copy does: the copy keeps the time the source was last written.
        if (::GetFileTime(source.Get(), nullptr, nullptr, &written))
            ::SetFileTime(target.Get(), nullptr, nullptr, &written);
    }
    if (nAttributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(pszTemporary, nAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    return TRUE;
}
}  // namespace

BOOL CopyReplacing(LPCSTR pszSource, LPCSTR pszTarget, const std::function<void()>& onChunk)
{
    CTemporaryFile temporary;
    if (!temporary.CreateBeside(pszTarget) || !CopyIntoTemporary(pszSource, temporary.Path(), onChunk) ||
        !::MoveFileExA(temporary.Path(), pszTarget, MOVEFILE_REPLACE_EXISTING))
        return FALSE;
    temporary.Keep();
    return TRUE;
}

BOOL MoveReplacing(LPCSTR pszSource, LPCSTR pszTarget, const std::function<void()>& onChunk)
{
    if (::MoveFileExA(pszSource, pszTarget, MOVEFILE_REPLACE_EXISTING))
        return TRUE;
    if (::GetLastError() != ERROR_NOT_SAME_DEVICE)
        return FALSE;
    return CopyReplacing(pszSource, pszTarget, onChunk) && ::DeleteFileA(pszSource);
}
