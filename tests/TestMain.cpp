// Entry point of the test program: the framework's application object, then every test.
#include "framework/Check.h"
#include "framework/WinApp.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace
{
// A state the program relies on did not hold: the test that brought it about fails, there and then.
void FailTheRunningTest(const char* pszCondition, const char* pszFile, int nLine)
{
    ADD_FAILURE_AT(pszFile, nLine) << "check failed: " << pszCondition;
}
}  // namespace

int main(int argc, char** argv)
{
    AfxReportFailedCheck = FailTheRunningTest;
    ::InitCommonControls();
    // The tests write and delete files: never let a relative path reach the folder they were started in.
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    ::SetCurrentDirectoryA(temp);
    CWinApp app;  // dialogs find their owner through it, and its start sets up the thread, as in the program
    app.InitInstance();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
