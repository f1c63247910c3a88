// Files for tests: a temporary folder of a test's own, and reading back what the program left.
#pragma once
#include "framework/ScopedWin.h"
#include <windows.h>
#include <string>
#include <vector>

BOOL FileExists(const std::string& path);
LONGLONG FileSize(const std::string& path);  // -1 when there is no such file
std::string ReadWholeFile(const std::string& path);
// Cuts or extends the file, even while another handle reads it.
void SetFileSize(const std::string& path, LONGLONG nSize);
// A link as Wine's own Unix file system has it (made by the system's ln), which Wine does not report
// as a link; FALSE where there is no such system.
// Windows cannot take such a link away: RemoveUnixLink does, before the folder holding it is removed.
BOOL MakeUnixLink(const std::string& link, const std::string& target);
void RemoveUnixLink(const std::string& link);
// Runs a line of the Unix shell in the folder, which can make foo.txt beside Foo.txt (Wine would take
// one for the other), and waits for the path made last; FALSE where there is no such system.
BOOL RunUnixShellIn(const std::string& folder, const std::string& line, const std::string& made);
// A named pipe (FIFO) at the path, or FALSE where there are no Unix programs; RemoveUnixLink removes it.
BOOL MakeUnixPipe(const std::string& path);
// Holds the file open for reading as another program would, sharing it only as dwShare lets others:
// with 0 nobody else can open it, with FILE_SHARE_READ nobody can write or delete it.
CAutoHandle HoldOpen(const std::string& path, DWORD dwShare = 0);
// Writes over part of an existing file, which keeps its size when the part lies within it.
void OverwriteAt(const std::string& path, const std::string& contents, LONGLONG nAt);
FILETIME WriteTimeOf(const std::string& path);
void SetWriteTime(const std::string& path, const FILETIME& written);
// Writes over the start of the file and sets its write time back, as some sync tools do: its size and
// write time are as before, its contents not.
void OverwriteKeepingTime(const std::string& path, const std::string& contents);

// A folder of its own below the temporary folder, removed with everything in it at the end.
class CTempFolder
{
public:
    // Below the temporary folder, or below another existing folder (ending in a backslash).
    explicit CTempFolder(const std::string& base = std::string());
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The folder's full path, ending in a backslash.
    const std::string& Path() const { return m_path; }
    // Writes a file (and its folders) at a path relative to the folder; returns the full path.
    // Contents written past the start leave a hole of zeros before them, which takes no room.
    std::string Write(const std::string& relative, const std::string& contents, LONGLONG nAt = 0) const;
    std::string Write(const std::string& relative, const std::vector<BYTE>& contents, LONGLONG nAt = 0) const
    {
        return Write(relative, std::string(contents.begin(), contents.end()), nAt);
    }
    std::string MakeFolder(const std::string& relative) const;
    // A file of that many zero bytes that takes no room on the disk.
    std::string WriteSparse(const std::string& relative, LONGLONG nSize) const;

private:
    std::string m_base;
    std::string m_path;
};
