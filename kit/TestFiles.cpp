// Files for tests: a temporary folder of a test's own, and reading back what the program left.
#include "kit/TestFiles.h"
#include "framework/ScopedWin.h"
#include "framework/FileSystem.h"
#include "framework/Utf8.h"
#include "kit/MessagePump.h"

namespace
{
// The tests' own way to a file, by the same literal long form the program uses, with whatever access
// a test needs: writing over a file, setting its times, making it sparse.
HANDLE OpenTestFile(const std::string& path, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition, DWORD dwFlags)
{
    const std::wstring wide = WideFromUtf8(("\\\\?\\" + path).c_str());
    return ::CreateFileW(wide.c_str(), dwAccess, dwShare, nullptr, dwDisposition, dwFlags, nullptr);
}
}  // namespace

CTempFolder::CTempFolder(const std::string& base) : m_base(base)
{
    static int s_counter = 0;
    if (m_base.empty())
    {
        char temp[MAX_PATH];
        m_base.assign(temp, ::GetTempPathA(MAX_PATH, temp));
    }
    char name[MAX_PATH];
    // Process ids come again under Wine, and a folder left by an earlier run must not be reused.
    do
    {
        wsprintfA(name, "%svelmora-test-%lu-%d\\", m_base.c_str(), ::GetCurrentProcessId(), ++s_counter);
    } while (!::MakeFolder(name) && ::GetLastError() == ERROR_ALREADY_EXISTS);
    m_path = name;
}

namespace
{
// folder ends in a backslash. Links below it are removed, never followed.
void RemoveTree(const std::string& folder)
{
    {
        CFolderListing listing(folder.c_str());
        FolderEntry entry;
        while (listing.Next(entry))
        {
            const std::string path = folder + entry.name;
            SetPathAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
                DeletePath(path.c_str());
            else if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveFolder(path.c_str());
            else
                RemoveTree(path + "\\");
        }
    }
    RemoveFolder(folder.c_str());
}
}  // namespace

// Only what lies below the base folder is deleted: a wrong path must never cost anything but the test.
CTempFolder::~CTempFolder()
{
    if (m_path.size() > m_base.size() && StartsWithNoCase(m_path.c_str(), m_base.c_str()))
        RemoveTree(m_path);
}

std::string CTempFolder::MakeFolder(const std::string& relative) const
{
    std::string path = m_path;
    for (size_t i = 0; i < relative.size(); ++i)
    {
        if (relative[i] == '\\')
            ::MakeFolder(path.c_str());
        path.push_back(relative[i]);
    }
    ::MakeFolder(path.c_str());
    return path;
}

namespace
{
void WriteAt(const std::string& path, DWORD nDisposition, const std::string& contents, LONGLONG nAt)
{
    CAutoHandle file(
        OpenTestFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nDisposition, FILE_ATTRIBUTE_NORMAL));
    LARGE_INTEGER position;
    position.QuadPart = nAt;
    ::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN);
    DWORD written = 0;
    ::WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
}
}  // namespace

std::string CTempFolder::Write(const std::string& relative, const std::string& contents, LONGLONG nAt) const
{
    const size_t slash = relative.rfind('\\');
    if (slash != std::string::npos)
        MakeFolder(relative.substr(0, slash));
    const std::string path = m_path + relative;
    WriteAt(path, CREATE_ALWAYS, contents, nAt);
    return path;
}

CAutoHandle HoldOpen(const std::string& path, DWORD dwShare)
{
    return CAutoHandle(::CreateFileA(path.c_str(), GENERIC_READ, dwShare, nullptr, OPEN_EXISTING, 0, nullptr));
}

void OverwriteAt(const std::string& path, const std::string& contents, LONGLONG nAt)
{
    WriteAt(path, OPEN_EXISTING, contents, nAt);
}

FILETIME WriteTimeOf(const std::string& path)
{
    FILETIME written = {};
    CAutoHandle file(OpenTestFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    ::GetFileTime(file.Get(), nullptr, nullptr, &written);
    return written;
}

void SetWriteTime(const std::string& path, const FILETIME& written)
{
    CAutoHandle file(OpenTestFile(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    ::SetFileTime(file.Get(), nullptr, nullptr, &written);
}

void OverwriteKeepingTime(const std::string& path, const std::string& contents)
{
    const FILETIME written = WriteTimeOf(path);
    OverwriteAt(path, contents, 0);
    SetWriteTime(path, written);
}

std::string CTempFolder::WriteSparse(const std::string& relative, LONGLONG nSize) const
{
    const std::string path = Write(relative, "");
    {
        CAutoHandle file(OpenTestFile(path, GENERIC_WRITE, 0, OPEN_EXISTING, 0));
        DWORD returned = 0;
        ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    }
    SetFileSize(path, nSize);
    return path;
}

void SetFileSize(const std::string& path, LONGLONG nSize)
{
    CAutoHandle file(
        OpenTestFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    LARGE_INTEGER end;
    end.QuadPart = nSize;
    ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
}

BOOL FileExists(const std::string& path)
{
    return PathExists(path.c_str());
}

LONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!QueryPath(path.c_str(), data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadWholeFile(const std::string& path)
{
    CAutoHandle file(OpenTestFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.IsValid())
        return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr);
    return std::string(buffer, read);
}

namespace
{
// Runs a program of the Unix system under Wine with the Unix name of a Windows path as its last argument.
BOOL RunUnixCommand(const std::string& command, const std::string& path)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName)
        return FALSE;
    char* unixPath = unixFileName(WideFromUtf8(path.c_str()).c_str());
    if (!unixPath)
        return FALSE;
    // Wide: under Wine, CreateProcessA starts no Unix program while the code page is UTF-8.
    std::wstring commandLine = WideFromUtf8((command + " \"" + unixPath + "\"").c_str());
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return FALSE;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return TRUE;
}
}  // namespace

namespace
{
// Asked of the folder's listing: Wine gives no attributes for a link to a device.
BOOL IsListed(const std::string& path)
{
    const size_t nSlash = path.rfind('\\');
    CFolderListing listing(path.substr(0, nSlash + 1).c_str());
    FolderEntry entry;
    while (listing.Next(entry))
    {
        if (entry.name == path.substr(nSlash + 1))
            return TRUE;
    }
    return FALSE;
}

// Wine does not wait for a Unix program it started: what the program does is awaited on the disk.
BOOL WaitForPath(const std::string& path, BOOL bPresent)
{
    return WaitUntil([&] { return IsListed(path) == bPresent; }, 5000);
}
}  // namespace

BOOL MakeUnixLink(const std::string& link, const std::string& target)
{
    return PathExists("Z:\\bin\\ln") && RunUnixCommand("Z:\\bin\\ln -s \"" + target + "\"", link) &&
           WaitForPath(link, TRUE);
}

BOOL MakeUnixPipe(const std::string& path)
{
    return PathExists("Z:\\usr\\bin\\mkfifo") && RunUnixCommand("Z:\\usr\\bin\\mkfifo", path) &&
           WaitForPath(path, TRUE);
}

BOOL RunUnixShellIn(const std::string& folder, const std::string& line, const std::string& made)
{
    return PathExists("Z:\\bin\\sh") && RunUnixCommand("Z:\\bin\\sh -c \"cd \\\"$0\\\" && " + line + "\"", folder) &&
           WaitForPath(made, TRUE);
}

void RemoveUnixLink(const std::string& link)
{
    if (IsListed(link) && RunUnixCommand("Z:\\bin\\rm", link))
        WaitForPath(link, FALSE);
}
