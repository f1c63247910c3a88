// CAboutDlg: the "О программе" box, with the program's name, version and icon.
#pragma once
#include "framework/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
