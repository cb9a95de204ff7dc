#include "app/SimulatedWorld.h"

#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <cstdio>
#include <string>

bool LoadSimulatedWorld() {
    std::string error;
    if (orv::sim::loadDefaultWorld(&error))
        return true;
    const std::string message = "Cannot load the simulated world: " + error;
    std::fprintf(stderr, "tindrel: %s\n", message.c_str());
    // The application's name is not set yet, so the box names the program itself.
    platform::prompter().messageBox(nullptr, QString::fromStdString(message),
                                    platform::LoadString(IDS_APP_TITLE), MB_OK);
    return false;
}
