// The program's small application framework: application, windows, dialogs, controls, strings.
#pragma once
#include "framework/Array.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
