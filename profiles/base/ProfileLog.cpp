// Log lines of the profile windows that also go to the debugger output.
#include "profiles/base/ProfileLog.h"

#include "app/COrvBleDemoApp.h"
#include "mainframe/CMainFrame.h"
#include "platform/DebugOutput.h"

void LogProfileLine(const QString& text) {
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->AddLogMessage(text);
    platform::OutputDebugString(text);
}
