// File-system steps of copy and move: creating the folders of a path, telling whether two paths are one file.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// TRUE when every folder that the path needs exists afterwards. With bWholePath the whole path
// names a folder; otherwise the text after the last backslash is a file name and is not created.
BOOL MakeFolders(LPCSTR pszPath, BOOL bWholePath);

// Opens an existing file for reading and deleting, letting other programs read it but not write it
// meanwhile (and delete or rename it, which a move on one volume does through a handle of its own).
HANDLE OpenHeldForDeletion(LPCSTR pszPath);

// The file open for deletion goes when its last handle closes; FALSE takes the mark back.
BOOL MarkForDeletion(HANDLE hFile, BOOL bDelete);

// Opens an existing file or folder for nothing but telling which file it is; it may be open anywhere else.
HANDLE OpenForIdentity(LPCSTR pszPath);

// TRUE when the open target is the source file, however each path is written.
BOOL IsSameFile(LPCSTR pszSource, HANDLE hTarget, ULONGLONG nTargetIndex, LPCSTR pszTarget);

// The rule of IsSameFile for two existing files with these file indexes: equal nonzero indexes on
// one volume (onOneVolume is asked only then). An index of 0 means the file system gives none, and
// then the full paths decide.
BOOL IsSameFileOf(ULONGLONG nFirstIndex, ULONGLONG nSecondIndex, LPCSTR pszFirst, LPCSTR pszSecond,
                  const std::function<BOOL()>& onOneVolume);

// The full path with "." and ".." resolved, in capitals, so that two spellings of one path compare
// equal; empty when the path cannot be resolved.
std::string ComparablePath(LPCSTR pszPath);

// TRUE when both open files lie on one volume, or when that cannot be told.
BOOL IsOnOneVolume(HANDLE hFirst, HANDLE hSecond);
