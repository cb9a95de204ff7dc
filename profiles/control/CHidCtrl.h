// The HID window: a HID-over-GATT device's report map, information, protocol mode and reports.
#pragma once

#include "gatt/Hid.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/control/CTransparentProfileCtrlView.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Formats and parses only: what talks to the peer (its report tables, first reads, value routing and
// the commands of its buttons) is the main window's (profiles/control/MainFrameHid.cpp).
class CHidCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CHidCtrl(QWidget* parent = nullptr);
    ~CHidCtrl() override;

    // Adds "%02d" of the id to the combo (which keeps its entries sorted) and selects the first entry.
    void AddReportId(uint8_t reportId, UINT comboId);
    // The selected entry's report id; nullopt when nothing is selected or the entry is not one.
    std::optional<uint8_t> GetSelectedReportId(UINT comboId) const;
    // The bytes in decimal, "%02d" each, separated by blanks.
    void ShowBytesDecimal(std::span<const uint8_t> value, UINT controlId);
    // The bytes typed in the edit (hexadecimal); when they are wrong, the message box that says how to
    // type them and nullopt.
    std::optional<std::vector<uint8_t>> ParseHexBytes(UINT editId) const;

    // The last input report notified: "<id> <type> - <bytes>".
    void ShowReport(uint8_t reportId, uint8_t reportType, std::span<const uint8_t> value);
    void ShowReportMap(std::span<const uint8_t> value);
    void ShowHidInformation(const HidInformation& information);
    // 0 checks Boot, 1 checks Report, any other value checks neither.
    void ShowProtocolMode(uint8_t mode);

    // What the main window's commands send: the protocol mode checked (Boot, else Report) and the
    // control-point command selected.
    bool IsBootProtocolChecked() const;
    uint8_t SelectedControlCommand() const;

protected:
    void OnCreate() override;

private:
    void OnUpdateOutputReportEdit();
    void OnUpdateFeatureReportEdit();
    void OnUpdateReportEdit(UINT editId);

    CTransparentProfileCtrlView m_wndView;
};
