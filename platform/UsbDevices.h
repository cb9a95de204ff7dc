// The USB device list: present devices with their hardware ids and driver, as the dongle's driver sees them.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform {

struct UsbDeviceInfo {
    QStringList hardwareIds; // e.g. "USB\\VID_2F1E&PID_0001&REV_0100"
    QString service;         // the driver's service name, empty without a driver
    QString interfacePath;   // opened by openDeviceInterface
};

// The present USB devices; nullopt when the device set cannot be built.
std::optional<std::vector<UsbDeviceInfo>> presentUsbDevices();

// Opens and closes the device interface at once: ERROR_SUCCESS, ERROR_BUSY when another process holds
// the device open, ERROR_FILE_NOT_FOUND when no present device has that path.
DWORD openDeviceInterface(const QString& path);

// Test hook: while on, presentUsbDevices() fails as an invalid device set does.
void setDeviceSetInvalid(bool invalid);

} // namespace platform
