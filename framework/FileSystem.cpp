// The file-system boundary: UTF-8 paths to extended-length wide paths, and the wide calls.
#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include "framework/Utf8.h"
#include <shlobj.h>
#include <winternl.h>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE hFile, HANDLE hEvent, PVOID pApcRoutine, PVOID pApcContext,
                                               PIO_STATUS_BLOCK pStatus, PVOID pBuffer, ULONG nLength,
                                               FILE_INFORMATION_CLASS infoClass, BOOLEAN bSingleEntry,
                                               PUNICODE_STRING pMask, BOOLEAN bRestart);
extern "C" NTSTATUS NTAPI NtQueryFullAttributesFile(POBJECT_ATTRIBUTES pAttributes,
                                                    PFILE_NETWORK_OPEN_INFORMATION pInfo);

namespace
{
// What the system answers for a listing it does not give.
const NTSTATUS kStatusInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003L);
const NTSTATUS kStatusInvalidParameter = static_cast<NTSTATUS>(0xC000000DL);
const NTSTATUS kStatusNotSupported = static_cast<NTSTATUS>(0xC00000BBL);

// The longest path the system takes in the extended form, in UTF-16 units.
const DWORD kLongestPath = 32768;

std::wstring ExtendedPath(LPCSTR pszPath)
{
    std::string path = pszPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (AbsoluteRootLength(path) == 0)
        path = FullPath(path);
    if (path.compare(0, 2, "\\\\") == 0)
        return L"\\\\?\\UNC\\" + WideFromUtf8(path.c_str() + 2);
    return L"\\\\?\\" + WideFromUtf8(path.c_str());
}

// The system's native form of the extended path, which the handle calls take: \??\C:\... for \\?\C:\...
std::wstring NativePath(LPCSTR pszPath)
{
    std::wstring path = ExtendedPath(pszPath);
    path[1] = L'?';
    return path;
}

HANDLE OpenPath(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition, DWORD dwFlags)
{
    return ::CreateFileW(ExtendedPath(pszPath).c_str(), dwAccess, dwShare, nullptr, dwDisposition, dwFlags, nullptr);
}

ULONGLONG FileIndexOf(HANDLE hFile)
{
    IO_STATUS_BLOCK status;
    FILE_INTERNAL_INFORMATION info;
    if (!NT_SUCCESS(::NtQueryInformationFile(hFile, &status, &info, sizeof(info), FileInternalInformation)))
        return 0;
    return static_cast<ULONGLONG>(info.IndexNumber.QuadPart);
}

// The system's own full path of a relative one, from the current folder.
std::string SystemFullPath(const std::string& path)
{
    const std::wstring wide = WideFromUtf8(path.c_str());
    std::vector<wchar_t> full(kLongestPath);
    const DWORD nLength = ::GetFullPathNameW(wide.c_str(), kLongestPath, full.data(), nullptr);
    if (nLength == 0 || nLength >= kLongestPath)
        return std::string();
    return Utf8FromWide(full.data(), static_cast<int>(nLength));
}
}  // namespace

std::string FullPath(const std::string& typed)
{
    std::string normal;
    if (NormaliseAbsolutePath(typed, normal))
        return normal;
    if (typed.empty() || typed.compare(0, 2, "\\\\") == 0 || typed.compare(0, 2, "//") == 0)
        return std::string();
    const std::string full = SystemFullPath(typed);
    return NormaliseAbsolutePath(full, normal) ? normal : std::string();
}

BOOL QueryPath(LPCSTR pszPath, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return ::GetFileAttributesExW(ExtendedPath(pszPath).c_str(), GetFileExInfoStandard, &data);
}

BOOL PathExists(LPCSTR pszPath)
{
    return ::GetFileAttributesW(ExtendedPath(pszPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL MakeFolder(LPCSTR pszPath)
{
    return ::CreateDirectoryW(ExtendedPath(pszPath).c_str(), nullptr);
}

BOOL RemoveFolder(LPCSTR pszPath)
{
    return ::RemoveDirectoryW(ExtendedPath(pszPath).c_str());
}

BOOL DeletePath(LPCSTR pszPath)
{
    return ::DeleteFileW(ExtendedPath(pszPath).c_str());
}

BOOL SetPathAttributes(LPCSTR pszPath, DWORD dwAttributes)
{
    return ::SetFileAttributesW(ExtendedPath(pszPath).c_str(), dwAttributes);
}

BOOL RenameReplacing(LPCSTR pszFrom, LPCSTR pszTo)
{
    return ::MoveFileExW(ExtendedPath(pszFrom).c_str(), ExtendedPath(pszTo).c_str(), MOVEFILE_REPLACE_EXISTING);
}

namespace
{
// About a hundred entries a call. Each folder on the walk's way down holds one, however deep it goes.
const size_t kListingBufferSize = 8 * 1024;

// The state from what the system reports of a file, with the id given apart: the attribute query and
// both listings name these fields alike.
template <class Info> ListedState StateOf(const Info& info, ULONGLONG nFileId)
{
    return {static_cast<ULONGLONG>(info.EndOfFile.QuadPart), static_cast<ULONGLONG>(info.LastWriteTime.QuadPart),
            static_cast<ULONGLONG>(info.ChangeTime.QuadPart), nFileId};
}

// A change time or id of 0 was not given when the file was listed, and is not compared.
BOOL IsSameState(const ListedState& now, const ListedState& listed)
{
    return now.size == listed.size && now.writeTime == listed.writeTime &&
           (listed.changeTime == 0 || now.changeTime == listed.changeTime) &&
           (listed.fileId == 0 || now.fileId == listed.fileId);
}
}  // namespace

BOOL QueryListedState(LPCSTR pszPath, ListedState& state)
{
    std::wstring path = NativePath(pszPath);
    UNICODE_STRING name;
    name.Buffer = &path[0];
    name.Length = static_cast<USHORT>(std::min<size_t>(path.size() * sizeof(wchar_t), 0xFFFE));
    name.MaximumLength = name.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    FILE_NETWORK_OPEN_INFORMATION info;
    if (!NT_SUCCESS(::NtQueryFullAttributesFile(&attributes, &info)))
        return FALSE;
    state = StateOf(info, 0);
    return TRUE;
}

BOOL IsAsListed(LPCSTR pszPath, const ListedState& listed)
{
    ListedState now;
    if (!QueryListedState(pszPath, now))
        return FALSE;
    now.fileId = listed.fileId;
    return IsSameState(now, listed);
}

CFolderListing::CFolderListing(LPCSTR pszFolder) : m_buffer(kListingBufferSize)
{
    // A file opens as well as a folder; only a folder lists. An empty folder lists no entry at all
    // (a drive's root has not even "." and ".."), and yet it is a folder.
    m_bOpen = m_folder.OpenFolder(pszFolder) && (Fill(TRUE) || ::GetLastError() == ERROR_NO_MORE_FILES);
}

// With file ids when the file system lists them: the walk then knows each file's identity without
// opening it. Where it does not, the plain listing gives the rest.
BOOL CFolderListing::Fill(BOOL bFirst)
{
    m_nOffset = m_buffer.size();
    const auto list = [&](FILE_INFORMATION_CLASS infoClass)
    {
        IO_STATUS_BLOCK status;
        return ::NtQueryDirectoryFile(m_folder.m_hFile, nullptr, nullptr, nullptr, &status, m_buffer.data(),
                                      static_cast<ULONG>(m_buffer.size()), infoClass, FALSE, nullptr, bFirst);
    };
    NTSTATUS result = kStatusInvalidInfoClass;
    if (m_bWithIds)
    {
        result = list(FileIdFullDirectoryInformation);
        m_bWithIds =
            result != kStatusInvalidInfoClass && result != kStatusInvalidParameter && result != kStatusNotSupported;
    }
    if (!m_bWithIds)
        result = list(FileFullDirectoryInformation);
    m_bMore = NT_SUCCESS(result);
    if (m_bMore)
        m_nOffset = 0;
    else
        ::SetLastError(::RtlNtStatusToDosError(result));
    return m_bMore;
}

namespace
{
// The two listings differ only in the id before the name. FALSE for "." and "..", which are no entries.
template <class Info> bool ReadEntry(const Info& info, ULONGLONG nFileId, FolderEntry& entry)
{
    const std::wstring_view name(info.FileName, info.FileNameLength / sizeof(WCHAR));
    if (name == L"." || name == L"..")
        return false;
    entry.name = Utf8FromWide(name.data(), static_cast<int>(name.size()));
    entry.attributes = info.FileAttributes;
    entry.state = StateOf(info, nFileId);
    // For a reparse point the size of the extended attributes holds its tag instead.
    entry.reparseTag = (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? info.EaSize : 0;
    return true;
}
}  // namespace

BOOL CFolderListing::Next(FolderEntry& entry)
{
    while (m_bOpen)
    {
        if (m_nOffset >= m_buffer.size() && !(m_bMore && Fill(FALSE)))
            return FALSE;
        const BYTE* pEntry = m_buffer.data() + m_nOffset;
        // Both kinds of entry begin with the offset of the next one.
        const ULONG nNext = *reinterpret_cast<const ULONG*>(pEntry);
        m_nOffset = nNext ? m_nOffset + nNext : m_buffer.size();
        const auto* pWithId = reinterpret_cast<const FILE_ID_FULL_DIR_INFORMATION*>(pEntry);
        if (m_bWithIds ? ReadEntry(*pWithId, static_cast<ULONGLONG>(pWithId->FileId.QuadPart), entry)
                       : ReadEntry(*reinterpret_cast<const FILE_FULL_DIR_INFORMATION*>(pEntry), 0, entry))
            return TRUE;
    }
    return FALSE;
}

CFile::CFile(CFile&& other) noexcept : m_hFile(other.m_hFile)
{
    other.m_hFile = INVALID_HANDLE_VALUE;
}

CFile& CFile::operator=(CFile&& other) noexcept
{
    if (this != &other)
    {
        Close();
        m_hFile = other.m_hFile;
        other.m_hFile = INVALID_HANDLE_VALUE;
    }
    return *this;
}

BOOL CFile::Open(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition, DWORD dwFlags)
{
    Close();
    m_hFile = OpenPath(pszPath, dwAccess, dwShare, dwDisposition, dwFlags);
    return IsOpen();
}

BOOL CFile::OpenForReading(LPCSTR pszPath)
{
    return Open(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
}

BOOL CFile::OpenHeldForDeletion(LPCSTR pszPath)
{
    return Open(pszPath, GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING,
                FILE_FLAG_SEQUENTIAL_SCAN);
}

BOOL CFile::OpenForIdentity(LPCSTR pszPath)
{
    // No access rights asked for and every sharing allowed.
    return Open(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                FILE_FLAG_BACKUP_SEMANTICS);
}

BOOL CFile::OpenFolder(LPCSTR pszPath)
{
    return Open(pszPath, FILE_LIST_DIRECTORY | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

BOOL CFile::OpenLink(LPCSTR pszPath)
{
    return Open(pszPath, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
}

BOOL CFile::CreateNew(LPCSTR pszPath)
{
    return Open(pszPath, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
}

void CFile::Close()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CFile::Read(void* pBuffer, DWORD nCount, DWORD& nRead)
{
    nRead = 0;
    return ::ReadFile(m_hFile, pBuffer, nCount, &nRead, nullptr);
}

BOOL CFile::ReadExactly(void* pBuffer, DWORD nCount)
{
    DWORD nRead = 0;
    return Read(pBuffer, nCount, nRead) && nRead == nCount;
}

BOOL CFile::Write(const void* pBuffer, DWORD nCount)
{
    DWORD nWritten = 0;
    return ::WriteFile(m_hFile, pBuffer, nCount, &nWritten, nullptr) && nWritten == nCount;
}

BOOL CFile::Seek(ULONGLONG nFromStart)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(nFromStart);
    return ::SetFilePointerEx(m_hFile, to, nullptr, FILE_BEGIN);
}

BOOL CFile::GetLength(ULONGLONG& nLength) const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        return FALSE;
    nLength = static_cast<ULONGLONG>(size.QuadPart);
    return TRUE;
}

ULONGLONG CFile::GetFileIndex() const
{
    return FileIndexOf(m_hFile);
}

BOOL CFile::IsOnOneVolume(const CFile& other) const
{
    ULONGLONG nFirst = 0;
    ULONGLONG nSecond = 0;
    if (!GetVolume(nFirst) || !other.GetVolume(nSecond))
        return TRUE;
    return nFirst == nSecond;
}

BOOL CFile::GetVolume(ULONGLONG& nSerial, std::string* pFileSystem) const
{
    DWORD nVolumeSerial = 0;
    wchar_t name[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationByHandleW(m_hFile, nullptr, 0, &nVolumeSerial, nullptr, nullptr,
                                         pFileSystem ? name : nullptr, pFileSystem ? MAX_PATH + 1 : 0))
        return FALSE;
    nSerial = nVolumeSerial;
    if (pFileSystem)
        *pFileSystem = Utf8FromWide(name);
    return TRUE;
}

BOOL CFile::IsAsListed(const ListedState& listed) const
{
    IO_STATUS_BLOCK status;
    FILE_NETWORK_OPEN_INFORMATION info;
    if (!NT_SUCCESS(::NtQueryInformationFile(m_hFile, &status, &info, sizeof(info), FileNetworkOpenInformation)))
        return FALSE;
    return IsSameState(StateOf(info, listed.fileId != 0 ? GetFileIndex() : 0), listed);
}

BOOL CFile::GetReparseTag(DWORD& nTag) const
{
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!::GetFileInformationByHandleEx(m_hFile, FileAttributeTagInfo, &info, sizeof(info)))
        return FALSE;
    nTag = info.ReparseTag;
    return TRUE;
}

BOOL CFile::MarkForDeletion(BOOL bDelete)
{
    FILE_DISPOSITION_INFO info = {};
    info.DeleteFile = bDelete;
    return ::SetFileInformationByHandle(m_hFile, FileDispositionInfo, &info, sizeof(info));
}

BOOL CFile::Rename(LPCSTR pszTo)
{
    const std::wstring target = NativePath(pszTo);
    const DWORD nNameBytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nNameBytes);
    FILE_RENAME_INFO& info = *reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info.ReplaceIfExists = TRUE;
    info.FileNameLength = nNameBytes;
    std::memcpy(info.FileName, target.c_str(), nNameBytes);
    return ::SetFileInformationByHandle(m_hFile, FileRenameInfo, &info, static_cast<DWORD>(buffer.size()));
}

BOOL CFile::CopyAttributesFrom(const CFile& source)
{
    FILE_BASIC_INFO from;
    if (!::GetFileInformationByHandleEx(source.m_hFile, FileBasicInfo, &from, sizeof(from)))
        return FALSE;
    FILE_BASIC_INFO to = {};
    to.LastWriteTime = from.LastWriteTime;
    to.FileAttributes = from.FileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                               FILE_ATTRIBUTE_ARCHIVE);
    if (to.FileAttributes == 0)
        to.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(m_hFile, FileBasicInfo, &to, sizeof(to));
}

BOOL IsSameFile(LPCSTR pszSource, const CFile& target, ULONGLONG nTargetIndex, LPCSTR pszTarget)
{
    CFile source;
    if (!source.OpenForIdentity(pszSource))
        return FALSE;
    return IsSameFileOf(source.GetFileIndex(), nTargetIndex, pszSource, pszTarget,
                        [&] { return source.IsOnOneVolume(target); });
}

BOOL IsSameFileOf(ULONGLONG nFirstIndex, ULONGLONG nSecondIndex, LPCSTR pszFirst, LPCSTR pszSecond,
                  const std::function<BOOL()>& onOneVolume)
{
    if (nFirstIndex == 0 || nSecondIndex == 0)
    {
        const std::string first = ComparablePath(pszFirst);
        return !first.empty() && first == ComparablePath(pszSecond);
    }
    return nFirstIndex == nSecondIndex && onOneVolume();
}

std::string ComparablePath(LPCSTR pszPath)
{
    const std::string full = FullPath(pszPath);
    std::wstring wide = WideFromUtf8(full.c_str());
    if (wide.empty())
        return std::string();
    ::CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return Utf8FromWide(wide.c_str(), static_cast<int>(wide.size()));
}

BOOL StartsWithNoCase(LPCSTR pszText, LPCSTR pszPrefix)
{
    const std::wstring prefix = WideFromUtf8(pszPrefix);
    const std::wstring text = WideFromUtf8(pszText);
    if (text.size() < prefix.size())
        return FALSE;
    // A prefix that ends inside a character of the text (the first half of a surrogate pair) matches
    // no whole character.
    if (text.size() > prefix.size() && IS_LOW_SURROGATE(text[prefix.size()]))
        return FALSE;
    return ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

std::string ProgramDataFolder()
{
    PWSTR pszFolder = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &pszFolder);
    CAutoCoTaskMem<wchar_t> folder(pszFolder);
    if (FAILED(result) || !pszFolder)
        return std::string();
    return Utf8FromWide(pszFolder) + "\\Velmora";
}

std::string PathOfShellItem(PCIDLIST_ABSOLUTE pidl)
{
    std::vector<wchar_t> path(kLongestPath);
    if (!::SHGetPathFromIDListEx(pidl, path.data(), kLongestPath, GPFIDL_DEFAULT))
        return std::string();
    return Utf8FromWide(path.data());
}
