// Identifiers of the program's resources and controls.
#pragma once

// Templates and icon
#define IDD_ABOUTBOX 129
#define IDD_VELMORA_DIALOG 102
#define IDR_MAINFRAME 128

// Controls of the main window
#define IDC_RESULTS 101
#define IDC_PATH 1000
#define IDC_BROWSE 1001
#define IDC_FOLDER 1002
#define IDC_SEARCH 1004
#define IDC_PROGRESS 1005
#define IDC_STATUS 1006
#define IDC_DELETE 1007
#define IDC_LIST_TEMPLATE 1008
#define IDC_MARK 1009
#define IDC_UNMARK 1010
#define IDC_MOVE 1011
#define IDC_COPY 1012
#define IDC_MP3 1013
#define IDC_LINE_TOP 1014
#define IDC_LINE_BOTTOM 1015

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140
#endif
