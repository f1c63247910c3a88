// Entry point of the test program: the framework's application object, then every test.
#include "framework/WinApp.h"
#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::InitCommonControls();
    // The tests write and delete files: never let a relative path reach the folder they were started in.
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    ::SetCurrentDirectoryA(temp);
    // Dialogs find their owner through the application object, and the thread is set up by its
    // start as in the program.
    CWinApp app;
    app.InitInstance();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    app.ExitInstance();
    return result;
}
