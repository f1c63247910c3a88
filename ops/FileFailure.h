// FileFailure: which step of a command on one file failed.
#pragma once

// Why a step did not do its work. The user sees the command's one text; the reason is for tests and
// for whoever reads the code next.
enum class FileFailure
{
    kNone,
    kNotListed,        // the file changed since the search listed it, or it is no file of the results
    kSource,           // the source could not be opened or read
    kTargetFolders,    // a folder on the target's way could not be made
    kProtectedTarget,  // the target is the source itself, or a file the list still shows
    kWrittenThisRun,   // the target is a file this same copy or move wrote: Foo.txt, then foo.txt
    kTemporaryFile,    // the temporary file beside the target could not be made
    kWrite,            // writing the copy failed: a full disk, say
    kRename,           // the file could not take the target's name
    kDeleteSource,     // the source could not be deleted
    kLastCopy,         // no other file of its group is still on disk as listed: it is the last copy
};
