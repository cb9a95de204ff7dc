// The over-the-air window of a peer in its bootloader: the application index and the bootloader version.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"
#include "profiles/control/OtaReadings.h"

#include <cstdint>

class BleDeviceRecord;

// The window's pane has no behaviour of its own: a plain profile pane built from its template.
using COTABootLoaderServiceView = CProfileCtrlView;

// Reads the peer's Current Application and Version once when opened and shows them; writes nothing,
// subscribes to nothing, transfers nothing.
class COTABootLoaderServiceCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit COTABootLoaderServiceCtrl(QWidget* parent = nullptr);
    ~COTABootLoaderServiceCtrl() override;

    // Finds Current Application and Version in device's bootloader service and queues their reads.
    void InitHandles(const BleDeviceRecord* device);
    // Every read result of the peer: shows a one-byte Current Application or Version value (see
    // ShowOtaReading).
    void OnCharacteristicRead(uint16_t handle, uint16_t length, const uint8_t* data);

protected:
    void OnCreate() override;

private:
    COTABootLoaderServiceView m_wndView;
    OtaHandleMap m_handles;
};
