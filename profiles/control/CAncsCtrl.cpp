#include "profiles/control/CAncsCtrl.h"

#include "app/BleHostApi.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/ByteReader.h"
#include "platform/DialogItems.h"
#include "platform/ui/CmdUI.h"
#include "profiles/base/ColumnFitter.h"
#include "profiles/control/AncsIds.h"
#include "res/resource.h"
#include "ui_AncsPane.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QRandomGenerator>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_ANCS, [](QWidget* pane) {
    Ui::AncsPane form;
    form.setupUi(pane);
});

constexpr int32_t kNotHandled = -1;
constexpr int32_t kAttSuccess = 0;
constexpr uint16_t kConfigurationOff = 0;
constexpr uint16_t kNotificationsOn = 1;
constexpr size_t kControlPointHeader = 5; // CommandID and NotificationUID
constexpr uint8_t kIncomingCall = 1;

const QString kCategoryNames[] = {
    QStringLiteral("Other"),
    QStringLiteral("Incoming Call"),
    QStringLiteral("Missed Call"),
    QStringLiteral("Voice Mail"),
    QStringLiteral("Social"),
    QStringLiteral("Schedule"),
    QStringLiteral("Email"),
    QStringLiteral("News"),
    QStringLiteral("Health and Fitness"),
    QStringLiteral("Business and Finance"),
    QStringLiteral("Location"),
    QStringLiteral("Entertainment"),
};
const QString kEventTexts[] = {QStringLiteral("Add"), QStringLiteral("Mod"), QStringLiteral("Del")};

constexpr std::array<int, 4> kCategoryColumns{50, 50, 250, 50};
constexpr std::array<int, 6> kAttributeColumns{50, 100, 100, 50, 50, 50};

uint32_t DrawUid() {
    return QRandomGenerator::global()->generate();
}

QString CategoryName(int category) {
    return category >= 0 && category < static_cast<int>(std::size(kCategoryNames))
               ? kCategoryNames[category]
               : QString::number(category);
}

int CategoryOf(const QTreeWidgetItem* row) {
    return row->data(0, Qt::UserRole).toInt();
}

} // namespace

CAncsCtrl::CAncsCtrl(QWidget* parent) : CChildFrame(parent), m_drawUid(DrawUid) {}

CAncsCtrl::~CAncsCtrl() = default;

void CAncsCtrl::OnCreate() {
    m_wndView.Create(IDD_ANCS, PaneParent());
    setWindowTitle(QStringLiteral("Apple Notification Center"));

    platform::CommandTarget& target = *GetCommandTarget();
    target.onCommand(ID_ANCS_ADD, [this] { OnBnClickedAdd(); });
    target.onCommand(ID_ANCS_MODIFY, [this] { OnBnClickedModify(); });
    target.onCommand(ID_ANCS_DELETE, [this] { OnBnClickedDelete(); });
    target.onCommand(ID_ANCS_UPDATE, [this] { OnBnClickedUpdate(); });
    target.onUpdate(ID_ANCS_ADD, [this](platform::CmdUI& ui) { OnUpdateAdd(ui); });
    target.onUpdate(ID_ANCS_MODIFY, [this](platform::CmdUI& ui) { OnUpdateModifyDelete(ui); });
    target.onUpdate(ID_ANCS_DELETE, [this](platform::CmdUI& ui) { OnUpdateModifyDelete(ui); });
    target.onUpdate(ID_ANCS_UPDATE, [this](platform::CmdUI& ui) { OnUpdateUpdate(ui); });
    for (const UINT id : {ID_ANCS_ADD, ID_ANCS_MODIFY, ID_ANCS_DELETE, ID_ANCS_UPDATE})
        BindCommandButton(id);

    if (QTreeWidget* list = List(IDC_ANCS_CATEGORY_LIST)) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, &CAncsCtrl::OnLvnItemchangedCategoryList);
        connect(list, &QTreeWidget::currentItemChanged, this, &CAncsCtrl::OnLvnItemchangedCategoryList);
    }
    InitScrollMetrics(&m_wndView);
}

void CAncsCtrl::InitServer(const std::shared_ptr<BleDeviceRecord>& device, AncsServerState* server) {
    m_device = device;
    m_server = server;
    if (device)
        device->roles |= BleDeviceRecord::kRoleNotificationCenter;
    if (QWidget* update = platform::GetDlgItem(this, ID_ANCS_UPDATE))
        update->setEnabled(false);
    for (const UINT id : {IDC_ANCS_ADDED, IDC_ANCS_SILENT})
        if (auto* radio = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, id)))
            radio->setChecked(true);
    if (auto* categories = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_ANCS_CATEGORY)))
        categories->setCurrentIndex(categories->findText(CategoryName(kIncomingCall)));
    if (auto* counts = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_ANCS_COUNT)))
        counts->setCurrentIndex(0);
    for (const auto& [id, widths] :
         {std::pair{IDC_ANCS_CATEGORY_LIST, std::span<const int>(kCategoryColumns)},
          std::pair{IDC_ANCS_ATTRIBUTE_LIST, std::span<const int>(kAttributeColumns)}})
        ColumnFitter::Fit(List(id), std::vector<int>(widths.begin(), widths.end()));
    update();
}

QTreeWidget* CAncsCtrl::List(UINT id) const {
    return qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, id));
}

int CAncsCtrl::GetSelectedCategory() const {
    const auto* categories = qobject_cast<const QComboBox*>(platform::GetDlgItem(this, IDC_ANCS_CATEGORY));
    if (!categories || categories->currentIndex() < 0)
        return 0;
    const auto* name =
        std::find(std::begin(kCategoryNames), std::end(kCategoryNames), categories->currentText());
    return name == std::end(kCategoryNames) ? 0 : static_cast<int>(name - std::begin(kCategoryNames));
}

// ---- The store -------------------------------------------------------------------------------------

QTreeWidgetItem* CAncsCtrl::RowOf(int category) const {
    QTreeWidget* list = List(IDC_ANCS_CATEGORY_LIST);
    for (int i = 0; list && i < list->topLevelItemCount(); ++i)
        if (CategoryOf(list->topLevelItem(i)) == category)
            return list->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* CAncsCtrl::SelectedRow() const {
    QTreeWidget* list = List(IDC_ANCS_CATEGORY_LIST);
    if (!list)
        return nullptr;
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void CAncsCtrl::ReadSettings(AncsNotificationRecord& record) const {
    const auto checked = [this](UINT id) {
        const auto* radio = qobject_cast<const QAbstractButton*>(platform::GetDlgItem(this, id));
        return radio && radio->isChecked();
    };
    record.eventId = checked(IDC_ANCS_REMOVED) ? 2 : checked(IDC_ANCS_MODIFIED) ? 1 : 0;
    record.eventFlags = checked(IDC_ANCS_IMPORTANT) ? 2 : 1;
    const auto* counts = qobject_cast<const QComboBox*>(platform::GetDlgItem(this, IDC_ANCS_COUNT));
    record.categoryCount = counts ? static_cast<uint8_t>(std::clamp(counts->currentText().toInt(), 1, 3)) : 1;
    record.blocks.assign(record.categoryCount, AncsDemoAttributes(record.categoryId));
}

void CAncsCtrl::ShowSettings(QTreeWidgetItem* row, const AncsNotificationRecord& record) const {
    row->setText(0, kEventTexts[std::min<size_t>(record.eventId, std::size(kEventTexts) - 1)]);
    row->setText(1, record.eventFlags == 2 ? QStringLiteral("Important") : QStringLiteral("Silent"));
    row->setText(2, CategoryName(record.categoryId));
    row->setText(3, QString::number(record.categoryCount));
}

// A UID that no other record of the store holds: drawn again on a clash.
uint32_t CAncsCtrl::UniqueUid() const {
    for (;;) {
        const uint32_t uid = m_drawUid();
        if (std::none_of(m_store.begin(), m_store.end(),
                         [uid](const auto& entry) { return entry.second.notificationUid == uid; }))
            return uid;
    }
}

void CAncsCtrl::OnBnClickedAdd() {
    const int category = GetSelectedCategory();
    if (m_store.contains(category))
        return;
    AncsNotificationRecord record;
    record.categoryId = static_cast<uint8_t>(category);
    ReadSettings(record);
    record.notificationUid = UniqueUid();
    auto* row = new QTreeWidgetItem();
    row->setData(0, Qt::UserRole, category);
    ShowSettings(row, record);
    m_store.emplace(category, std::move(record));
    if (QTreeWidget* list = List(IDC_ANCS_CATEGORY_LIST))
        list->addTopLevelItem(row);
    else
        delete row;
}

void CAncsCtrl::OnBnClickedModify() {
    const auto found = m_store.find(GetSelectedCategory());
    if (found == m_store.end())
        return;
    ReadSettings(found->second);
    if (QTreeWidgetItem* row = RowOf(found->first))
        ShowSettings(row, found->second);
    OnLvnItemchangedCategoryList();
}

void CAncsCtrl::OnBnClickedDelete() {
    const int category = GetSelectedCategory();
    if (!m_store.contains(category))
        return;
    m_store.erase(category);
    delete RowOf(category);
}

void CAncsCtrl::OnBnClickedUpdate() {
    const QTreeWidgetItem* row = SelectedRow();
    if (!row || !m_server || !m_server->notificationSourceOn)
        return;
    const auto found = m_store.find(CategoryOf(row));
    if (found == m_store.end())
        return;
    const auto value = found->second.NotificationSource();
    Send(m_server->notificationSource, value);
}

void CAncsCtrl::OnUpdateAdd(platform::CmdUI& ui) const {
    ui.Enable(!m_store.contains(GetSelectedCategory()));
}

void CAncsCtrl::OnUpdateModifyDelete(platform::CmdUI& ui) const {
    ui.Enable(m_store.contains(GetSelectedCategory()));
}

void CAncsCtrl::OnUpdateUpdate(platform::CmdUI& ui) const {
    ui.Enable(SelectedRow() != nullptr);
}

void CAncsCtrl::OnLvnItemchangedCategoryList() {
    QTreeWidget* attributes = List(IDC_ANCS_ATTRIBUTE_LIST);
    if (!attributes)
        return;
    attributes->clear();
    const QTreeWidget* list = List(IDC_ANCS_CATEGORY_LIST);
    const QTreeWidgetItem* row = SelectedRow();
    if (!row && list)
        row = list->currentItem();
    if (!row)
        return;
    const auto found = m_store.find(CategoryOf(row));
    if (found == m_store.end())
        return;
    for (const AncsAttributeBlock& block : found->second.blocks) {
        QStringList texts;
        for (const std::string& value : block)
            texts << QString::fromStdString(value);
        attributes->addTopLevelItem(new QTreeWidgetItem(texts));
    }
}

// ---- The peer's writes ------------------------------------------------------------------------------

int32_t CAncsCtrl::OnServerWrite(uint16_t handle, uint16_t length, const uint8_t* data) {
    if (!m_server || handle == 0)
        return kNotHandled;
    const std::span<const uint8_t> value(data, data ? length : 0);
    if (handle == m_server->notificationSourceConfig || handle == m_server->dataSourceConfig) {
        const auto configuration = ByteReader(value).u16();
        if (!configuration || (*configuration != kNotificationsOn && *configuration != kConfigurationOff))
            return kNotHandled;
        bool& on = handle == m_server->notificationSourceConfig ? m_server->notificationSourceOn
                                                                : m_server->dataSourceOn;
        on = *configuration == kNotificationsOn;
        return kAttSuccess;
    }
    if (handle == m_server->controlPoint && m_server->dataSourceOn && value.size() >= kControlPointHeader) {
        AnswerControlPoint(value);
        return kAttSuccess;
    }
    return kNotHandled;
}

void CAncsCtrl::AnswerControlPoint(std::span<const uint8_t> value) {
    const auto request = DecodeAncsControlPoint(value);
    if (!request)
        return;
    const auto record = std::find_if(m_store.begin(), m_store.end(), [&](const auto& entry) {
        return entry.second.notificationUid == request->notificationUid;
    });
    if (record == m_store.end())
        return;
    for (const std::vector<uint8_t>& piece : AncsDataSourceAnswer(*request, record->second.blocks))
        Send(m_server->dataSource, piece);
}

void CAncsCtrl::Send(uint16_t handle, std::span<const uint8_t> value) const {
    const std::shared_ptr<BleDeviceRecord> device = m_device.lock();
    if (!device || !device->connected || handle == 0)
        return;
    bleHost().OrvBleServerSendNotification(device->cid, handle, static_cast<uint16_t>(value.size()),
                                           value.data());
}
