#include "app/DongleDetection.h"

#include "platform/WinTypes.h"

bool FindDongle(const std::vector<platform::UsbDeviceInfo>& deviceSet, bool* driverInstalled,
                platform::UsbDeviceInfo* deviceOut) {
    bool found = false;
    for (const auto& device : deviceSet) {
        if (device.hardwareIds.isEmpty())
            continue;
        if (!device.hardwareIds.first().toLower().contains(QLatin1String(kDongleHardwareId)))
            continue;
        found = true;
        if (device.service.toLower().contains(QLatin1String(kDongleDriverService))) {
            *driverInstalled = true;
            *deviceOut = device;
        }
    }
    return found;
}

bool IsDongleBusy() {
    const auto deviceSet = platform::presentUsbDevices();
    if (!deviceSet)
        return false;
    bool driverInstalled = false;
    platform::UsbDeviceInfo device;
    if (!FindDongle(*deviceSet, &driverInstalled, &device) || !driverInstalled)
        return false;
    return platform::openDeviceInterface(device.interfacePath) == ERROR_BUSY;
}
