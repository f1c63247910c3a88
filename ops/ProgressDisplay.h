// IProgressDisplay: what the long-operation control asks of the running operation's progress display,
// whichever operation it is. Each operation refreshes its window at a bounded rate; when the control
// holds the operation (a pause, or the stop about to be shown) the window must show where the
// operation stands, not where the last paced refresh left it.
#pragma once
#include <windows.h>

class IProgressDisplay
{
public:
    // TRUE: the operation is held; FALSE: it goes on after a pause.
    virtual void OnHold(BOOL bHeld) = 0;

protected:
    ~IProgressDisplay() = default;
};

// Points the dialog's slot at an operation's progress display for as long as the operation runs,
// also when a stop ends it early.
class CProgressRegistration
{
public:
    CProgressRegistration(IProgressDisplay*& rSlot, IProgressDisplay& display) : m_rSlot(rSlot)
    {
        m_rSlot = &display;
    }
    ~CProgressRegistration() { m_rSlot = nullptr; }
    CProgressRegistration(const CProgressRegistration&) = delete;
    CProgressRegistration& operator=(const CProgressRegistration&) = delete;

private:
    IProgressDisplay*& m_rSlot;
};
