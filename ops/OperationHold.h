// IOperationHold: what the long-operation control asks of the running operation, whichever it is,
// when it holds it (a pause, or the stop about to be shown) and when it lets it go on.
#pragma once
#include <windows.h>

class IOperationHold
{
public:
    // TRUE: the operation is held, and the window must show where it stands (each operation refreshes
    // the window at a bounded rate); FALSE: it goes on after a pause.
    virtual void OnHold(BOOL bHeld) = 0;

protected:
    ~IOperationHold() = default;
};
