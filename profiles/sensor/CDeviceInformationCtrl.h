// The device-information window: the values of the peer's Device Information service in a list.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <cstdint>
#include <span>

// Nine rows of names and values; each value shows "N/A" until the main window passes its read.
class CDeviceInformationCtrl : public CChildFrame {
    Q_OBJECT
public:
    // The list's rows, in the order they are created.
    enum Row : int {
        RowManufacturer,
        RowModel,
        RowSerialNumber,
        RowHardwareRevision,
        RowFirmwareRevision,
        RowSoftwareRevision,
        RowSystemId,
        RowCertificationData,
        RowPnpId,
        RowCount,
    };

    explicit CDeviceInformationCtrl(QWidget* parent = nullptr);
    ~CDeviceInformationCtrl() override;

    // The text of a read value into the row's value column: UTF-8 text up to its first NUL for the
    // names and revisions, hexadecimal for the System ID and the certification data, the decoded
    // PnP ID. Rows outside the list are ignored.
    void ShowValue(int row, std::span<const uint8_t> value);

protected:
    void OnCreate() override;

private:
    CProfileCtrlView m_wndView;
};
