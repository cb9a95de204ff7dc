#include "platform/UsbDevices.h"

#include "veyrasim.h"

namespace platform {
namespace {

bool g_deviceSetInvalid = false;

UsbDeviceInfo toInfo(const orv::sim::UsbDevice& device) {
    UsbDeviceInfo info;
    for (const std::string& id : device.hardwareIds)
        info.hardwareIds.append(QString::fromStdString(id));
    info.service = QString::fromStdString(device.service);
    info.interfacePath = QString::fromStdString(device.interfacePath);
    return info;
}

} // namespace

std::optional<std::vector<UsbDeviceInfo>> presentUsbDevices() {
    if (g_deviceSetInvalid)
        return std::nullopt;
    std::vector<UsbDeviceInfo> devices;
    for (const orv::sim::UsbDevice& device : orv::sim::presentUsbDevices())
        devices.push_back(toInfo(device));
    return devices;
}

DWORD openDeviceInterface(const QString& path) {
    return orv::sim::openUsbInterface(path.toStdString());
}

void setDeviceSetInvalid(bool invalid) {
    g_deviceSetInvalid = invalid;
}

} // namespace platform
