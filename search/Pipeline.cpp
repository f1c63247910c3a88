// The duplicate search: from the path field through walk, size filter, checksums and grouping to the list.
#include "framework/FileSystem.h"
#include "framework/PathText.h"
#include "ops/OperationScope.h"
#include "search/ChecksumJob.h"
#include "search/ReadAhead.h"
#include "search/SearchHold.h"
#include "search/SearchTables.h"
#include <algorithm>
#include <utility>

void CVelmoraDlg::OnSearch()
{
    if (HandleStopClick())
        return;
    ClearResults();
    UpdateData(TRUE);
    m_status.SetWindowText("");
    m_editFolder.SetWindowText("");
    m_strPath = CleanTypedPath(static_cast<LPCSTR>(m_strPath)).c_str();
    if (m_strPath.IsEmpty())
        return;
    Outcome outcome;
    {
        CSearchHold hold(m_report);
        COperationScope operation(*this, hold);
        // Every path of the results is taken literally from here on: the root is a full path, with
        // "." and ".." resolved and a relative path taken from the current folder.
        const std::string root = FullPath(static_cast<LPCSTR>(m_strPath));
        if (!root.empty())
            m_strPath = root.c_str();
        if (m_strPath[m_strPath.GetLength() - 1] != '\\')
            m_strPath += '\\';
        m_strRoot = m_strPath;
        m_progress.SetPos(0);
        m_progress.UpdateWindow();
        outcome = RunSearch(hold);
    }
    if (outcome == Outcome::kStopped)
        ClearResults();
    else if (outcome == Outcome::kFailed)
        ReportUnlistableRoot();
}

Outcome CVelmoraDlg::RunSearch(CSearchHold& hold)
{
    m_report.Restart();
    if (ScanFolder(m_strRoot) == Outcome::kStopped)
        return Outcome::kStopped;
    // Only a walk that found nothing asks again, so that a search pays nothing for this.
    if (m_files.IsEmpty() && !CanListFolder(m_strRoot))
        return Outcome::kFailed;
    m_report.Flush();
    m_status.SetWindowText("");
    m_editFolder.SetWindowText("");
    if (m_bMp3 && MeasureMp3Spans() == Outcome::kStopped)
        return Outcome::kStopped;
    if (KeepSharedSizes() == Outcome::kStopped)
        return Outcome::kStopped;
    std::vector<ContentKey> keys;
    if (ChecksumFiles(keys, hold) == Outcome::kStopped || GroupEqualFiles(keys) == Outcome::kStopped)
        return Outcome::kStopped;
    SortGroups();
    if (ListGroups(hold) == Outcome::kStopped)
        return Outcome::kStopped;
    CString found;
    found.Format("Найдено %d дубликатов", m_groups.GroupCount());
    ShowStatus(found);
    m_progress.SetPos(0);
    m_progress.UpdateWindow();
    return Outcome::kCompleted;
}

// A root that cannot be listed is a failure, not a search that found nothing.
void CVelmoraDlg::ReportUnlistableRoot()
{
    ShowStatus("");
    m_progress.SetPos(0);
    m_progress.UpdateWindow();
    CString strMessage;
    strMessage.Format("Невозможно открыть папку:\n%s", static_cast<LPCSTR>(m_strRoot));
    MessageBox(strMessage, "Ошибка при поиске", MB_OK | MB_ICONEXCLAMATION);
}

Outcome CVelmoraDlg::MeasureMp3Spans()
{
    const int nFiles = static_cast<int>(m_files.GetSize());
    m_report.Restart();
    for (int i = 0; i < nFiles; ++i)
    {
        if (CheckStopPaced() == Outcome::kStopped)
            return Outcome::kStopped;
        m_report.ShowFile("MP3: %d/%d: %s", i + 1, nFiles, m_files[i], i, nFiles - 1);
        // An empty file has no audio; and a link to a device or a pipe lists as empty, so no
        // such thing is ever opened, here or when the contents are read.
        if (m_values[i] != 0 && IsMp3File(m_files[i]))
            m_values[i] = GetMp3DataSize(m_files[i]);
    }
    m_report.Flush();
    return Outcome::kCompleted;
}

// Removing an entry whose size is unique never makes another size unique, so whether an entry
// stays is decided once for all; the entries are still shown one by one, each where it stood.
Outcome CVelmoraDlg::KeepSharedSizes()
{
    const int nTotal = static_cast<int>(m_files.GetSize());
    const std::vector<BYTE> keep = FindSharedSizes(m_values.GetData(), static_cast<size_t>(nTotal));
    m_report.Restart();
    for (int k = 0; k < nTotal; ++k)
    {
        if (CheckStopPaced() == Outcome::kStopped)
            return Outcome::kStopped;
        m_report.ShowFile("Оценка %d/%d: %s", k + 1, nTotal, m_files[k], k + 1, nTotal - 1);
    }
    m_report.Flush();

    INT_PTR nKept = 0;
    for (int k = 0; k < nTotal; ++k)
    {
        if (!keep[k])
            continue;
        if (nKept != k)
        {
            m_files[nKept] = std::move(m_files[k]);
            m_values[nKept] = m_values[k];
            m_listed[static_cast<size_t>(nKept)] = m_listed[static_cast<size_t>(k)];
        }
        ++nKept;
    }
    m_files.SetSize(nKept);
    m_values.SetSize(nKept);
    m_listed.resize(static_cast<size_t>(nKept));
    return Outcome::kCompleted;
}

// Two threads read the files ahead of the window, which takes them in list order: the status names
// each file in turn, also while one long file is read, and the window keeps answering between. The
// working list goes to the reading threads for the stage and comes back when every file has been read.
Outcome CVelmoraDlg::ChecksumFiles(std::vector<ContentKey>& keys, CSearchHold& hold)
{
    const auto job = std::make_shared<CChecksumJob>();
    const size_t nFiles = static_cast<size_t>(m_files.GetSize());
    std::swap(job->paths, m_files);
    std::swap(job->lengths, m_values);
    job->bMp3 = m_bMp3;
    job->keys.resize(nFiles);
    {
        // isLong runs on the thread that then reads the file, before that thread replaces its length.
        CReadAhead reader(
            static_cast<int>(nFiles),
            [job](CFileDigester& digester, int i) { ChecksumJobFile(*job, static_cast<size_t>(i), digester); },
            [job](int i) { return job->lengths[i] > CFileDigester::kLoadSize; });
        hold.SetReader(&reader);
        const Outcome outcome = TakeChecksums(reader, job->paths);
        hold.SetReader(nullptr);
        if (outcome == Outcome::kStopped)
            return outcome;
    }
    std::swap(job->paths, m_files);
    std::swap(job->lengths, m_values);
    keys.swap(job->keys);
    return Outcome::kCompleted;
}

Outcome CVelmoraDlg::TakeChecksums(CReadAhead& reader, const CStringArray& paths)
{
    const int nFiles = static_cast<int>(paths.GetSize());
    m_report.Restart();
    for (int i = 0; i < nFiles; ++i)
    {
        if (CheckStopPaced() == Outcome::kStopped)
            return Outcome::kStopped;
        m_report.ShowFile("Просмотр %d/%d: %s", i + 1, nFiles, paths[i], i, nFiles - 1);
        while (!reader.Take(i, m_drainPacer.IntervalMs()))
        {
            m_report.ShowWhenDue();
            if (CheckStopPaced() == Outcome::kStopped)
                return Outcome::kStopped;
        }
    }
    m_report.Flush();
    return Outcome::kCompleted;
}

// Each file equal to an earlier one joins the earlier one's group and leaves the working list,
// so the count shown falls by the group's later files and the files after it move up.
// The keys are freed at the end: the list stage that follows is when memory peaks.
Outcome CVelmoraDlg::GroupEqualFiles(std::vector<ContentKey>& keys)
{
    const EqualContent equal = FindEqualContent(keys);
    const int nTotal = static_cast<int>(keys.size());
    int nRemoved = 0;
    int nShown = 0;
    m_report.Restart();
    for (int k = 0; k < nTotal; ++k)
    {
        if (!equal.isFirst[k])
            continue;
        if (CheckStopPaced() == Outcome::kStopped)
            return Outcome::kStopped;
        const int nCurrent = nTotal - nRemoved;
        m_report.ShowFile("Сравнение %d/%d: %s", nShown + 1, nCurrent, m_files[k], nShown, nCurrent - 1);
        if (equal.nextEqual[k] != kNoNextFile)
        {
            const int nGroups = m_groups.GroupCount();
            nRemoved += AddGroupOfDistinctFiles(static_cast<UINT>(k), equal.nextEqual, keys);
            // The group's size goes to its own place in m_values, never past k: groups start in table order.
            if (m_groups.GroupCount() > nGroups)
                m_values[nGroups] = m_values[k];
            m_report.ShowPos(nShown, nTotal - nRemoved - 1);
        }
        ++nShown;
    }
    m_report.Flush();
    m_files.RemoveAll();
    std::vector<ListedState>().swap(m_listed);
    m_values.SetSize(m_groups.GroupCount());
    std::vector<ContentKey>().swap(keys);
    return Outcome::kCompleted;
}

// A file that changed since it was listed (it may have been read before or after the change) is
// left out. Returns how many later files were equal.
int CVelmoraDlg::AddGroupOfDistinctFiles(UINT nFirst, const std::vector<UINT>& nextEqual,
                                         const std::vector<ContentKey>& keys)
{
    CStringArray paths;
    std::vector<ListedFile> files;
    int nMembers = 0;
    for (UINT k = nFirst; k != kNoNextFile; k = nextEqual[k])
        ++nMembers;
    for (UINT k : DistinctMembers(nFirst, nextEqual, keys))
    {
        // The size as read, which in MP3 mode is the whole file's again.
        ListedState state = m_listed[k];
        state.size = m_values[k];
        if (!IsAsListed(m_files[k], state))
            continue;
        // Each path joins one group and the working list needs it no more: it moves, so that the
        // paths are not held twice while memory peaks.
        paths.Add(std::move(m_files[k]));
        files.push_back({state});
    }
    if (paths.GetSize() >= 2)
        m_groups.AddGroup(std::move(paths), std::move(files));
    return nMembers - 1;
}

// Sorts by the size each group's first file had when the checksum stage read it (in m_values),
// so that no file is opened again here; a file changed since then sorts by its size at that time.
void CVelmoraDlg::SortGroups()
{
    const int nGroups = m_groups.GroupCount();
    m_editFolder.SetWindowText("");
    m_editFolder.UpdateWindow();
    ShowStatus("Сортировка...");
    m_report.Restart();
    m_report.ShowPos(0, 2 * nGroups - 1);
    const std::vector<ULONGLONG> sizes(m_values.GetData(), m_values.GetData() + nGroups);
    m_values.RemoveAll();
    m_groups.Reorder(ExchangeSortOrder(sizes));
    m_report.ShowPos(2 * nGroups - 1, 2 * nGroups - 1);
    m_report.Flush();
}

Outcome CVelmoraDlg::ListGroups(CSearchHold& hold)
{
    ShowStatus("Составление списка файлов...");
    // Rows inserted with drawing on cost about 9 ms each; without, a few microseconds.
    m_list.SetRedraw(FALSE);
    hold.SetListing(&m_list);
    const Outcome outcome = AppendGroupRows();
    hold.SetListing(nullptr);
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    m_list.UpdateWindow();
    return outcome;
}

Outcome CVelmoraDlg::AppendGroupRows()
{
    const int nGroups = m_groups.GroupCount();
    m_report.Restart();
    for (int g = 0; g < nGroups; ++g)
    {
        if (CheckStopPaced() == Outcome::kStopped)
            return Outcome::kStopped;
        m_report.ShowPos(g, nGroups - 1);
        m_list.AppendGroupRows(static_cast<UINT>(g));
    }
    m_report.Flush();
    return Outcome::kCompleted;
}
