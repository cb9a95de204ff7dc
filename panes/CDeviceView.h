// The device pane: the devices the main window knows, under "Paired", "Connected" and "Discovered".
#pragma once

#include "platform/ui/CommandRouter.h"

#include <QDockWidget>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class CViewTree;
class QMenu;
class QTreeWidgetItem;
namespace platform {
class CommandTarget;
}

// Rows carry their kind as item data (Qt::UserRole, int): 0 a group, -1 a placeholder, and for a
// device row the 1-based index of its record in the main window's device list. After each operation
// a group holds device rows or exactly one placeholder; the clears leave a group empty until
// AddEmptyPlaceholders. Item handles are the tree's QTreeWidgetItem pointers; the pane owns them.
//
// Notifications go to the owner (the main window) through the std::function members of Handlers,
// called synchronously on the UI thread; an unset handler is skipped. Only a new current row raises
// the selection change: a user's click or key, a move, a right-click. Deleting rows never does, and a
// cleared group that held the current row leaves the tree without one.
class CDeviceView : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kGroupData = 0;
    static constexpr int kPlaceholderData = -1;

    struct Handlers {
        // The current row changed; the argument is the new row's item data.
        std::function<void(int itemData)> selectionChanged;
        // A label edit is about to open on a device row; false refuses it.
        std::function<bool(QTreeWidgetItem* item)> beginLabelEdit;
        // The label edit ended with text, or was cancelled (Esc). The row keeps its old text.
        std::function<void(QTreeWidgetItem* item, const QString& text, bool cancelled)> endLabelEdit;
        // A double-click while a row is selected, whatever row (for the main window's OnConnect).
        std::function<void()> doubleClicked;
    };

    // The device menu's commands are issued through router from owner (the main window's target).
    CDeviceView(platform::CommandRouter& router, platform::CommandTarget& owner, QWidget* parent = nullptr);
    ~CDeviceView() override;

    void SetHandlers(Handlers handlers) { m_handlers = std::move(handlers); }

    // Move a device row to the end of that group, select it and return the new row, which replaces
    // item (deleted here). The group the row left gets its placeholder back when it is now empty.
    // nullptr (nothing changed) when item is not a device row of this tree.
    QTreeWidgetItem* MoveToConnected(QTreeWidgetItem* item);
    QTreeWidgetItem* MoveToPaired(QTreeWidgetItem* item);
    QTreeWidgetItem* MoveToDiscovered(QTreeWidgetItem* item);
    // Moves a device row of "Discovered devices" to the end of that group, leaving the selection as it
    // is; the row stays the same item. Rows of other groups are left alone.
    void MoveToEndOfDiscovered(QTreeWidgetItem* item);

    // Delete every row of that group, devices and placeholder; no placeholder is added.
    void ClearDiscovered();
    void ClearPaired();
    void ClearConnected();

    // Gives each group without rows its placeholder, in the order Discovered (only when
    // withDiscovered), Connected, Paired.
    void AddEmptyPlaceholders(bool withDiscovered);

    void SetDeviceItemText(QTreeWidgetItem* item, const QString& text);

    // Appends a device row (itemData = index + 1) to group, first removing the group's placeholder.
    // nullptr when group is not one of the three groups.
    QTreeWidgetItem* InsertDevice(QTreeWidgetItem* group, const QString& text, int itemData);

    // Opens the label editor on a device row when the owner's beginLabelEdit allows it.
    bool EditLabel(QTreeWidgetItem* item);

    // Right-click (or the menu key, fromKeyboard) at globalPos over the tree. A row hit is selected,
    // raising the selection change; a device row opens the device menu, returned (it deletes itself
    // once closed). Groups, placeholders, empty space and the menu key open nothing (nullptr).
    QMenu* OnContextMenu(const QPoint& globalPos, bool fromKeyboard);

    // The device menu: "&Connect...", "&Rename", a separator, "&Remove pairing".
    static std::vector<platform::MenuItem> DeviceMenu();

    // The row's item data; 0 for nullptr.
    static int ItemData(const QTreeWidgetItem* item);

    CViewTree* Tree() const { return m_wndTree; }
    QTreeWidgetItem* PairedGroup() const { return m_hPaired; }
    QTreeWidgetItem* ConnectedGroup() const { return m_hConnected; }
    QTreeWidgetItem* DiscoveredGroup() const { return m_hDiscovered; }

private:
    QTreeWidgetItem* AddGroup(const QString& text);
    static QTreeWidgetItem* AddRow(QTreeWidgetItem* group, const QString& text, int itemData);
    QTreeWidgetItem* MoveTo(QTreeWidgetItem* item, QTreeWidgetItem* group);
    void ClearGroup(QTreeWidgetItem* group);
    static void RemovePlaceholder(QTreeWidgetItem* group);
    void AddPlaceholderIfEmpty(QTreeWidgetItem* group, const QString& text);
    bool IsGroup(const QTreeWidgetItem* item) const;
    void Select(QTreeWidgetItem* item);
    void OnCurrentItemChanged(QTreeWidgetItem* current);

    platform::CommandRouter& m_router;
    platform::CommandTarget& m_owner;
    Handlers m_handlers;
    CViewTree* m_wndTree;
    QTreeWidgetItem* m_hPaired = nullptr;
    QTreeWidgetItem* m_hConnected = nullptr;
    QTreeWidgetItem* m_hDiscovered = nullptr;
    // True while the pane itself rearranges rows: Qt's own moves of the current row are not selections.
    bool m_bSilent = false;
};
