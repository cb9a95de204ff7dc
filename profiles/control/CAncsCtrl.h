// The notification-center window: one notification per category, pushed to the subscribed peer, and
// the attributes the peer asks for.
#pragma once

#include "gatt/NotificationCenter.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class BleDeviceRecord;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class CmdUI;
}

// Its buttons are handled by the window itself. The provider's handles and the peer's subscriptions
// are the main window's (InitServer); the window sends through the host library to the device it was
// given, while that device is connected.
class CAncsCtrl : public CChildFrame {
    Q_OBJECT
public:
    // Draws a NotificationUID.
    using UidGenerator = std::function<uint32_t()>;

    explicit CAncsCtrl(QWidget* parent = nullptr);
    ~CAncsCtrl() override;

    // Right after the window is created: keeps the device and the server state (both outlive the
    // window), adds role bit 0x10000 to the device, checks "Added" and "Silent", selects "Incoming
    // Call" and count "1".
    void InitServer(const std::shared_ptr<BleDeviceRecord>& device, AncsServerState* server);
    // A peer's write of one of the five handles: the ATT result, -1 when the write is not handled.
    int32_t OnServerWrite(uint16_t handle, uint16_t length, const uint8_t* data);

    void OnBnClickedAdd();
    void OnBnClickedModify();
    void OnBnClickedDelete();
    void OnBnClickedUpdate();
    void OnUpdateAdd(platform::CmdUI& ui) const;
    void OnUpdateModifyDelete(platform::CmdUI& ui) const;
    void OnUpdateUpdate(platform::CmdUI& ui) const;
    void OnLvnItemchangedCategoryList();

    // The category id of the combo's selection; 0 ("Other") without one.
    int GetSelectedCategory() const;
    const std::map<int, AncsNotificationRecord>& Store() const { return m_store; }
    void SetUidGenerator(UidGenerator generator) { m_drawUid = std::move(generator); }

protected:
    void OnCreate() override;

private:
    QTreeWidget* List(UINT id) const;
    QTreeWidgetItem* RowOf(int category) const;
    QTreeWidgetItem* SelectedRow() const;
    // Event, flags and count from the radios and the count combo; the blocks for that count.
    void ReadSettings(AncsNotificationRecord& record) const;
    void ShowSettings(QTreeWidgetItem* row, const AncsNotificationRecord& record) const;
    uint32_t UniqueUid() const;
    void AnswerControlPoint(std::span<const uint8_t> value);
    void Send(uint16_t handle, std::span<const uint8_t> value) const;

    CProfileCtrlView m_wndView;
    std::weak_ptr<BleDeviceRecord> m_device;
    AncsServerState* m_server = nullptr;
    std::map<int, AncsNotificationRecord> m_store; // by category id
    UidGenerator m_drawUid;
};
