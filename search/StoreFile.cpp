// Reading and writing the checksum store through the file-system boundary.
#include "search/StoreFile.h"
#include "framework/FileSystem.h"
#include "search/FileChecksum.h"
#include <algorithm>
#include <cstdio>

namespace
{
std::string StorePath(const std::string& folder)
{
    return folder + "\\checksums.dat";
}

// Transfers of any size, in pieces a single read or write can take.
template <class Piece> BOOL InPieces(void* pData, size_t nBytes, Piece piece)
{
    const DWORD kMostAtOnce = 1 << 30;
    for (BYTE* pBytes = static_cast<BYTE*>(pData); nBytes > 0;)
    {
        const DWORD nPiece = static_cast<DWORD>(std::min<size_t>(nBytes, kMostAtOnce));
        if (!piece(pBytes, nPiece))
            return FALSE;
        pBytes += nPiece;
        nBytes -= nPiece;
    }
    return TRUE;
}
}  // namespace

std::unique_ptr<CChecksumStore> OpenChecksumStore(LPCSTR pszRoot)
{
    CFile root;
    ULONGLONG nSerial = 0;
    std::string fileSystem;
    if (!root.OpenForIdentity(pszRoot) || !root.GetVolume(nSerial, fileSystem) ||
        (fileSystem != "NTFS" && fileSystem != "ReFS"))
        return nullptr;
    auto pStore = std::make_unique<CChecksumStore>(nSerial);
    const std::string folder = ProgramDataFolder();
    CFile file;
    if (!folder.empty() && file.OpenForReading(StorePath(folder).c_str()))
        pStore->Load([&](void* pData, size_t nBytes)
                     { return InPieces(pData, nBytes, [&](BYTE* p, DWORD n) { return file.ReadExactly(p, n); }); });
    return pStore;
}

void SaveChecksumStore(CChecksumStore& store, const std::vector<SearchEntry>& entries, const std::vector<UINT>& read,
                       BOOL bMp3)
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
        CFile file;
        bWritten = file.CreateNew(temporary.c_str()) &&
                   store.Save(
                       entries, read, [&](UINT i) { return bMp3 && IsMp3File(entries[i].path); },
                       [&](void* pData, size_t nBytes)
                       { return InPieces(pData, nBytes, [&](BYTE* p, DWORD n) { return file.Write(p, n); }); });
    }
    if (!bWritten || !RenameReplacing(temporary.c_str(), StorePath(folder).c_str()))
        DeletePath(temporary.c_str());
}
