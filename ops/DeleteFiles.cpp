// "Удалить": deletes the marked files for good; while an operation runs it pauses and resumes instead.
#include "app/VelmoraDlg.h"
#include "ops/FileCommand.h"
#include <algorithm>

void CVelmoraDlg::OnDelete()
{
    if (HandlePauseClick())
        return;
    std::vector<int> marked;
    for (int nRow = m_list.GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = m_list.GetNextItem(nRow, LVNI_SELECTED))
        marked.push_back(nRow);
    // Marks by a prefix easily take in every copy of a content; the user says so in so many words
    // before the last copy of anything goes.
    const std::vector<BYTE> groupsToEmpty = m_groups.GroupsAllMarked(marked);
    const int nGroupsToEmpty = static_cast<int>(std::count(groupsToEmpty.begin(), groupsToEmpty.end(), 1));
    if (nGroupsToEmpty > 0)
    {
        CString strQuestion;
        strQuestion.Format("Групп, в которых отмечены все файлы: %d.\nПосле удаления их содержимого не останется "
                           "нигде. Удалить отмеченные файлы?",
                           nGroupsToEmpty);
        if (MessageBox(strQuestion, "Удаление", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        {
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_btnDelete.m_hWnd), TRUE);
            return;
        }
    }
    RunOnSelectedRows(kDeleteCommand, groupsToEmpty);
}
