// Reading and writing the checksum store through the file-system boundary.
#include "search/StoreFile.h"
#include "framework/FileSystem.h"
#include <algorithm>
#include <cstdio>
#include <memory>

namespace
{
std::string StorePath(const std::string& folder)
{
    return folder + "\\checksums.dat";
}

// Reads the open file from where it stands, in pieces of a size a single read takes; through a buffer,
// so that a record at a time costs no call to the system.
class CBufferedRead
{
public:
    CBufferedRead(CFile& file, const std::function<void()>& between)
        : m_file(file), m_between(between), m_buffer(kBufferSize)
    {
    }

    BOOL operator()(void* pData, size_t nBytes)
    {
        BYTE* pTo = static_cast<BYTE*>(pData);
        while (nBytes > 0)
        {
            if (m_nAt == m_nHeld)
            {
                DWORD nRead = 0;
                m_between();
                if (!m_file.Read(m_buffer.data(), kBufferSize, nRead) || nRead == 0)
                    return FALSE;
                m_nAt = 0;
                m_nHeld = nRead;
            }
            const size_t nTaken = std::min<size_t>(nBytes, m_nHeld - m_nAt);
            std::copy(m_buffer.begin() + static_cast<ptrdiff_t>(m_nAt),
                      m_buffer.begin() + static_cast<ptrdiff_t>(m_nAt + nTaken), pTo);
            m_nAt += nTaken;
            pTo += nTaken;
            nBytes -= nTaken;
        }
        return TRUE;
    }

private:
    static const DWORD kBufferSize = 1 << 20;
    CFile& m_file;
    const std::function<void()>& m_between;
    std::vector<BYTE> m_buffer;
    size_t m_nAt = 0;
    size_t m_nHeld = 0;
};

// A reading of the open file from its start.
checksum_store::Read ReadFromStart(CFile& file, const std::function<void()>& between)
{
    auto pRead = std::make_shared<CBufferedRead>(file, between);
    return [&file, pRead](void* pData, size_t nBytes) { return (*pRead)(pData, nBytes); };
}
}  // namespace

std::string ChecksumStorePath()
{
    const std::string folder = ProgramDataFolder();
    return folder.empty() ? std::string() : StorePath(folder);
}

BOOL StoreVolumeOf(LPCSTR pszRoot, ULONGLONG& volumeSerial)
{
    CFile root;
    std::string fileSystem;
    return root.OpenForIdentity(pszRoot) && root.GetVolume(volumeSerial, &fileSystem) &&
           (fileSystem == "NTFS" || fileSystem == "ReFS");
}

// The file stays open from the check to the lookup, so that what was checked is what is looked up, even
// should another window put a new store in its place meanwhile.
void LookUpStore(ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries, const std::vector<UINT>& byId,
                 const std::function<bool(UINT)>& wantsAudio, const std::function<void(UINT, const ContentKey&)>& found,
                 const std::function<void()>& between)
{
    const std::string path = ChecksumStorePath();
    CFile file;
    if (byId.empty() || path.empty() || !file.OpenForReading(path.c_str()) ||
        !checksum_store::IsWhole(ReadFromStart(file, between)) || !file.Seek(0))
        return;
    checksum_store::LookUp(ReadFromStart(file, between), volumeSerial, entries, byId, wantsAudio, found);
}

void SaveStore(ULONGLONG volumeSerial, const std::vector<SearchEntry>& entries, const std::vector<UINT>& byId,
               const std::function<bool(UINT)>& readNow, const std::function<bool(UINT)>& isAudio,
               const std::function<void()>& between)
{
    const std::string folder = ProgramDataFolder();
    if (folder.empty())
        return;
    MakeFolder(folder.c_str());
    char suffix[32];
    std::snprintf(suffix, sizeof(suffix), ".%lu.tmp", static_cast<unsigned long>(::GetCurrentProcessId()));
    const std::string temporary = StorePath(folder) + suffix;
    // A window of an earlier process of the same id may have left one behind.
    DeletePath(temporary.c_str());
    BOOL bWritten;
    {
        CFile old;
        checksum_store::Source source;
        if (old.OpenForReading(StorePath(folder).c_str()))
            source = [&old, &between]
            {
                old.Seek(0);
                return ReadFromStart(old, between);
            };
        CFile file;
        bWritten = file.CreateNew(temporary.c_str()) &&
                   checksum_store::Renew(source, volumeSerial, entries, byId, readNow, isAudio,
                                         [&](const void* pData, size_t nBytes)
                                         {
                                             between();
                                             return file.Write(pData, static_cast<DWORD>(nBytes));
                                         });
    }
    if (!bWritten || !RenameReplacing(temporary.c_str(), StorePath(folder).c_str()))
        DeletePath(temporary.c_str());
}
