// The one-byte values that the over-the-air update windows read once when they open, and show.
#pragma once

#include "gatt/UuidFunctions.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <map>
#include <span>

class BleDeviceRecord;
class QWidget;

// One value a window shows.
struct OtaReading {
    uint16_t characteristic; // vendor number XXXX of 0000XXXX-4b7e-11e2-8c3a-5f8c2e10b7d4
    UINT control;            // the static that shows it
    const char* logFormat;   // its log line, with one %d for the value
};

// Characteristic UUID to value handle.
using OtaHandleMap = std::map<BleUuid, uint16_t, BleUuidOrder>;

// Empties handles; then, for each reading in order, looks up the value handle of its characteristic
// in device's vendor service: a non-zero handle is stored and its read queued with the main window.
void InitOtaHandles(const BleDeviceRecord& device, uint16_t service, std::span<const OtaReading> readings,
                    OtaHandleMap& handles);

// A read result. When handle is the stored handle of a reading and value is exactly one byte, the
// byte in decimal goes into the reading's static of window, and its log line to the main window's log
// and to the debugger output. Any other handle or length changes nothing and logs nothing.
void ShowOtaReading(const QWidget* window, std::span<const OtaReading> readings, const OtaHandleMap& handles,
                    uint16_t handle, std::span<const uint8_t> value);
