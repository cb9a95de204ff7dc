// Pairing, renaming and re-encryption after a restart against a simulated keyboard that needs a secure
// link, and what a wrong or missing passkey leaves (removing a bond: the main window's tests, the host
// library's and the bond-manager peer's).
#include "E2eFixture.h"
#include "panes/CUserPromptDlg.h"
#include "panes/CViewTree.h"
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/HidIds.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

const QString kKeyboard = QStringLiteral("Orvane Veyra Keyboard");
const QString kRenamed = QStringLiteral("Desk Keyboard");
const std::string kKeyboardAddress = "00:1A:7D:DA:71:0C";
const QString kTyreSensor = QStringLiteral("Orvane Tyre Sensor"); // bonded in the built-in world
const QString kKeyFromBond = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0002");
const QString kKeyFromPairing = QStringLiteral("Set encryption result: 0x0000, supplier = 0x0001");

class PairingE2eTest : public E2eFixture {
protected:
    void SetUp() override {
        E2eFixture::SetUp();
        if (const std::string world = World(); !world.empty())
            LoadWorld(world);
        m_passkeyWatch.setInterval(0);
        QObject::connect(&m_passkeyWatch, &QTimer::timeout, [this] { AnswerPasskeyPrompt(); });
        m_passkeyWatch.start();
        ASSERT_NE(Start(), nullptr);
        Discover();
    }
    void TearDown() override {
        m_passkeyWatch.stop();
        E2eFixture::TearDown();
    }
    // The world the test starts in; empty: the built-in one.
    virtual std::string World() const { return {}; }

    // Runs inside the passkey prompt's modal loop: counts the prompt, then lets virtual time pass while
    // the keyboard's user types the passkey, until the prompt closes, and notes its code and how long it
    // stayed open. A prompt still open after a minute is cancelled and fails the test, so that no test
    // can hang.
    void AnswerPasskeyPrompt() {
        auto* prompt = Frame() ? qobject_cast<CUserPromptDlg*>(Frame()->OpenPrompt()) : nullptr;
        if (!prompt || m_answering)
            return;
        m_answering = true;
        ++m_prompts;
        const QString code = prompt->Edit()->text();
        const uint64_t shown = orv::sim::now();
        const QPointer<QDialog> open(prompt);
        if (!AdvanceUntil([&] { return !open || Frame()->OpenPrompt() != open; }, 60000, 1000)) {
            ADD_FAILURE() << "the passkey prompt is still open";
            open->reject();
        }
        m_shown.emplace_back(code, orv::sim::now() - shown);
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
    int m_prompts = 0;
    std::vector<std::pair<QString, uint64_t>> m_shown; // each prompt's code and how long it was open
    bool m_answering = false;
};

TEST_F(PairingE2eTest, AKeyboardPairedWithAPasskeyAndRenamedKeepsItsBondAndNewNameAcrossARestart) {
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    BleDeviceRecord* keyboard = ConnectTo(kKeyboard);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(m_prompts, 1);
    EXPECT_EQ(LogCount(kKeyFromPairing), 1);
    EXPECT_TRUE(keyboard->paired);
    RenameInTree(kRenamed);
    Advance(3000);
    EXPECT_EQ(Connected(), QStringList{kRenamed});
    const QByteArray name = kRenamed.toUtf8();
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboardAddress, 3),
              std::vector<uint8_t>(name.begin(), name.end()));
    Disconnect();
    EXPECT_EQ(Paired(), QStringList{kRenamed});

    ASSERT_NE(Restart(), nullptr);
    EXPECT_EQ(Paired(), (QStringList{kTyreSensor, kRenamed}));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    keyboard = ConnectTo(kRenamed);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->appearance, 961);
    EXPECT_EQ(m_prompts, 1);
    EXPECT_EQ(LogCount(kKeyFromBond), 1);
    EXPECT_EQ(LogCount(QStringLiteral("Link Encrypted")), 1);
    Disconnect();
    Discover();
    EXPECT_TRUE(Discovered().contains(kRenamed)) << "the keyboard advertises its new name";
    EXPECT_FALSE(Discovered().contains(kKeyboard));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

// A keyboard whose user types another code, or none, paired with a passkey: the pairing Tindrel asks for
// and the one its refused read asks for each show their own code and end by closing their prompt only,
// so no message box follows and the reads are left waiting on a link that stays up.
class FailedPasskeyE2eTest : public PairingE2eTest,
                             public ::testing::WithParamInterface<std::pair<const char*, uint64_t>> {
protected:
    std::string World() const override {
        return WorldOf(R"({"kind": "keyboard", "address": "00:1A:7D:DA:75:01", "name": "Passkey Keyboard",
                          "appearance": 961, "passkeyInput": true, "passkey": ")" +
                       std::string(GetParam().first) + R"("})");
    }
};

TEST_P(FailedPasskeyE2eTest, TwoPromptsWithTheirOwnCodesCloseAndTheReadsWaitWithoutAMessageBox) {
    const QString keyboard = QStringLiteral("Passkey Keyboard");
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ENABLE_MITM));
    ASSERT_TRUE(Select(keyboard));
    Connect(2 * GetParam().second + 60000);
    ASSERT_EQ(m_shown.size(), 2u);
    EXPECT_NE(m_shown[0].first, m_shown[1].first);
    EXPECT_EQ(m_shown[0].second, GetParam().second);
    EXPECT_EQ(m_shown[1].second, GetParam().second);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_EQ(Connected(), QStringList{keyboard});
    ASSERT_NE(Frame()->HidWindow(), nullptr);
    EXPECT_TRUE(platform::GetDlgItemText(Frame()->HidWindow(), IDC_HID_DESCRIPTOR).isEmpty());
    EXPECT_TRUE(Frame()->IsReadInFlight());
}

INSTANTIATE_TEST_SUITE_P(Users, FailedPasskeyE2eTest,
                         ::testing::Values(std::pair("wrong", uint64_t{6000}),
                                           std::pair("none", uint64_t{30000})),
                         [](const auto& info) { return std::string(info.param.first) + "Passkey"; });

} // namespace
