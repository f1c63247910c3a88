// CColorListCtrl: an owner-drawn report list that paints rows in colours of its own
// and asks a derived class for every cell's text.
#pragma once
#include "framework/Controls.h"

class CColorListCtrl : public CListCtrl
{
public:
    enum
    {
        kGroupColors = 10,
        kSelectedFocused = 10,
        kSelectedUnfocused = 11,
        kText = 12,
        kTextSelectedFocused = 13,
        kTextSelectedUnfocused = 14,
        kGrid = 15,
        kColorCount = 16
    };

    CColorListCtrl();

    BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Draws one row on behalf of the parent's WM_DRAWITEM; FALSE when the row is not this list's.
    BOOL DrawItem(UINT nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    COLORREF m_colors[kColorCount];

protected:
    // Fills the buffer with the text of one cell, never past cchBuffer characters with its end.
    virtual void GetCellText(LPARAM key, int nColumn, LPSTR pszBuffer, int cchBuffer) = 0;
    virtual BOOL InsertColumns() = 0;
    virtual int GetColumnCount() = 0;
    // Background of an unselected row.
    virtual COLORREF GetRowColor(int nRow) = 0;
    // A row that can never be marked is never drawn in the selection colours, even in the moment
    // between the control selecting it and the rule that takes the mark off again.
    virtual BOOL CanSelectRow(int nRow) const = 0;
    // The value a row carries. The control asks for a row's texts by row number and keeps no value.
    virtual LPARAM GetRowKey(int nRow) const = 0;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnGetDispInfo(NMLVDISPINFOA* pDispInfo);
    void OnPaint();
    BOOL HasFocus() const;
    void FillRow(HDC hdc, const RECT& rcItem, COLORREF color);
    void DrawCells(HDC hdc, int nItem, const RECT& rcItem);
    UINT CellAlignment(int nColumn) const;
    void ClearBelowLastRow(HDC hdc, const RECT& rcClient);
    void DrawGrid(HDC hdc, const RECT& rcClient);
};
