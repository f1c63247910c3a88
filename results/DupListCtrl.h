// CDupListCtrl: the results list; each row shows one file of a duplicate group, or a separator.
// The control holds no rows of its own (it is created with LVS_OWNERDATA): the list keeps one item key
// per row and answers the control's questions from it, since the control's own rows cost hundreds of
// bytes each and a large search lists hundreds of thousands of them.
#pragma once
#include "results/ColorListCtrl.h"
#include "results/DuplicateGroups.h"
#include "results/ItemKey.h"
#include <vector>

class CDupListCtrl : public CColorListCtrl
{
public:
    enum
    {
        kColumnFile = 0,
        kColumnSize = 1
    };

    CGroupArray* m_pGroups = nullptr;  // the dialog's group table; not owned
    int m_nColumns = 0;

    BOOL InsertColumns() override;
    int GetColumnCount() override;
    void GetCellText(LPARAM key, int nColumn, LPSTR pszBuffer, int cchBuffer) override;
    COLORREF GetRowColor(int nRow) override;
    LPARAM GetRowKey(int nRow) const override;
    BOOL CanSelectRow(int nRow) const override { return !IsSeparatorKey(GetRowKey(nRow)); }

    // The rows of one group of the table: a separator row first unless the list is empty, so that
    // separators stand only between groups. Their texts are asked for when they are drawn.
    void AppendGroupRows(UINT nGroup, UINT nFiles);
    // The full path of the file a row shows; FALSE for a separator row or a key that names no file.
    BOOL ResolveRow(int nRow, CString& strPath) const;
    // Takes out a file row, with the separator that would otherwise stand next to another
    // separator or at either end of the list.
    void RemoveFileRow(int nRow);
    void RemoveAllRows();

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const CString* PathOfKey(LPARAM key) const;
    void UnselectSeparators(int nFrom, int nTo);
    void OnItemChanged(const NMLISTVIEW* pNMLV);
    void StepOverSeparator(UINT nKey, LPARAM lKeyData);

    std::vector<LPARAM> m_keys;  // the item key of every row, in row order
};
