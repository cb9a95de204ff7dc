// The phone window: the alerts the user composes for the peer, and the pictures of the alert status.
#pragma once

#include "gatt/PhoneAlerts.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QFont>
#include <QPixmap>
#include <cstdint>
#include <map>

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

// Holds the alert records (newest first in the list; unread ones bold on a blue background). The
// server state and every command of the pane belong to the main window, which calls the operations
// below; the list's context menu (menu 226) issues its commands to the main window too.
class CPhoneCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CPhoneCtrl(QWidget* parent = nullptr);
    ~CPhoneCtrl() override;

    // A new unread record of the selected category with the edit's text (the edit is then cleared);
    // returns its category and text.
    void AddNotification(uint8_t* category, QString* text);
    void ToggleSelectedRead();
    void DeleteSelected();
    // The unread records of each category 0-9 whose bit is set in mask (0 included), at most 255.
    void GetUnreadCounts(uint16_t mask, std::map<uint8_t, uint8_t>* counts) const;

    void ShowControl(UINT id, bool show);
    void SetPictureBitmap(UINT id, const QPixmap& bitmap);
    // Pictures 1085, 1086, 1087 get the ringing, vibrating and display images.
    void ResetAlertStatusIcons();
    // Pictures 1095, 1096 get the normal and muted ringer images.
    void ResetRingerIcons();

    void GetRecords(std::map<int, PhoneAlertRecord>* records) const;
    // Replaces the records and the list; the next record gets an id above all of them.
    void LoadRecords(const std::map<int, PhoneAlertRecord>& records);

    // A context menu asked for at globalPos over the list: from the mouse on a row, menu 226 (returned,
    // open, deleted once closed); otherwise nothing.
    QMenu* OnContextMenu(const QPoint& globalPos, bool fromKeyboard);

protected:
    void OnCreate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* List() const;
    void InsertRow(int id, const PhoneAlertRecord& record);
    void ShowRecord(QTreeWidgetItem* row) const;
    std::vector<QTreeWidgetItem*> SelectedRows() const;

    CProfileCtrlView m_wndView;
    QFont m_boldFont;
    int m_nLastRecordId = 0;
    std::map<int, PhoneAlertRecord> m_records;
    std::map<uint8_t, QString> m_categoryNames;
    std::map<UINT, QPixmap> m_pictures; // by icon id
};
