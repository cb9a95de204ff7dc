#include "PairingFixture.h"

#include "panes/CPropertiesWnd.h"
#include "panes/CUserPromptDlg.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"

#include <QTimer>

void PairingFixture::SetUp() {
    MainFrameFixture::SetUp();
    // The old host must go first: each host installs itself and uninstalls on destruction.
    m_host.reset();
    m_host = std::make_unique<PairingHost>();
}

void PairingFixture::ConnectPeer(uint8_t nameProperties, bool bondManagement) {
    if (bondManagement)
        m_database.Service(0x181E, 0x20, 0x26)
            .Characteristic(0x2AA5, kBondFeature, 0x02)
            .Characteristic(0x2AA4, kBondControlPoint, 0x08);
    m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, nameProperties);
    Connect(kCid, m_database);
    if (bondManagement)
        ReadResult(kCid, kBondFeature, {0x10});
    const BleDeviceRecord* connected =
        m_frame->DeviceList().at(static_cast<size_t>(m_frame->ConnectedDeviceIndex())).get();
    const QByteArray name = connected->GetDisplayName().toUtf8();
    ReadResult(kCid, kDeviceName, std::vector<uint8_t>(name.begin(), name.end()));
}

platform::Property* PairingFixture::NameRow() const {
    platform::Property* general = m_frame->PropertiesView()->PropertyList()->property(0);
    for (int i = 0; general && i < general->subItemCount(); ++i)
        if (general->subItem(i)->data() == CPropertiesWnd::kNamePropertyData)
            return general->subItem(i);
    return nullptr;
}

platform::CmdUI PairingFixture::Update(UINT id) const {
    platform::CmdUI ui(id);
    m_frame->Commands().runUpdate(ui);
    return ui;
}

void PairingFixture::SecurityResult(uint16_t result) {
    BleHostSecurityEvent event{};
    event.address = TestAddress(1);
    event.result = result;
    DeliverRecord(BLE_EVT_SECURITY_RESULT, event);
}

void PairingFixture::Passkey(uint32_t passkey, std::function<void(CUserPromptDlg&)> whileOpen, uint8_t last) {
    QTimer::singleShot(0, m_frame.get(), [this, action = std::move(whileOpen)] {
        auto* prompt = qobject_cast<CUserPromptDlg*>(m_frame->OpenPrompt());
        if (!prompt) {
            ADD_FAILURE() << "no passkey prompt is open";
            return;
        }
        action(*prompt);
        if (QDialog* open = m_frame->OpenPrompt()) {
            ADD_FAILURE() << "the passkey prompt is still open";
            open->reject();
        }
    });
    DeliverRecord(BLE_EVT_PASSKEY_DISPLAY, BleHostPasskeyEvent{TestAddress(last), passkey});
}
