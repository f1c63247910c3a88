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

    // Appends one row showing the given key; its texts are asked for when it is drawn.
    void AppendRow(LPARAM key);
};
