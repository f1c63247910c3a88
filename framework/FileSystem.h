// The program's one way to the file system. Paths are UTF-8 text, as everywhere in the program; here
// each becomes the extended-length wide form (\\?\C:\..., \\?\UNC\server\share\...) for the wide
// function. That form lifts the 260-character limit and reaches every name as it is written: names
// that end in a dot or a space, and names such as aux.h or con.txt, which the plain form takes for
// devices. A path is taken literally, so a path typed by a user goes through FullPath first.
#pragma once
#include "framework/ScopedWin.h"
#include <windows.h>
#include <shtypes.h>
#include <functional>
#include <string>
#include <vector>

// What a user typed, as a full path: '/' read as '\', "." and ".." resolved, a relative path taken
// from the current folder. Empty when it names no place.
std::string FullPath(const std::string& typed);

// Attributes, size and times of a file or folder; FALSE when there is none.
BOOL QueryPath(LPCSTR pszPath, WIN32_FILE_ATTRIBUTE_DATA& data);
BOOL PathExists(LPCSTR pszPath);
BOOL MakeFolder(LPCSTR pszPath);
// Only an empty folder goes.
BOOL RemoveFolder(LPCSTR pszPath);
BOOL DeletePath(LPCSTR pszPath);
BOOL SetPathAttributes(LPCSTR pszPath, DWORD dwAttributes);
// Gives the file the new name in one step, replacing a file of that name; fails with
// ERROR_NOT_SAME_DEVICE when the names lie on two volumes.
BOOL RenameReplacing(LPCSTR pszFrom, LPCSTR pszTo);

// What a file was when it was listed. A file whose size, times or identity differ is another file, or
// the same file changed since, and may hold other contents than were read. The change time moves with
// every write and cannot be set back by a program, as the write time can (by sync tools, say).
struct ListedState
{
    ULONGLONG size;
    ULONGLONG writeTime;
    ULONGLONG changeTime;  // 0 where the file system gives none
    ULONGLONG fileId;      // the file's index on its volume; 0 where the file system gives none
};

// The size, write time and change time the file at the path has now (its id is left 0); FALSE when it
// cannot be asked. One call, no file opened.
BOOL QueryListedState(LPCSTR pszPath, ListedState& state);
// TRUE when the file at the path still has the listed size, write time and change time.
BOOL IsAsListed(LPCSTR pszPath, const ListedState& listed);

// An open file or folder, closed when the object goes. Each Open and Create closes what the object
// held before; when it fails, GetLastError tells why.
class CFile
{
public:
    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&& other) noexcept;

    // Opening
    // An existing file, read from start to end, so that the system reads ahead; other programs may read
    // and write it meanwhile.
    BOOL OpenForReading(LPCSTR pszPath);
    // An existing file for reading and deleting, letting other programs read it but not write it
    // meanwhile (and delete or rename it, which a move on one volume does through a handle of its own).
    BOOL OpenHeldForDeletion(LPCSTR pszPath);
    // An existing file or folder for nothing but telling which it is; it may be open anywhere else.
    BOOL OpenForIdentity(LPCSTR pszPath);
    // A link itself, not what it names, to ask its reparse tag.
    BOOL OpenLink(LPCSTR pszPath);
    // A file of a new name, for writing and open to no one else; fails with ERROR_FILE_EXISTS when the
    // name is taken.
    BOOL CreateNew(LPCSTR pszPath);
    // A folder, to list it.
    BOOL OpenFolder(LPCSTR pszPath);
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    void Close();

    // Contents
    // Up to nCount bytes from the file position into the buffer; nRead is 0 at the end of the file.
    BOOL Read(void* pBuffer, DWORD nCount, DWORD& nRead);
    // All nCount bytes or failure: a short read means the file shrank since its size was taken.
    BOOL ReadExactly(void* pBuffer, DWORD nCount);
    // All nCount bytes or failure: a full disk, say.
    BOOL Write(const void* pBuffer, DWORD nCount);
    // To a place from the start. Seek, then read: a positioned read through OVERLAPPED costs about 40 us
    // under Wine, these two under 1 us.
    BOOL Seek(ULONGLONG nFromStart);
    BOOL GetLength(ULONGLONG& nLength) const;

    // Identity and state
    // The file's index on its volume, or 0 when it cannot be told (see FileIndexOf).
    ULONGLONG GetFileIndex() const;
    // TRUE when both files lie on one volume, or when that cannot be told.
    BOOL IsOnOneVolume(const CFile& other) const;
    // TRUE when the file still has the listed size and times and is the listed file.
    BOOL IsAsListed(const ListedState& listed) const;
    // FALSE when the file, opened by OpenLink, cannot be asked.
    BOOL GetReparseTag(DWORD& nTag) const;
    // The serial number of the file's volume and, when asked, the name of its file system ("NTFS",
    // "FAT32" ...); FALSE when they cannot be told. About 400 us under Wine.
    BOOL GetVolume(ULONGLONG& nSerial, std::string* pFileSystem = nullptr) const;

    // Changes through the handle
    // A file open for deletion goes when its last handle closes; FALSE takes the mark back.
    BOOL MarkForDeletion(BOOL bDelete);
    // Gives the file, open for deletion, the new name in one step, replacing a file of that name; fails
    // with ERROR_NOT_SAME_DEVICE across volumes. The handle then names the file by its new name.
    BOOL Rename(LPCSTR pszTo);
    // As a system copy does: the copy keeps the source's attributes and the time it was last written.
    BOOL CopyAttributesFrom(const CFile& source);

private:
    friend class CFolderListing;  // lists the folder through the handle
    BOOL Open(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition, DWORD dwFlags);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

// The entries of one folder, "." and ".." left out.
struct FolderEntry
{
    std::string name;
    DWORD attributes;
    ListedState state;
    DWORD reparseTag;  // when attributes has FILE_ATTRIBUTE_REPARSE_POINT; not every system fills it in
};

// The folder is opened once, and that one handle both lists it and tells which folder it is.
class CFolderListing
{
public:
    // pszFolder ends in a backslash.
    explicit CFolderListing(LPCSTR pszFolder);
    CFolderListing(const CFolderListing&) = delete;
    CFolderListing& operator=(const CFolderListing&) = delete;

    // FALSE when the path names no folder that can be listed.
    BOOL IsOpen() const { return m_bOpen; }
    // The open folder, which tells which folder it is.
    const CFile& Folder() const { return m_folder; }
    // The next entry; FALSE at the end.
    BOOL Next(FolderEntry& entry);

private:
    BOOL Fill(BOOL bFirst);

    CFile m_folder;
    BOOL m_bWithIds = TRUE;  // the file system lists file ids; some network shares do not
    BOOL m_bOpen = FALSE;
    std::vector<BYTE> m_buffer;
    size_t m_nOffset = 0;  // the next entry in the buffer, or the buffer's size when it is used up
    BOOL m_bMore = FALSE;  // the system may have more entries after those in the buffer
};

// Identity: which physical file a path or an open file is. The volume costs about 400 us under Wine,
// the index under 1 us, so the volume is asked only when two indexes are equal.
// TRUE when the open target, of file index nTargetIndex, is the source file, however each path is written.
BOOL IsSameFile(LPCSTR pszSource, const CFile& target, ULONGLONG nTargetIndex, LPCSTR pszTarget);
// The rule of IsSameFile for two existing files with these file indexes: equal nonzero indexes on one
// volume (onOneVolume is asked only then). An index of 0 means the file system gives none, and then
// the full paths decide.
BOOL IsSameFileOf(ULONGLONG nFirstIndex, ULONGLONG nSecondIndex, LPCSTR pszFirst, LPCSTR pszSecond,
                  const std::function<BOOL()>& onOneVolume);
// The full path in capitals, so that two spellings of one path compare equal; empty when the path
// names no place.
std::string ComparablePath(LPCSTR pszPath);

// TRUE when the text begins with the prefix, letters compared without regard to case in any script,
// whole characters with whole characters.
BOOL StartsWithNoCase(LPCSTR pszText, LPCSTR pszPrefix);

// The folder of the program's own data for this user on this machine (%LOCALAPPDATA%\Velmora); empty
// when the system names none.
std::string ProgramDataFolder();

// The path of a folder chosen in the shell's folder chooser, of any length; empty when the item is
// not in the file system.
std::string PathOfShellItem(PCIDLIST_ABSOLUTE pidl);
