#include "profiles/control/CHidCtrl.h"

#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "profiles/control/HidIds.h"
#include "res/resource.h"
#include "ui_HidPane.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

[[maybe_unused]] const bool kPaneRegistered = CProfileCtrlView::RegisterTemplate(IDD_HID, [](QWidget* pane) {
    Ui::HidPane form;
    form.setupUi(pane);
});

const QString kNotAvailable = QStringLiteral("N/A");

// The rows of the Information list, in order.
enum InformationRow {
    kParserVersion,
    kDeviceSubclass,
    kCountryCode,
    kReconnectInitiate,
    kRemoteWake,
    kBootDevice,
    kNormallyConnectable,
};

QString YesNo(std::optional<bool> flag) {
    if (!flag)
        return kNotAvailable;
    return *flag ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString Hex(std::optional<uint8_t> byte) {
    return byte ? QString::asprintf("%02X", *byte) : kNotAvailable;
}

// The radio button's check; clearing the checked one of an exclusive pair needs exclusivity off.
void SetRadio(QRadioButton* button, bool checked) {
    if (!button)
        return;
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}

} // namespace

CHidCtrl::CHidCtrl(QWidget* parent) : CChildFrame(parent) {}

CHidCtrl::~CHidCtrl() = default;

void CHidCtrl::OnCreate() {
    m_wndView.Create(IDD_HID, PaneParent());
    setWindowTitle(QStringLiteral("HID device"));

    if (auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_HID_INFORMATION))) {
        list->setColumnWidth(0, 200);
        list->setColumnWidth(1, 50);
        for (const char* property :
             {"Parser version", "Device subclass", "Country code", "Reconnect initiate", "Remote wake",
              "Boot device", "Normally connectable"})
            new QTreeWidgetItem(list, {QString::fromLatin1(property), kNotAvailable});
    }
    if (auto* commands = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_HID_CONTROL_COMMAND))) {
        commands->addItem(QStringLiteral("Suspend"), HidControlCommand::Suspend);
        commands->addItem(QStringLiteral("Exit suspend"), HidControlCommand::ExitSuspend);
        commands->setCurrentIndex(0);
    }
    for (const UINT edit : {IDC_HID_OUTPUT_REPORT, IDC_HID_FEATURE_REPORT}) {
        if (auto* line = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, edit)))
            connect(line, &QLineEdit::textChanged, this,
                    edit == IDC_HID_OUTPUT_REPORT ? &CHidCtrl::OnUpdateOutputReportEdit
                                                  : &CHidCtrl::OnUpdateFeatureReportEdit);
    }
    for (const UINT command : {ID_HID_SEND_CONTROL_POINT, ID_HID_SET_PROTOCOL_MODE, ID_HID_GET_PROTOCOL_MODE,
                               ID_HID_SET_OUTPUT_REPORT, ID_HID_GET_OUTPUT_REPORT, ID_HID_SET_FEATURE_REPORT,
                               ID_HID_GET_FEATURE_REPORT})
        BindCommandButton(command);
    InitScrollMetrics(&m_wndView);
}

void CHidCtrl::AddReportId(uint8_t reportId, UINT comboId) {
    auto* combo = qobject_cast<QComboBox*>(platform::GetDlgItem(this, comboId));
    if (!combo)
        return;
    const QString text = QString::asprintf("%02d", reportId);
    int at = 0;
    while (at < combo->count() && combo->itemText(at) <= text)
        ++at;
    combo->insertItem(at, text);
    combo->setCurrentIndex(0);
}

std::optional<uint8_t> CHidCtrl::GetSelectedReportId(UINT comboId) const {
    const auto* combo = qobject_cast<QComboBox*>(platform::GetDlgItem(this, comboId));
    if (!combo || combo->currentIndex() < 0)
        return std::nullopt;
    bool ok = false;
    const qulonglong id = combo->currentText().toULongLong(&ok);
    if (!ok || id > 0xFF)
        return std::nullopt;
    return static_cast<uint8_t>(id);
}

void CHidCtrl::ShowBytesDecimal(std::span<const uint8_t> value, UINT controlId) {
    platform::SetDlgItemText(this, controlId, FormatBytesDecimal(value));
}

std::optional<std::vector<uint8_t>> CHidCtrl::ParseHexBytes(UINT editId) const {
    auto bytes = ::ParseHexBytes(platform::GetDlgItemText(this, editId));
    if (!bytes)
        platform::AfxMessageBox(platform::LoadString(IDS_REPORT_FORMAT_WRONG), MB_OK);
    return bytes;
}

void CHidCtrl::ShowReport(uint8_t reportId, uint8_t reportType, std::span<const uint8_t> value) {
    platform::SetDlgItemText(this, IDC_HID_INPUT_REPORT, HidReportText(reportId, reportType, value));
}

void CHidCtrl::ShowReportMap(std::span<const uint8_t> value) {
    platform::SetDlgItemText(this, IDC_HID_DESCRIPTOR, FormatHexBytes(value));
}

void CHidCtrl::ShowHidInformation(const HidInformation& information) {
    auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_HID_INFORMATION));
    if (!list)
        return;
    const std::pair<InformationRow, QString> values[] = {
        {kParserVersion, information.version ? HidVersionText(*information.version) : kNotAvailable},
        {kDeviceSubclass, Hex(information.subclass)},
        {kCountryCode, Hex(information.country)},
        {kReconnectInitiate, YesNo(information.reconnectInitiate)},
        {kRemoteWake, YesNo(information.remoteWake)},
        {kBootDevice, YesNo(information.bootDevice)},
        {kNormallyConnectable, YesNo(information.normallyConnectable)},
    };
    for (const auto& [row, text] : values)
        if (QTreeWidgetItem* item = list->topLevelItem(row))
            item->setText(1, text);
}

void CHidCtrl::ShowProtocolMode(uint8_t mode) {
    SetRadio(qobject_cast<QRadioButton*>(platform::GetDlgItem(this, IDC_HID_BOOT_PROTOCOL)),
             mode == HidProtocolMode::Boot);
    SetRadio(qobject_cast<QRadioButton*>(platform::GetDlgItem(this, IDC_HID_REPORT_PROTOCOL)),
             mode == HidProtocolMode::Report);
}

bool CHidCtrl::IsBootProtocolChecked() const {
    const auto* boot = qobject_cast<QRadioButton*>(platform::GetDlgItem(this, IDC_HID_BOOT_PROTOCOL));
    return boot && boot->isChecked();
}

uint8_t CHidCtrl::SelectedControlCommand() const {
    const auto* commands = qobject_cast<QComboBox*>(platform::GetDlgItem(this, IDC_HID_CONTROL_COMMAND));
    return commands ? static_cast<uint8_t>(commands->currentData().toUInt()) : HidControlCommand::Suspend;
}

void CHidCtrl::OnUpdateOutputReportEdit() {
    OnUpdateReportEdit(IDC_HID_OUTPUT_REPORT);
}

void CHidCtrl::OnUpdateFeatureReportEdit() {
    OnUpdateReportEdit(IDC_HID_FEATURE_REPORT);
}

void CHidCtrl::OnUpdateReportEdit(UINT editId) {
    auto* edit = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, editId));
    if (!edit)
        return;
    QString copy = edit->text();
    if (FilterHexInput(copy))
        return;
    edit->setText(copy);
    edit->setCursorPosition(static_cast<int>(copy.size()));
}
