// CReadAhead: reads the files of the search's working list on two threads of its own, in list order
// and up to a few hundred files ahead of the file the window is at, so that one file's opening
// overlaps another's and the window never holds the reading back.
#pragma once
#include "framework/Thread.h"
#include "search/FileChecksum.h"
#include <windows.h>
#include <functional>
#include <memory>
#include <vector>

class CReadAhead
{
public:
    // read(digester, i) reads file i; isLong(i) says that file i takes more than one load: such a file
    // is read alone, so that a disk never alternates between two long files. Both run on the reading
    // threads, which may outlive the reader (see the destructor): they may use only what they own,
    // and read only touches the results of file i.
    using ReadFn = std::function<void(CFileDigester& digester, int i)>;
    using IsLongFn = std::function<bool(int i)>;
    // Measured under Wine on two cores: every open, read and close waits for the Wine server, so two
    // threads take half the time of one on small files; a third adds nothing. Reads on nThreads
    // threads (two unless a test asks for another number). When no thread can be
    // started the files are read on the caller's thread, one at each Take.
    static constexpr int kThreads = 2;
    // Files read but not yet taken, at most. The window takes small files far faster than they are read,
    // but it sleeps between, and wakes a while after the file it waits for is done: a window of 8 held the
    // reading threads back for a fifth of a search of small files, one of 256 no longer does. A pause or a
    // stop still leaves little read for nothing.
    static constexpr int kWindow = 256;

    CReadAhead(int nFiles, ReadFn read, IsLongFn isLong, int nThreads = kThreads);
    // Stops the reading: a file being read is left at its next load. A thread that does not end at
    // once (stuck in a read that never returns) is asked to cancel it and is then left to end by itself.
    ~CReadAhead();
    CReadAhead(const CReadAhead&) = delete;
    CReadAhead& operator=(const CReadAhead&) = delete;

    // Waits at most nTimeoutMs for file i, the one after the file taken last; TRUE when it has been
    // read, and it is then taken: its results are the caller's, and a later file may be read.
    BOOL Take(int i, DWORD nTimeoutMs);
    // Held, no new file is started and a file being read stops between two loads.
    void Hold(BOOL bHeld);
    // How many reading threads run: 0 when the system started none.
    int ThreadCount() const { return static_cast<int>(m_threads.size()); }

private:
    struct CShared;
    static void ReadFiles(const std::shared_ptr<CShared>& pShared);

    std::shared_ptr<CShared> m_pShared;
    std::vector<CThread> m_threads;
    std::unique_ptr<CFileDigester> m_pInlineDigester;  // reads on the caller's thread when no thread runs
};
