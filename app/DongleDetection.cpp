#include "app/DongleDetection.h"

#include "platform/WinTypes.h"

DongleState FindDongle(const std::vector<platform::UsbDeviceInfo>& deviceSet,
                       platform::UsbDeviceInfo* device) {
    DongleState state = DongleState::Absent;
    for (const auto& candidate : deviceSet) {
        if (candidate.hardwareIds.isEmpty() ||
            !candidate.hardwareIds.first().toLower().contains(QLatin1String(kDongleHardwareId)))
            continue;
        if (!candidate.service.toLower().contains(QLatin1String(kDongleDriverService))) {
            if (state == DongleState::Absent)
                state = DongleState::NoDriver;
            continue;
        }
        state = DongleState::Ready;
        *device = candidate;
    }
    return state;
}

DongleState CheckDongle() {
    const auto deviceSet = platform::presentUsbDevices();
    if (!deviceSet)
        return DongleState::Absent;
    platform::UsbDeviceInfo device;
    const DongleState state = FindDongle(*deviceSet, &device);
    if (state == DongleState::Ready && platform::openDeviceInterface(device.interfacePath) == ERROR_BUSY)
        return DongleState::Busy;
    return state;
}
