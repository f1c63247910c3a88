// CVelmoraApp: the application object; it shows the main window and ends with it.
#pragma once
#include "framework/WinApp.h"

class CVelmoraApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
