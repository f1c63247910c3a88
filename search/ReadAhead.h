// CReadAhead: reads the files of the search's working list on two threads of its own, in list order
// and a few files ahead of the file the window is at, so that one file's opening overlaps another's.
#pragma once
#include "search/FileChecksum.h"
#include <windows.h>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class CReadAhead
{
public:
    // read(digester, i) handles file i on a reading thread; isLong(i) says that file i takes more than
    // one load: such a file is read alone, so that a disk never alternates between two long files.
    using ReadFn = std::function<void(CFileDigester& digester, int i)>;
    CReadAhead(int nFiles, ReadFn read, std::function<bool(int i)> isLong);
    // Stops the reading (a file being read is left unfinished) and waits for both threads.
    ~CReadAhead();
    CReadAhead(const CReadAhead&) = delete;
    CReadAhead& operator=(const CReadAhead&) = delete;

    // Waits at most nTimeoutMs for file i, the one after the file taken last; TRUE when it has been
    // read, and it is then taken: its results are the caller's, and a later file may be read.
    BOOL Take(int i, DWORD nTimeoutMs);
    // Held, no new file is started and a file being read stops between two loads.
    void Hold(BOOL bHeld);

private:
    // Files read but not yet taken, at most: enough to keep both threads busy, few enough that a
    // pause or a stop leaves little read for nothing.
    static constexpr int kWindow = 8;

    void ReadFiles();
    int NextFile();
    BOOL MayGoOn();
    void Stop();

    const int m_nFiles;
    const ReadFn m_read;
    const std::function<bool(int)> m_isLong;
    SRWLOCK m_lock = SRWLOCK_INIT;  // guards the counts, the flags and the files read below
    CONDITION_VARIABLE m_workAllowed = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE m_fileDone = CONDITION_VARIABLE_INIT;
    int m_nNext = 0;   // the next file a thread starts
    int m_nTaken = 0;  // files taken by the caller
    int m_nAwaited = -1;  // the file the caller waits for, if it waits
    std::atomic<bool> m_bHeld{false};
    std::atomic<bool> m_bStopped{false};
    int m_done[kWindow];  // by file number modulo the window: the number of the file read there
    SRWLOCK m_diskLock = SRWLOCK_INIT;  // shared for one-load files, exclusive for long ones
    std::vector<std::thread> m_threads;
};
