// Tindrel: Bluetooth Low Energy profile demonstrator on the simulated dongle.
#include "app/COrvBleDemoApp.h"
#include "app/SimulatedWorld.h"
#include "platform/HostClockDriver.h"
#include "platform/KeyInput.h"
#include "platform/StringTable.h"
#include "platform/WindowMessages.h"
#include "res/StringTable.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::installStringTable(applicationStrings());
    platform::installHostPlatformHooks();
    platform::installSessionKeyInput();

    if (!LoadSimulatedWorld())
        return 1;
    platform::HostClockDriver clockDriver;

    COrvBleDemoApp app;
    int result = 0;
    if (app.InitInstance())
        result = application.exec();
    app.ExitInstance();
    return result;
}
