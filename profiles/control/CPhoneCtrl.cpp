#include "profiles/control/CPhoneCtrl.h"

#include "platform/DialogItems.h"
#include "platform/ui/CommandRouter.h"
#include "platform/ui/Icons.h"
#include "profiles/control/PhoneIds.h"
#include "res/resource.h"
#include "ui_PhonePane.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_PHONE, [](QWidget* pane) {
        Ui::PhonePane form;
        form.setupUi(pane);
    });

// Alert Category ID of each item of the category list, in the list's order.
constexpr std::array<uint8_t, 10> kCategoryOfItem{3, 5, 4, 6, 1, 2, 9, 0, 8, 7};
constexpr int kTypeColumnWidth = 75;
constexpr int kTextColumnWidth = 140;
constexpr int kSmallPictureSize = 24;
constexpr int kMaxCount = 255;
const QColor kUnreadBackground(191, 219, 255);

std::vector<platform::MenuItem> RecordsMenu() {
    return {platform::MenuItem(ID_PHONE_TOGGLE_READ, QStringLiteral("Toggle read/unread status")),
            platform::MenuItem(ID_PHONE_DELETE_RECORDS, QStringLiteral("Delete record"))};
}

int RecordId(const QTreeWidgetItem* row) {
    return row->data(0, Qt::UserRole).toInt();
}

} // namespace

CPhoneCtrl::CPhoneCtrl(QWidget* parent) : CChildFrame(parent) {}

CPhoneCtrl::~CPhoneCtrl() = default;

void CPhoneCtrl::OnCreate() {
    m_wndView.Create(IDD_PHONE, PaneParent());
    setWindowTitle(QStringLiteral("Phone"));
    m_boldFont = m_wndView.PaneFont().value_or(font());
    m_boldFont.setWeight(QFont::Bold);

    if (auto* categories = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_PHONE_CATEGORY))) {
        for (int i = 0; i < categories->count() && i < static_cast<int>(kCategoryOfItem.size()); ++i) {
            categories->setItemData(i, kCategoryOfItem[static_cast<size_t>(i)]);
            m_categoryNames[kCategoryOfItem[static_cast<size_t>(i)]] = categories->itemText(i);
        }
        categories->setCurrentIndex(0);
    }
    if (QTreeWidget* list = List()) {
        list->setColumnWidth(0, kTypeColumnWidth);
        list->setColumnWidth(1, kTextColumnWidth);
        list->viewport()->installEventFilter(this);
    }
    for (const UINT icon :
         {IDI_PHONE_RINGING, IDI_PHONE_DISPLAY, IDI_PHONE_RINGER_NORMAL, IDI_PHONE_RINGER_MUTED})
        m_pictures[icon] = CProfileCtrlView::IconToBitmap(platform::loadIcon(icon));
    m_pictures[IDI_PHONE_VIBRATING] = CProfileCtrlView::IconToBitmap(platform::loadIcon(IDI_PHONE_VIBRATING),
                                                                     kSmallPictureSize, kSmallPictureSize);
    // Blinking pictures keep their place in the layout.
    for (const UINT id : {IDC_PHONE_RING_PICTURE, IDC_PHONE_VIBRATE_PICTURE, IDC_PHONE_DISPLAY_PICTURE,
                          IDC_PHONE_NORMAL_PICTURE, IDC_PHONE_MUTE_PICTURE}) {
        if (QWidget* picture = platform::GetDlgItem(this, id)) {
            QSizePolicy policy = picture->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            picture->setSizePolicy(policy);
        }
    }

    for (const UINT id :
         {IDC_PHONE_RING, IDC_PHONE_VIBRATE, IDC_PHONE_DISPLAY, IDC_PHONE_RINGER_NORMAL,
          IDC_PHONE_RINGER_MUTE, IDC_PHONE_ADD, ID_PHONE_TOGGLE_READ, ID_PHONE_DELETE_RECORDS})
        BindCommandButton(id);
    for (const UINT id :
         {IDC_PHONE_RING_PICTURE, IDC_PHONE_VIBRATE_PICTURE, IDC_PHONE_DISPLAY_PICTURE,
          IDC_PHONE_NORMAL_PICTURE, IDC_PHONE_MUTE_PICTURE, IDC_PHONE_RINGER_GROUP, IDC_PHONE_STATUS_GROUP,
          IDC_PHONE_CATEGORY, IDC_PHONE_LIST, IDC_PHONE_NOTIFICATIONS_GROUP})
        BindCommandControl(id); // the text edit, in no range, stays enabled
    InitScrollMetrics(&m_wndView);
}

QTreeWidget* CPhoneCtrl::List() const {
    return qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_PHONE_LIST));
}

// ---- Records --------------------------------------------------------------------------------------

void CPhoneCtrl::AddNotification(uint8_t* category, QString* text) {
    auto* categories = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_PHONE_CATEGORY));
    PhoneAlertRecord record;
    record.category = categories ? static_cast<uint8_t>(categories->currentData().toUInt()) : 0;
    record.text = platform::GetDlgItemText(this, IDC_PHONE_TEXT);
    platform::SetDlgItemText(this, IDC_PHONE_TEXT, QString());
    m_records[++m_nLastRecordId] = record;
    InsertRow(m_nLastRecordId, record);
    *category = record.category;
    *text = record.text;
}

void CPhoneCtrl::InsertRow(int id, const PhoneAlertRecord& record) {
    QTreeWidget* list = List();
    if (!list)
        return;
    auto* row = new QTreeWidgetItem(
        {m_categoryNames.count(record.category) ? m_categoryNames.at(record.category) : QString(),
         record.text});
    row->setData(0, Qt::UserRole, id);
    // Newest first: before the first row with a smaller id.
    int index = 0;
    while (index < list->topLevelItemCount() && RecordId(list->topLevelItem(index)) > id)
        ++index;
    list->insertTopLevelItem(index, row);
    ShowRecord(row);
}

void CPhoneCtrl::ShowRecord(QTreeWidgetItem* row) const {
    const auto record = m_records.find(RecordId(row));
    const bool unread = record != m_records.end() && record->second.read == 0;
    for (int column = 0; column < 2; ++column) {
        row->setBackground(column, unread ? QBrush(kUnreadBackground) : QBrush());
        row->setFont(column, unread ? m_boldFont : m_wndView.PaneFont().value_or(font()));
    }
}

std::vector<QTreeWidgetItem*> CPhoneCtrl::SelectedRows() const {
    QTreeWidget* list = List();
    if (!list)
        return {};
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return {selected.begin(), selected.end()};
}

void CPhoneCtrl::ToggleSelectedRead() {
    for (QTreeWidgetItem* row : SelectedRows()) {
        const auto record = m_records.find(RecordId(row));
        if (record == m_records.end())
            continue;
        record->second.read = record->second.read == 0 ? 1 : 0;
        ShowRecord(row);
    }
}

void CPhoneCtrl::DeleteSelected() {
    for (QTreeWidgetItem* row : SelectedRows()) {
        m_records.erase(RecordId(row));
        delete row;
    }
}

void CPhoneCtrl::GetUnreadCounts(uint16_t mask, std::map<uint8_t, uint8_t>* counts) const {
    counts->clear();
    for (uint8_t category = 0; category < AlertControl::CategoryCount; ++category) {
        if (!HasCategory(mask, category))
            continue;
        const auto unread = std::count_if(m_records.begin(), m_records.end(), [category](const auto& entry) {
            return entry.second.category == category && entry.second.read == 0;
        });
        (*counts)[category] = static_cast<uint8_t>(std::min<long>(unread, kMaxCount));
    }
}

void CPhoneCtrl::GetRecords(std::map<int, PhoneAlertRecord>* records) const {
    *records = m_records;
}

void CPhoneCtrl::LoadRecords(const std::map<int, PhoneAlertRecord>& records) {
    m_records = records;
    if (QTreeWidget* list = List())
        list->clear();
    m_nLastRecordId = m_records.empty() ? 0 : m_records.rbegin()->first;
    for (const auto& [id, record] : m_records)
        InsertRow(id, record);
}

// ---- Pictures ------------------------------------------------------------------------------------

void CPhoneCtrl::ShowControl(UINT id, bool show) {
    if (QWidget* control = platform::GetDlgItem(this, id))
        control->setVisible(show);
}

void CPhoneCtrl::SetPictureBitmap(UINT id, const QPixmap& bitmap) {
    if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, id)))
        picture->setPixmap(bitmap);
}

void CPhoneCtrl::ResetAlertStatusIcons() {
    SetPictureBitmap(IDC_PHONE_RING_PICTURE, m_pictures[IDI_PHONE_RINGING]);
    SetPictureBitmap(IDC_PHONE_VIBRATE_PICTURE, m_pictures[IDI_PHONE_VIBRATING]);
    SetPictureBitmap(IDC_PHONE_DISPLAY_PICTURE, m_pictures[IDI_PHONE_DISPLAY]);
}

void CPhoneCtrl::ResetRingerIcons() {
    SetPictureBitmap(IDC_PHONE_NORMAL_PICTURE, m_pictures[IDI_PHONE_RINGER_NORMAL]);
    SetPictureBitmap(IDC_PHONE_MUTE_PICTURE, m_pictures[IDI_PHONE_RINGER_MUTED]);
}

// ---- Context menu --------------------------------------------------------------------------------

bool CPhoneCtrl::eventFilter(QObject* watched, QEvent* event) {
    QTreeWidget* list = List();
    if (list && watched == list->viewport() && event->type() == QEvent::ContextMenu) {
        auto* request = static_cast<QContextMenuEvent*>(event);
        OnContextMenu(request->globalPos(), request->reason() == QContextMenuEvent::Keyboard);
        return true;
    }
    return CChildFrame::eventFilter(watched, event);
}

QMenu* CPhoneCtrl::OnContextMenu(const QPoint& globalPos, bool fromKeyboard) {
    QTreeWidget* list = List();
    if (fromKeyboard || !list || !Router())
        return nullptr;
    if (!list->itemAt(list->viewport()->mapFromGlobal(globalPos)))
        return nullptr;
    return Router()->popupMenu(RecordsMenu(), GetCommandTarget(), globalPos, this);
}
