#include "panes/CDeviceView.h"

#include "panes/CViewTree.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/CommandTarget.h"
#include "res/resource.h"

#include <QFont>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTreeWidgetItem>

CDeviceView::CDeviceView(platform::CommandRouter& router, platform::CommandTarget& owner, QWidget* parent)
    : QDockWidget(platform::LoadString(IDS_DEVICES_PANE), parent), m_router(router), m_owner(owner),
      m_wndTree(new CViewTree(this)) {
    setObjectName(QStringLiteral("CDeviceView"));
    setProperty(platform::kControlIdProperty, IDC_DEVICE_PANE);
    m_wndTree->setProperty(platform::kControlIdProperty, IDC_DEVICE_TREE);
    QFont font = m_wndTree->font();
    font.setStyleStrategy(QFont::PreferAntialias);
    m_wndTree->setFont(font);
    setWidget(m_wndTree);
    setFocusProxy(m_wndTree);

    m_hPaired = AddGroup(QStringLiteral("Paired devices"));
    AddRow(m_hPaired, QStringLiteral("No paired devices"), kPlaceholderData);
    m_hConnected = AddGroup(QStringLiteral("Connected devices"));
    AddRow(m_hConnected, QStringLiteral("No connected devices"), kPlaceholderData);
    m_hDiscovered = AddGroup(QStringLiteral("Discovered devices"));
    AddRow(m_hDiscovered, QStringLiteral("No discovered devices"), kPlaceholderData);

    connect(m_wndTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnCurrentItemChanged(current); });
    connect(m_wndTree, &CViewTree::labelEditEnded, this,
            [this](QTreeWidgetItem* item, const QString& text, bool cancelled) {
                if (m_handlers.endLabelEdit)
                    m_handlers.endLabelEdit(item, text, cancelled);
            });
    connect(m_wndTree, &CViewTree::doubleClickedWithSelection, this, [this] {
        if (m_handlers.doubleClicked)
            m_handlers.doubleClicked();
    });
    connect(m_wndTree, &CViewTree::contextMenuRequested, this,
            [this](const QPoint& globalPos, bool fromKeyboard) { OnContextMenu(globalPos, fromKeyboard); });
}

CDeviceView::~CDeviceView() {
    // The tree outlives this object's members while the base class deletes it: it must not call back.
    disconnect(m_wndTree, nullptr, this, nullptr);
}

QTreeWidgetItem* CDeviceView::AddGroup(const QString& text) {
    auto* group = new QTreeWidgetItem(m_wndTree, QStringList{text});
    group->setData(0, Qt::UserRole, kGroupData);
    QFont font = m_wndTree->font();
    font.setBold(true);
    group->setFont(0, font);
    group->setExpanded(true);
    return group;
}

QTreeWidgetItem* CDeviceView::AddRow(QTreeWidgetItem* group, const QString& text, int itemData) {
    auto* row = new QTreeWidgetItem(group, QStringList{text});
    row->setData(0, Qt::UserRole, itemData);
    return row;
}

int CDeviceView::ItemData(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toInt() : kGroupData;
}

bool CDeviceView::IsGroup(const QTreeWidgetItem* item) const {
    return item && (item == m_hPaired || item == m_hConnected || item == m_hDiscovered);
}

QTreeWidgetItem* CDeviceView::MoveToConnected(QTreeWidgetItem* item) {
    return MoveTo(item, m_hConnected);
}

QTreeWidgetItem* CDeviceView::MoveToPaired(QTreeWidgetItem* item) {
    return MoveTo(item, m_hPaired);
}

QTreeWidgetItem* CDeviceView::MoveToDiscovered(QTreeWidgetItem* item) {
    return MoveTo(item, m_hDiscovered);
}

QTreeWidgetItem* CDeviceView::MoveTo(QTreeWidgetItem* item, QTreeWidgetItem* group) {
    if (!item || item->treeWidget() != m_wndTree || !IsGroup(item->parent()) || ItemData(item) <= 0)
        return nullptr;
    QTreeWidgetItem* moved = nullptr;
    {
        const QScopedValueRollback<bool> silent(m_bSilent, true);
        const QString text = item->text(0);
        const int itemData = ItemData(item);
        delete item;
        RemovePlaceholder(group);
        moved = AddRow(group, text, itemData);
        AddEmptyPlaceholders(true);
    }
    Select(moved);
    return moved;
}

void CDeviceView::MoveToEndOfDiscovered(QTreeWidgetItem* item) {
    if (!item || item->parent() != m_hDiscovered || ItemData(item) <= 0)
        return;
    const int at = m_hDiscovered->indexOfChild(item);
    if (at == m_hDiscovered->childCount() - 1)
        return;
    const QScopedValueRollback<bool> silent(m_bSilent, true);
    const bool current = m_wndTree->currentItem() == item;
    m_hDiscovered->addChild(m_hDiscovered->takeChild(at));
    if (current)
        m_wndTree->setCurrentItem(item);
}

void CDeviceView::ClearDiscovered() {
    ClearGroup(m_hDiscovered);
}

void CDeviceView::ClearPaired() {
    ClearGroup(m_hPaired);
}

void CDeviceView::ClearConnected() {
    ClearGroup(m_hConnected);
}

void CDeviceView::ClearGroup(QTreeWidgetItem* group) {
    const QScopedValueRollback<bool> silent(m_bSilent, true);
    const QTreeWidgetItem* current = m_wndTree->currentItem();
    const bool currentGoes = current && current->parent() == group;
    qDeleteAll(group->takeChildren());
    if (currentGoes)
        m_wndTree->setCurrentItem(nullptr);
}

void CDeviceView::RemovePlaceholder(QTreeWidgetItem* group) {
    // Placeholders go only into empty groups, and a device row only after the placeholder has gone:
    // a group's placeholder is always its first row.
    if (group->childCount() > 0 && ItemData(group->child(0)) == kPlaceholderData)
        delete group->child(0);
}

void CDeviceView::AddEmptyPlaceholders(bool withDiscovered) {
    const QScopedValueRollback<bool> silent(m_bSilent, true);
    if (withDiscovered)
        AddPlaceholderIfEmpty(m_hDiscovered, QStringLiteral("No discovered devices"));
    AddPlaceholderIfEmpty(m_hConnected, QStringLiteral("No connected devices"));
    AddPlaceholderIfEmpty(m_hPaired, QStringLiteral("No paired devices"));
}

void CDeviceView::AddPlaceholderIfEmpty(QTreeWidgetItem* group, const QString& text) {
    if (group->childCount() == 0)
        AddRow(group, text, kPlaceholderData);
}

void CDeviceView::SetDeviceItemText(QTreeWidgetItem* item, const QString& text) {
    if (item && item->treeWidget() == m_wndTree)
        item->setText(0, text);
}

QTreeWidgetItem* CDeviceView::InsertDevice(QTreeWidgetItem* group, const QString& text, int itemData) {
    if (!IsGroup(group))
        return nullptr;
    const QScopedValueRollback<bool> silent(m_bSilent, true);
    RemovePlaceholder(group);
    return AddRow(group, text, itemData);
}

bool CDeviceView::EditLabel(QTreeWidgetItem* item) {
    if (!item || item->treeWidget() != m_wndTree || ItemData(item) <= 0)
        return false;
    if (m_handlers.beginLabelEdit && !m_handlers.beginLabelEdit(item))
        return false;
    return m_wndTree->EditLabel(item);
}

std::vector<platform::MenuItem> CDeviceView::DeviceMenu() {
    using Item = platform::MenuItem;
    return {Item(ID_CONNECT, QStringLiteral("&Connect...")),
            Item(ID_RENAME_DEVICE, QStringLiteral("&Rename")), Item(),
            Item(ID_REMOVE_PAIRING, QStringLiteral("&Remove pairing"))};
}

QMenu* CDeviceView::OnContextMenu(const QPoint& globalPos, bool fromKeyboard) {
    if (fromKeyboard) {
        m_wndTree->setFocus();
        return nullptr;
    }
    QTreeWidgetItem* hit = m_wndTree->itemAt(m_wndTree->viewport()->mapFromGlobal(globalPos));
    if (hit) {
        Select(hit);
        if (ItemData(hit) > 0)
            return m_router.popupMenu(DeviceMenu(), &m_owner, globalPos, this);
    }
    m_wndTree->setFocus();
    return nullptr;
}

void CDeviceView::Select(QTreeWidgetItem* item) {
    m_wndTree->setCurrentItem(item);
}

void CDeviceView::OnCurrentItemChanged(QTreeWidgetItem* current) {
    if (m_bSilent || !current || !m_handlers.selectionChanged)
        return;
    m_handlers.selectionChanged(ItemData(current));
}
