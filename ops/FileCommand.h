// One descriptor per command on marked files: its texts, whether its rows go, and its step on one file.
// A new command is a descriptor and a step in FileCommands.cpp, and a handler that runs the loop with it.
#pragma once
#include "framework/String.h"
#include "ops/FileFailure.h"
#include "framework/FileSystem.h"
#include "framework/KnownFiles.h"
#include <functional>

// TRUE when the existing file open as target, at pszTarget, with file index nIndex (0: unknown), is a
// file the results still show.
using ShownFileTest = std::function<BOOL(const CFile& target, ULONGLONG nIndex, LPCSTR pszTarget)>;

// The file of one marked row, and what the step needs around it.
struct FileStep
{
    const CString& source;
    const ListedState& listed;
    const CString& target;  // below the target folder, for the commands that write there
    const ShownFileTest& isShown;
    CKnownFiles& written;  // by this run of the command, which never replaces them
    // Runs between the chunks of a long copy, so that the window names the file while it is copied.
    std::function<void()> onChunk;
};

struct FileCommand
{
    LPCSTR pszStatus;      // "...: %s" with the path the step works on
    LPCSTR pszFailure;     // the box's text, "...:\n%s" with the same path
    LPCSTR pszCaption;     // the box's caption
    BOOL bWritesToTarget;  // the step writes below the target folder, and the texts name the target
    BOOL bRemovesRow;      // a file the step has handled leaves the list
    // The file goes for good: it is refused when it is the last copy of its content, unless the user
    // chose to empty its group, and a group left with one file leaves the list, no longer a duplicate.
    BOOL bDestroys;
    FileFailure (*pfnStep)(const FileStep& step);
};

extern const FileCommand kDeleteCommand;
extern const FileCommand kCopyCommand;
extern const FileCommand kMoveCommand;
