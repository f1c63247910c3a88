// CDupListCtrl: the results list; each row shows one file of a duplicate group, or a separator.
#pragma once
#include "results/ColorListCtrl.h"
#include "results/DuplicateGroups.h"

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

    // The rows of one group of the table: a separator row first unless the list is empty, so that
    // separators stand only between groups. Their texts are asked for when they are drawn.
    void AppendGroupRows(UINT nGroup, UINT nFiles);
    // The full path of the file a row shows; FALSE for a separator row or a key that names no file.
    BOOL ResolveRow(int nRow, CString& strPath) const;
    // Takes out a file row, with the separator that would otherwise stand next to another
    // separator or at either end of the list.
    void RemoveFileRow(int nRow);

private:
    const CString* PathOfKey(LPARAM key) const;
    void AppendRow(LPARAM key);
};
