// CDupListCtrl: the results list; each row shows one file of a duplicate group, or a separator.
// The control holds no rows of its own (it is created with LVS_OWNERDATA): the list keeps one item key
// per row and answers the control's questions from it, since the control's own rows cost hundreds of
// bytes each and a large search lists hundreds of thousands of them.
#pragma once
#include "results/ColorListCtrl.h"
#include "results/ItemKey.h"

class CResultsTable;

class CDupListCtrl : public CColorListCtrl
{
public:
    enum
    {
        kColumnFile = 0,
        kColumnSize = 1
    };

    // The rows and their texts come from the table, which outlives the control.
    explicit CDupListCtrl(CResultsTable& table) : m_table(table) {}

    BOOL InsertColumns() override;
    int GetColumnCount() override;
    // The path, "--------" for a separator, and the file's present size in bytes.
    CString GetCellText(int nRow, int nColumn) const override;
    COLORREF GetRowColor(int nRow) override;
    BOOL CanSelectRow(int nRow) const override { return !IsSeparatorKey(GetRowKey(nRow)); }

    // The value a row carries; a row number outside the list names no file, and so reads as a separator.
    LPARAM GetRowKey(int nRow) const;

    // The rows of one group of the table: a separator row first unless the list is empty, so that
    // separators stand only between groups. Their texts are asked for when they are drawn.
    void AppendGroupRows(UINT nGroup);
    // The full path of the file a row shows; FALSE for a separator row or a key that names no file.
    BOOL ResolveRow(int nRow, CString& strPath) const;
    // Takes out a file row whose file is gone, with the separator that would otherwise stand next to
    // another separator or at either end of the list.
    void RemoveFileRow(int nRow);
    // Takes out every row, before the table lets go of the groups the rows name.
    void RemoveAllRows();

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UnselectSeparators(int nFrom, int nTo);
    void OnItemChanged(const NMLISTVIEW* pNMLV);
    void StepOverSeparator(UINT nKey, LPARAM lKeyData);

    CResultsTable& m_table;
    int m_nColumns = 0;
};
