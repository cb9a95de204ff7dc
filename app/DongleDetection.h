// Finding the USB dongle and its driver in the present-device list.
#pragma once

#include "platform/UsbDevices.h"

#include <vector>

// Lower-case hardware-id fragment of the dongle: the maker's vendor id and product 0001.
inline constexpr char kDongleHardwareId[] = "vid_2f1e&pid_0001";
// Lower-case fragment of the driver's service name.
inline constexpr char kDongleDriverService[] = "orvbc";

// True when some device of the set carries the dongle's hardware id (first hardware id, lower-cased).
// For every matching device whose service names the driver, sets *driverInstalled and copies the
// device to *deviceOut, so the copy is the last such device. The caller clears *driverInstalled first.
bool FindDongle(const std::vector<platform::UsbDeviceInfo>& deviceSet, bool* driverInstalled,
                platform::UsbDeviceInfo* deviceOut);

// True when another process holds the dongle's device interface open.
bool IsDongleBusy();
