// Pairing, re-encryption and renaming against a simulated keyboard that needs a secure link (removing a
// bond: the main window's tests, the host library's and the bond-manager peer's).
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

namespace {

const QString kKeyboard = QStringLiteral("Orvane Veyra Keyboard");
const std::string kKeyboardAddress = "00:1A:7D:DA:71:0C";
const QString kTyreSensor = QStringLiteral("Orvane Tyre Sensor"); // bonded in the built-in world
const QString kKeyFromBond = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0002");
const QString kKeyFromPairing = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0001");

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
        for (int second = 0; second < 60 && open && Frame()->OpenPrompt() == open; ++second)
            Advance(1000);
        if (open && Frame()->OpenPrompt() == open) {
            ADD_FAILURE() << "the passkey prompt is still open";
            open->reject();
        }
        m_answering = false;
    }
    // Connects the row showing text, leaving time for the link to be secured.
    BleDeviceRecord* ConnectTo(const QString& text) { return Select(text) ? Connect(23000) : nullptr; }
    void Disconnect() {
        ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
        Advance(2000);
        ASSERT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    }
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
    bool m_answering = false;
};

TEST_F(PairingE2eTest, MitmPairingShowsAPasskeyAndTheBondReEncryptsAfterARestart) {
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    Discover();
    BleDeviceRecord* keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    ASSERT_EQ(m_passkeys.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{6}$")).match(m_passkeys[0]).hasMatch());
    EXPECT_EQ(LogCount(kKeyFromPairing), 1);
    EXPECT_TRUE(keyboard->paired);
    Disconnect();
    EXPECT_EQ(Paired(), QStringList{kKeyboard});

    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{kTyreSensor, kKeyboard}));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->appearance, 961);
    EXPECT_EQ(m_passkeys.size(), 1);
    EXPECT_EQ(LogCount(kKeyFromBond), 1);
    EXPECT_EQ(LogCount(QStringLiteral("Link Encrypted")), 1);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(PairingE2eTest, ARenamedKeyboardKeepsItsNewNameOnThePeerAndAcrossARestart) {
    ASSERT_NE(Start(), nullptr);
    Discover();
    ASSERT_NE(ConnectTo(kKeyboard), nullptr);
    RenameInTree(QStringLiteral("Desk Keyboard"));
    EXPECT_NE(Row(QStringLiteral("Desk Keyboard (updating)")), nullptr);
    Advance(3000);
    EXPECT_EQ(Connected(), QStringList{QStringLiteral("Desk Keyboard")});
    const QByteArray name("Desk Keyboard");
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboardAddress, 3),
              std::vector<uint8_t>(name.begin(), name.end()));
    Disconnect();
    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{kTyreSensor, QStringLiteral("Desk Keyboard")}));
    Discover();
    EXPECT_TRUE(Discovered().contains(QStringLiteral("Desk Keyboard")));
    EXPECT_FALSE(Discovered().contains(kKeyboard));
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
