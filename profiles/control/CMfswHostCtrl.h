// The steering-wheel window: the wheel's eleven buttons, each lit while the wheel reports it held.
#pragma once

#include "gatt/Hid.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <cstdint>
#include <map>
#include <set>
#include <span>

class BleDeviceRecord;

// One of the two pictures of a button.
struct MfswButtonImage {
    UINT controlId = 0;
    QPixmap picture;
    uint32_t state = 0; // kPressed or kReleased
};

// Unlike the HID window it keeps its own report tables, and uses the main window only for its request
// queues and its log.
class CMfswHostCtrl : public CChildFrame {
    Q_OBJECT
public:
    static constexpr uint32_t kPressed = 0;
    static constexpr uint32_t kReleased = 1;

    explicit CMfswHostCtrl(QWidget* parent = nullptr);
    ~CMfswHostCtrl() override;

    // Learns the reports of the peer's HID service and queues a read of each Report Reference.
    void InitHandles(const BleDeviceRecord& peer);
    // A read result: a Report Reference of its reports gives that report its id and type, and the
    // report is subscribed. A value shorter than two bytes leaves the report unknown (logged).
    void OnReportReferenceRead(uint16_t handle, std::span<const uint8_t> value);
    // A notification of one of its reports.
    void OnReportNotification(uint16_t handle, std::span<const uint8_t> value);
    // Only the input report with id 1 counts: exactly the buttons it holds are lit, and it is logged.
    void OnInputReport(uint8_t reportId, uint8_t reportType, std::span<const uint8_t> value);
    // Shows the button's picture for that state (kPressed or kReleased); a usage without a button
    // changes nothing.
    void SetButtonImage(uint16_t usage, uint32_t state);

    // The usages whose buttons show their pressed picture.
    std::set<uint16_t> LitButtons() const;

protected:
    void OnCreate() override;

private:
    void Log(const QString& text) const;

    CProfileCtrlView m_wndView;
    uint32_t m_cid = 0;
    std::map<uint16_t, HidReportEntry> m_reports;       // by Report value handle
    std::map<uint16_t, uint16_t> m_references;          // Report Reference handle -> Report value handle
    std::multimap<uint16_t, MfswButtonImage> m_buttons; // by usage: the pressed and the released picture
    std::map<UINT, uint32_t> m_shown;                   // state each button's control shows
    std::set<uint16_t> m_lit;                           // the buttons of the last report
};
