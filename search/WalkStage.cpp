// The walk: every file below the search root with its size, times and id, depth first, in listing order.
#include "search/SearchProgress.h"
#include "search/Stages.h"
#include "search/VisitedFolders.h"
#include <utility>
#include <vector>

namespace
{
// Symbolic links and junctions name another folder; entering them could list a tree twice or
// forever. The listing's own tag field is not filled in by every system, so the link is asked.
BOOL IsNameSurrogate(const CString& path, const FolderEntry& entry)
{
    if (!(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return FALSE;
    if (IsReparseTagNameSurrogate(entry.reparseTag))
        return TRUE;
    CFile link;
    DWORD nTag = 0;
    if (!link.OpenLink(path) || !link.GetReparseTag(nTag))
        return TRUE;  // a reparse point that cannot be asked is not entered either
    return IsReparseTagNameSurrogate(nTag);
}

// A step is one entry of the deepest folder open, or the entering of a folder: the folders on the way
// down stay open, each where its listing stood.
class CWalkStage : public CSearchStage
{
public:
    BOOL Begin(SearchRun& run) override
    {
        m_next = run.root;
        return TRUE;
    }

    Step Next(SearchRun& run) override
    {
        if (!m_next.empty())
        {
            Enter(run, std::exchange(m_next, std::string()));
            return Step::kNext;
        }
        if (m_open.empty())
            return Step::kDone;
        OpenFolder& folder = m_open.back();
        FolderEntry entry;
        if (!folder.listing->Next(entry))
        {
            m_open.pop_back();
            return Step::kNext;
        }
        CString path = CString(folder.path.c_str()) + entry.name.c_str();
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
            run.table.Add(path, entry.state);
        else if (!IsNameSurrogate(path, entry))
            m_next = std::string(path) + '\\';
        return Step::kNext;
    }

    // A root that cannot be listed is a failure, not a search that found nothing.
    Outcome End(SearchRun& run) override
    {
        if (m_bRootUnlistable)
            return Outcome::kFailed;
        run.report.ClearTexts();
        return Outcome::kCompleted;
    }

private:
    struct OpenFolder
    {
        std::string path;  // ends in a backslash
        std::unique_ptr<CFolderListing> listing;
    };

    void Enter(SearchRun& run, const std::string& folder)
    {
        auto listing = std::make_unique<CFolderListing>(folder.c_str());
        if (!listing->IsOpen())
            m_bRootUnlistable = folder == run.root;
        if (!listing->IsOpen() || !m_visited.Enter(listing->Folder(), folder.c_str()))
            return;
        run.report.ShowFolder("Просмотр: %s", folder.c_str());
        m_open.push_back({folder, std::move(listing)});
    }

    std::string m_next;  // the folder to enter at the next step
    std::vector<OpenFolder> m_open;
    CVisitedFolders m_visited;
    BOOL m_bRootUnlistable = FALSE;
};
}  // namespace

std::unique_ptr<CSearchStage> MakeWalkStage()
{
    return std::make_unique<CWalkStage>();
}
