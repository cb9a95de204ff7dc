// Tindrel: Bluetooth Low Energy profile demonstrator on the simulated dongle.
#include "app/COrvBleDemoApp.h"
#include "platform/HostClockDriver.h"
#include "platform/KeyInput.h"
#include "platform/StringTable.h"
#include "platform/WindowMessages.h"
#include "res/StringTable.h"
#include "veyrasim.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::installStringTable(applicationStrings());
    platform::installHostPlatformHooks();
    platform::installSessionKeyInput();

    std::string error;
    if (!orv::sim::loadDefaultWorld(&error)) {
        std::fprintf(stderr, "tindrel: cannot load the simulated world: %s\n", error.c_str());
        return 1;
    }
    platform::HostClockDriver clockDriver;

    COrvBleDemoApp app;
    int result = 0;
    if (app.InitInstance())
        result = application.exec();
    app.ExitInstance();
    return result;
}
