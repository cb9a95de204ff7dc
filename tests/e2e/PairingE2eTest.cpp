// Pairing, re-encryption, renaming and bond removal against simulated peers that need a secure link.
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CUserPromptDlg.h"
#include "panes/CViewTree.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <functional>

namespace {

const QString kKeyboard = QStringLiteral("Orvane Veyra Keyboard");
const QString kLinkEncrypted = QStringLiteral("Link Encrypted");
const QString kKeyFromBond = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0002");
const QString kKeyFromPairing = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0001");

// A keyboard whose user types a wrong passkey.
const std::string kClumsyKeyboard = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:77:01", "name": "Clumsy Keyboard", "appearance": 961,
     "advIntervalMs": 100, "security": "encryption", "passkeyInput": true, "passkey": "wrong",
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Clumsy Keyboard"}]}]})";

// Attribute handles of the Bond Keeper: Generic Access 1-3, Bond Management 4-8.
constexpr uint16_t kBondControlPoint = 6;

// Bonded peers: one with Bond Management (its control point needs encryption), one without it, and
// one out of range.
const std::string kBondedPeers = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:77:02", "name": "Bond Keeper", "bonded": true, "advIntervalMs": 100,
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Bond Keeper"}]},
              {"uuid": "181E", "characteristics": [
                  {"uuid": "2AA4", "properties": ["write"], "security": "encryption"},
                  {"uuid": "2AA5", "properties": ["read"], "value": "10 00 00"}]}]},
    {"kind": "generic", "address": "00:1A:7D:DA:77:03", "name": "Plain Bonded", "bonded": true,
     "advIntervalMs": 100,
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Plain Bonded"}]}]},
    {"kind": "generic", "address": "00:1A:7D:DA:77:04", "name": "Far Away", "bonded": true, "advertising": false})";

class PairingE2eTest : public SimFixture {
protected:
    void SetUp() override {
        SimFixture::SetUp();
        m_passkeyWatch.setInterval(0);
        QObject::connect(&m_passkeyWatch, &QTimer::timeout, [this] { AnswerPasskeyPrompt(); });
        m_passkeyWatch.start();
    }
    void TearDown() override {
        m_passkeyWatch.stop();
        SimFixture::TearDown();
    }

    // Runs inside the passkey prompt's modal loop: notes the passkey shown, then lets virtual time pass
    // while the keyboard's user types it, until the prompt closes. A prompt still open after a minute
    // is cancelled and fails the test, so that no test can hang.
    void AnswerPasskeyPrompt() {
        auto* prompt = Frame() ? qobject_cast<CUserPromptDlg*>(Frame()->OpenPrompt()) : nullptr;
        if (!prompt || m_answering)
            return;
        m_answering = true;
        m_passkeys << prompt->Edit()->text();
        const QPointer<QDialog> open(prompt);
        if (m_whilePromptOpen)
            m_whilePromptOpen();
        for (int second = 0; second < 60 && open && Frame()->OpenPrompt() == open; ++second)
            Advance(1000);
        if (open && Frame()->OpenPrompt() == open) {
            ADD_FAILURE() << "the passkey prompt is still open";
            open->reject();
        }
        m_answering = false;
    }

    // Discovers, selects the row showing text and connects it, leaving time for the link to be secured.
    BleDeviceRecord* ConnectTo(const QString& text) {
        Discover();
        if (!Select(text))
            return nullptr;
        BleDeviceRecord* record = Connect(3000);
        Advance(20000);
        return record;
    }
    void Disconnect() {
        ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
        Advance(2000);
        ASSERT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    }
    QStringList Paired() const { return RowTexts(Frame()->DeviceView()->PairedGroup()); }
    QStringList Discovered() const { return RowTexts(Frame()->DeviceView()->DiscoveredGroup()); }
    qsizetype LogCount(const QString& text) const { return Frame()->LogWindow()->WindowText().count(text); }
    // The user renames the selected device in the tree: the Rename command, the text, then Enter.
    void RenameInTree(const QString& text) {
        ASSERT_TRUE(Frame()->ExecuteCommand(ID_RENAME_DEVICE));
        auto* editor = qobject_cast<QLineEdit*>(Frame()->DeviceView()->Tree()->LabelEditor());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QCoreApplication::processEvents();
    }

    QTimer m_passkeyWatch;
    QStringList m_passkeys;
    std::function<void()> m_whilePromptOpen; // runs first while the prompt is open
    bool m_answering = false;
};

TEST_F(PairingE2eTest, MitmConnectionToTheKeyboardPairsWithADisplayedPasskey) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    BleDeviceRecord* keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    ASSERT_EQ(m_passkeys.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{6}$")).match(m_passkeys[0]).hasMatch())
        << m_passkeys[0].toStdString();
    EXPECT_EQ(Frame()->OpenPrompt(), nullptr);
    EXPECT_TRUE(LogContains(kLinkEncrypted));
    EXPECT_TRUE(LogContains(kKeyFromPairing));
    EXPECT_TRUE(keyboard->paired);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, PairedKeyboardIsListedUnderPairedDevicesAfterDisconnecting) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    ASSERT_NE(ConnectTo(kKeyboard), nullptr);
    Disconnect();
    EXPECT_EQ(Paired(), QStringList{kKeyboard});
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), QStringList{kKeyboard});
}

TEST_F(PairingE2eTest, NextConnectionReEncryptsWithoutPairing) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    ASSERT_NE(ConnectTo(kKeyboard), nullptr);
    Disconnect();
    BleDeviceRecord* keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(m_passkeys.size(), 1);
    EXPECT_EQ(LogCount(kLinkEncrypted), 2);
    EXPECT_TRUE(LogContains(kKeyFromBond));
    EXPECT_TRUE(Frame()->LinkEncrypted());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, WithoutMitmTheKeyboardPairsWithoutAPrompt) {
    ASSERT_NE(Start(), nullptr);
    BleDeviceRecord* keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(m_passkeys.isEmpty());
    EXPECT_TRUE(LogContains(kKeyFromPairing));
    EXPECT_TRUE(keyboard->paired);
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(PairingE2eTest, WrongPasskeyClosesThePromptWithoutPairing) {
    LoadWorld(WorldOf(kClumsyKeyboard));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    BleDeviceRecord* keyboard = ConnectTo(QStringLiteral("Clumsy Keyboard"));
    ASSERT_NE(keyboard, nullptr);
    ASSERT_GE(m_passkeys.size(), 1);
    EXPECT_EQ(Frame()->OpenPrompt(), nullptr);
    EXPECT_FALSE(keyboard->paired);
    EXPECT_FALSE(LogContains(kLinkEncrypted));
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, RenamingRenamesThePeerAndTheRow) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(ConnectTo(QStringLiteral("Orvane Dev Board")), nullptr);
    RenameInTree(QStringLiteral("Bench Board"));
    EXPECT_NE(Row(QStringLiteral("Bench Board (updating)")), nullptr);
    Advance(3000);
    EXPECT_NE(Row(QStringLiteral("Bench Board")), nullptr);
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    const QByteArray name("Bench Board");
    EXPECT_EQ(orv::sim::peerAttributeValue("00:1A:7D:DA:71:0B", 3),
              std::vector<uint8_t>(name.begin(), name.end()));
    Disconnect();
    Discover();
    EXPECT_TRUE(Discovered().contains(QStringLiteral("Bench Board")));
    EXPECT_FALSE(Discovered().contains(QStringLiteral("Orvane Dev Board")));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, RenamedPairedDeviceKeepsItsNameAcrossARestart) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(ConnectTo(kKeyboard), nullptr);
    RenameInTree(QStringLiteral("Desk Keyboard"));
    Advance(3000);
    Disconnect();
    EXPECT_EQ(Paired(), QStringList{QStringLiteral("Desk Keyboard")});
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), QStringList{QStringLiteral("Desk Keyboard")});
}

TEST_F(PairingE2eTest, RemovePairingOnABondManagementPeerTellsThePeerAndDisconnects) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    BleDeviceRecord* peer = ConnectTo(QStringLiteral("Bond Keeper"));
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(peer->bondDeletionSupported);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_REMOVE_PAIRING));
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_TRUE(PromptTexts()[0].startsWith(
        QStringLiteral("Bonding information will be deleted from the peer device.")));
    Advance(5000);
    EXPECT_TRUE(LogContains(kKeyFromBond));
    EXPECT_EQ(orv::sim::peerAttributeValue("00:1A:7D:DA:77:02", kBondControlPoint),
              std::vector<uint8_t>{0x03});
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_TRUE(Discovered().contains(QStringLiteral("Bond Keeper")));
    EXPECT_FALSE(Paired().contains(QStringLiteral("Bond Keeper")));
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Plain Bonded"), QStringLiteral("Far Away")}));
}

TEST_F(PairingE2eTest, RemovePairingOnAPlainConnectedPeerRemovesTheLocalBondAndDisconnects) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(ConnectTo(QStringLiteral("Plain Bonded")), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_REMOVE_PAIRING));
    Advance(3000);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_TRUE(Discovered().contains(QStringLiteral("Plain Bonded")));
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bond Keeper"), QStringLiteral("Far Away")}));
}

TEST_F(PairingE2eTest, RemovePairingOfADeviceNotInRangeDropsItsRow) {
    LoadWorld(WorldOf(kBondedPeers));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Select(QStringLiteral("Far Away")));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_REMOVE_PAIRING));
    Advance(1000);
    EXPECT_EQ(Row(QStringLiteral("Far Away")), nullptr);
    EXPECT_EQ(Paired(), (QStringList{QStringLiteral("Bond Keeper"), QStringLiteral("Plain Bonded")}));
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, KeyboardDroppingTheLinkWhileThePasskeyIsShownClosesThePrompt) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    m_whilePromptOpen = [] { orv::sim::disconnectPeer("00:1A:7D:DA:71:0C", 0x13); };
    ConnectTo(kKeyboard);
    ASSERT_EQ(m_passkeys.size(), 1);
    EXPECT_EQ(Frame()->OpenPrompt(), nullptr);
    EXPECT_EQ(Frame()->PromptMode(), 0);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_TRUE(Discovered().contains(kKeyboard));
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, PairedKeyboardReEncryptsAfterARestartWithoutASearch) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    ASSERT_NE(ConnectTo(kKeyboard), nullptr);
    Disconnect();
    ASSERT_NE(Restart(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    ASSERT_TRUE(Select(kKeyboard));
    BleDeviceRecord* keyboard = Connect(3000);
    ASSERT_NE(keyboard, nullptr);
    Advance(20000);
    EXPECT_EQ(keyboard->appearance, 961);
    EXPECT_EQ(m_passkeys.size(), 1);
    EXPECT_TRUE(LogContains(kKeyFromBond));
    EXPECT_TRUE(Frame()->LinkEncrypted());
}

TEST_F(PairingE2eTest, RenameLeftUnansweredEndsWithTheOldNameWhenTheLinkDrops) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_NE(ConnectTo(QStringLiteral("Orvane Dev Board")), nullptr);
    ASSERT_TRUE(orv::sim::setPeerSilent("00:1A:7D:DA:71:0B", true));
    RenameInTree(QStringLiteral("Bench Board"));
    Advance(40000);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_FALSE(Frame()->IsRenamePending());
    EXPECT_NE(Row(QStringLiteral("Orvane Dev Board")), nullptr);
    EXPECT_EQ(Row(QStringLiteral("Bench Board (updating)")), nullptr);
    EXPECT_FALSE(Frame()->IsInModalState());
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
