// CVelmoraDlg::COperationScope: one long operation of the main window, from its start to its end.
#pragma once
#include "app/VelmoraDlg.h"

// Constructed, it gives the window its busy look ("Стоп" and "Пауза", every control that could start
// another command disabled) and registers what the operation holds while paused. Destroyed, also when a
// stop ends the operation early, it handles the input still queued with its busy meaning, and gives the
// window back its idle look and the keyboard focus. It is the only way into and out of the busy state.
class CVelmoraDlg::COperationScope
{
public:
    COperationScope(CVelmoraDlg& dlg, IOperationHold& hold);
    ~COperationScope();
    COperationScope(const COperationScope&) = delete;
    COperationScope& operator=(const COperationScope&) = delete;

private:
    CVelmoraDlg& m_dlg;
};
