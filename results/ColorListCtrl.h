// CColorListCtrl: an owner-drawn report list that paints rows in colours of its own
// and takes every cell's text from a derived class.
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
    // The whole text of one cell, from the derived list's own rows: the drawing takes it from here, not
    // from the control, which would ask the parent back through a buffer of its own.
    virtual CString GetCellText(int nRow, int nColumn) const = 0;

    COLORREF m_colors[kColorCount];

protected:
    virtual BOOL InsertColumns() = 0;
    virtual int GetColumnCount() = 0;
    // Background of an unselected row.
    virtual COLORREF GetRowColor(int nRow) = 0;
    // A row that can never be marked is never drawn in the selection colours, even in the moment
    // between the control selecting it and the rule that takes the mark off again.
    virtual BOOL CanSelectRow(int nRow) const = 0;

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
