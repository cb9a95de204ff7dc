// Finding the USB dongle and its driver in the present-device list.
#pragma once

#include "platform/UsbDevices.h"

#include <vector>

// Lower-case hardware-id fragment of the dongle: the maker's vendor id and product 0001.
inline constexpr char kDongleHardwareId[] = "vid_2f1e&pid_0001";
// Lower-case fragment of the driver's service name.
inline constexpr char kDongleDriverService[] = "orvbc";

enum class DongleState {
    Absent,   // no device carries the dongle's hardware id
    NoDriver, // a dongle is there, but none has the driver
    Busy,     // another process holds the dongle's device interface open
    Ready,
};

// The dongle's state in deviceSet: a device is the dongle when its first hardware id, lower-cased,
// carries kDongleHardwareId. When some dongle has the driver, *device is the last such one (Ready).
DongleState FindDongle(const std::vector<platform::UsbDeviceInfo>& deviceSet,
                       platform::UsbDeviceInfo* device);

// The dongle's state among the present USB devices, Busy included: the one check of the dongle.
DongleState CheckDongle();
