// Pairing, the passkey prompt, renaming the connected peer and removing bonds (their flows end to end
// are tested in tests/e2e/PairingE2eTest.cpp).
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CUserPromptDlg.h"
#include "panes/CViewTree.h"
#include "platform/ui/Property.h"
#include "platform/ui/PropertyGrid.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <functional>

namespace {

// The paired "Keys" and "Tag", and the keyboard "Pulse" found by a search.
class PairingTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp({PairedDevice(1, "Keys"), PairedDevice(2, "Tag")});
        Discover({{3, "Pulse"}}, CMainFrame::kAppearanceKeyboard);
    }
    void ConnectPulse() { Select(2), ConnectPeer(); }
    // Delivers a passkey display for the peer with that address byte; whileOpen runs inside the
    // prompt's modal loop. A prompt that whileOpen leaves open fails the test and is cancelled, so
    // that no test can hang.
    void Passkey(uint32_t passkey, std::function<void(CUserPromptDlg&)> whileOpen, uint8_t last = 1) {
        QTimer::singleShot(0, m_frame.get(), [this, action = std::move(whileOpen)] {
            const QPointer<CUserPromptDlg> prompt = qobject_cast<CUserPromptDlg*>(m_frame->OpenPrompt());
            if (!prompt) {
                ADD_FAILURE() << "no passkey prompt is open";
                return;
            }
            action(*prompt);
            if (prompt && prompt->isVisible()) {
                ADD_FAILURE() << "the passkey prompt is still open";
                prompt->reject();
            }
        });
        DeliverRecord(BLE_EVT_PASSKEY_DISPLAY, BleHostPasskeyEvent{TestAddress(last), passkey});
    }
    static void Press(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QCoreApplication::processEvents();
    }
    // The user renames the selected device in the tree: F2's command, the text, then the key.
    void RenameInTree(const QString& text, int key = Qt::Key_Return) {
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_RENAME_DEVICE));
        auto* editor = qobject_cast<QLineEdit*>(m_frame->DeviceView()->Tree()->LabelEditor());
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        Press(editor, key);
    }
    std::vector<HostCall> Writes() const { return Calls("OrvBleClientWriteCfmCharByHandle"); }
    // Pulse's name as its row, the properties pane and its record show it; whether a rename is under way.
    QStringList Names() const { return {Row(2)->text(0), ShownName(), Record(2).GetName()}; }
    bool Busy() const { return m_frame->IsRenamePending() || m_frame->IsInModalState(); }
    void DebondResult(uint8_t last, uint16_t status = 0) {
        BleTypedAddress address = TestAddress(last);
        address.type = 1; // the host's report need not carry the type the list holds
        DeliverRecord(BLE_EVT_DEBOND_RESULT, BleHostDebondEvent{0, status, address});
    }
    // The records' names; every row designates its record.
    QStringList Devices() const {
        QStringList names;
        for (size_t i = 0; i < m_frame->DeviceList().size(); ++i) {
            EXPECT_EQ(CDeviceView::ItemData(Row(i)), static_cast<int>(i) + 1) << i;
            names << Record(i).GetName();
        }
        return names;
    }
};

// ---- Pairing and the passkey prompt --------------------------------------------------------------

TEST_F(PairingTest, APasskeyIsShownAsSixDigitsAndItsPromptEndsAsCancelExceptForASuccessfulPairing) {
    ConnectPulse();
    const std::tuple<const char*, uint32_t, QString, std::function<void(CUserPromptDlg&)>> ways[] = {
        {"cancel", 1234, "001234", [](CUserPromptDlg& p) { p.CancelButton()->click(); }},
        {"escape", 0, "000000", [](CUserPromptDlg& p) { Press(&p, Qt::Key_Escape); }},
        {"pairing failed", 999999, "999999", [this](CUserPromptDlg&) { SecurityResult(1); }},
        {"paired", 42, "000042", [this](CUserPromptDlg&) { SecurityResult(0); }},
        {"disconnection", 42, "000042", [this](CUserPromptDlg&) { Disconnected(); }},
    };
    for (const auto& [name, passkey, shown, end] : ways) {
        SCOPED_TRACE(name);
        const size_t cancels = Count("OrvBleHostCancelBonding");
        m_frame->ShowProgress(QStringLiteral("Busy"), QStringLiteral("Working"), true, true);
        Passkey(passkey, [&, &shown = shown, &end = end](CUserPromptDlg& prompt) {
            EXPECT_EQ(prompt.Edit()->text(), shown);
            EXPECT_TRUE(prompt.Edit()->isReadOnly() && prompt.OkButton()->isHidden());
            EXPECT_TRUE(prompt.parentWidget() == m_frame.get() && prompt.CancelButton()->isVisible());
            end(prompt);
        });
        EXPECT_TRUE(m_frame->OpenPrompt() == nullptr && m_frame->PromptMode() == 0 &&
                    !m_frame->IsInModalState());
        EXPECT_EQ(Count("OrvBleHostCancelBonding"), cancels + (std::string(name) == "paired" ? 0 : 1));
    }
    EXPECT_EQ(Calls("OrvBleHostCancelBonding").back().address.lap, TestAddress(1).lap);
    EXPECT_EQ(Calls("OrvBleHostPasskeyNotificationResult").back().args,
              (std::vector<int64_t>{TestAddress(1).lap, 1}));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(PairingTest, ANewPasskeyReplacesTheOpenPromptWithoutCancellingItsBonding) {
    ConnectPulse();
    QPointer<CUserPromptDlg> first;
    Passkey(111, [&](CUserPromptDlg& prompt) {
        first = &prompt;
        const auto second = [&](CUserPromptDlg& replacement) {
            EXPECT_FALSE(first && first->isVisible());
            EXPECT_EQ(m_frame->OpenPrompt(), &replacement);
            EXPECT_EQ(replacement.Edit()->text(), QStringLiteral("000222"));
            replacement.CancelButton()->click();
        };
        Passkey(222, second, 2);
    });
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(Count("OrvBleHostCancelBonding"), 1u);
    EXPECT_EQ(Calls("OrvBleHostCancelBonding")[0].address.lap, TestAddress(2).lap);
}

TEST_F(PairingTest, ThePromptsFirstPaintRemovesTheSelectionAndHidesTheCaretOnce) {
    CUserPromptDlg prompt(QStringLiteral("001234"), QFont(), false, true, true, nullptr);
    QLineEdit* edit = prompt.Edit();
    const auto caret = [edit] {
        return edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit);
    };
    edit->selectAll();
    ASSERT_GT(caret(), 0);
    prompt.grab();
    EXPECT_FALSE(edit->hasSelectedText() || caret() > 0);
    edit->selectAll();
    prompt.grab();
    EXPECT_TRUE(edit->hasSelectedText());
}

TEST_F(PairingTest, SecuritySuccessPairsTheDeviceOnceAndResumesTheHeldRead) {
    ConnectPulse();
    m_frame->ReadCharacteristic(kDeviceName);
    ReadResult(kDeviceName, {}, 0x05);
    SecurityResult(0);
    SecurityResult(0);
    EXPECT_EQ(m_frame->PairedDeviceList().size(), 3u);
    EXPECT_TRUE(m_frame->LinkEncrypted() && Record(2).paired && !m_frame->IsEncryptionRequested());
    EXPECT_EQ(Calls("OrvBleClientReadCharByHandle").back().args, (std::vector<int64_t>{kCid, kDeviceName}));
}

TEST_F(PairingTest, SecurityFailureShowsItsMessageCancelsAndDisconnectsAndAKeyboardsPromptOnlyClosesThrice) {
    ConnectPulse();
    for (uint16_t failure = 1; failure <= 4; ++failure) {
        Passkey(failure, [&](CUserPromptDlg&) { SecurityResult(1); });
        EXPECT_EQ(m_frame->PairingFailures(), failure);
        EXPECT_EQ(Count("OrvBleHostDisconnect"), failure == 4 ? 1u : 0u) << failure;
    }
    const std::pair<uint16_t, QString> cases[] = {{2, "Pairing timed out with the remote device."},
                                                  {9, ""},
                                                  {1, "Pairing failed with the remote device."}};
    for (const auto& [result, text] : cases) {
        SecurityResult(result);
        EXPECT_EQ(m_prompter.prompts.back().text, text);
        EXPECT_EQ(m_prompter.prompts.back().caption, QStringLiteral("Pairing failure"));
        EXPECT_EQ(m_prompter.prompts.back().type, MB_ICONEXCLAMATION | MB_TASKMODAL);
    }
    EXPECT_EQ(Count("OrvBleHostCancel"), 4u);
    EXPECT_EQ(Count("OrvBleHostDisconnect"), 4u);
    Disconnected();
    Select(2);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(m_frame->PairingFailures(), 0);
}

// Asked for encryption (here by a read refused for lack of it), only a keyboard is asked for protection
// against a man in the middle, and only while "Enable MITM Protection" is ticked.
TEST_F(PairingTest, WithMitmProtectionTickedOnlyAKeyboardIsAskedForItAndEveryOtherPeerIsEncryptedWithout) {
    constexpr uint16_t kAppearanceMouse = 0x03C2;
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER)); // a search that finds Pulse again and a mouse
    for (const auto& [last, name, appearance] :
         {std::tuple{3, "Pulse", CMainFrame::kAppearanceKeyboard}, {4, "Mouse", kAppearanceMouse}})
        DeliverRecord(BLE_EVT_DEVICE_FOUND,
                      BleHostDeviceFoundEvent{
                          TestAddress(last), 0, 0, BLE_PRESENT_APPEARANCE, name, 0, 0, appearance, {}, 0, 0});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{});
    ASSERT_EQ(Record(3).appearance, kAppearanceMouse);
    // Whether the box is ticked, the device (Keys: no appearance, Pulse: a keyboard, Mouse), the level
    // asked for (2: with protection).
    const std::tuple<bool, size_t, int64_t> rows[] = {
        {true, 2, 2}, {true, 0, 1}, {true, 3, 1}, {false, 2, 1}, {false, 3, 1}};
    for (const auto& [mitm, device, level] : rows) {
        SCOPED_TRACE(testing::Message() << mitm << " " << Record(device).GetName().toStdString());
        if (m_frame->IsMitmProtectionOn() != mitm) {
            ASSERT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_MITM));
        }
        m_database = DatabaseBuilder();
        Select(device);
        ConnectPeer();
        const size_t asked = Count("OrvBleHostSetEncryption");
        m_frame->ReadCharacteristic(kDeviceName);
        ReadResult(kDeviceName, {}, 0x05);
        ASSERT_EQ(Count("OrvBleHostSetEncryption"), asked + 1);
        EXPECT_EQ(Calls("OrvBleHostSetEncryption").back().args, (std::vector<int64_t>{kCid, level}));
        Disconnected();
    }
}

// ---- Renaming ------------------------------------------------------------------------------------

TEST_F(PairingTest, ARefusedRenameRestoresTheNameAndTheWrittenNameIsShownOnlyWhileThePaneShowsTheDevice) {
    ConnectPulse();
    RenameInTree(QStringLiteral("Other"));
    EXPECT_EQ(Names(), (QStringList{"Other (updating)", "Other", "Pulse"}));
    WriteResult(kDeviceName, 0x03);
    WriteResult(kDeviceName); // a late result changes nothing
    EXPECT_EQ(Names(), QStringList(3, "Pulse"));
    EXPECT_FALSE(Busy() || m_frame->OperationState() != CMainFrame::Operation::Idle);
    RenameInTree(QStringLiteral("Other"));
    Select(1); // as a selection the program makes during the rename
    WriteResult(kDeviceName);
    EXPECT_EQ(Names(), (QStringList{"Other", "Tag", "Other"}));
    EXPECT_FALSE(Busy());
}

TEST_F(PairingTest, NamesAreWrittenAsUtf8CutAtACharacterBoundaryToFitOneWriteAndASecondRenameWaits) {
    ConnectPulse();
    const std::pair<QString, qsizetype> cases[] = {
        {QStringLiteral("Zo\u00eb \u6771\u4eac"), 11},         // two- and three-byte characters
        {QString(100, QChar(0x00E9)), 128},                    // 200 bytes of two-byte characters
        {QString(127, QLatin1Char('x')) + QChar(0x00E9), 127}, // the last character would straddle
        {QString(128, QLatin1Char('x')), 128},                 // fits exactly
        {QString(126, QLatin1Char('x')) + QChar(0x6771), 126}, // a three-byte character at the end
    };
    for (const auto& [name, written] : cases) {
        m_frame->RenameDevice(name);
        m_frame->RenameDevice(QStringLiteral("Second"));
        const QByteArray expected = name.toUtf8().left(written);
        EXPECT_EQ(Writes().back().args, (std::vector<int64_t>{kCid, kDeviceName, 0, written}));
        EXPECT_EQ(Writes().back().data, std::vector<uint8_t>(expected.begin(), expected.end()));
        WriteResult(kDeviceName);
        EXPECT_EQ(Record(2).GetName(), QString::fromUtf8(expected));
    }
    EXPECT_EQ(Writes().size(), 5u);
    EXPECT_TRUE(
        LogContains(QStringLiteral("The new name is 200 bytes long; its first 128 bytes are written.")));
}

TEST_F(PairingTest, AnEmptyOrCancelledLabelEditShowsTheMessageAndTheNameRowRenames) {
    ConnectPulse();
    RenameInTree(QString());
    RenameInTree(QStringLiteral("Typed but cancelled"), Qt::Key_Escape);
    EXPECT_EQ(PromptTexts(), std::vector<QString>(2, "Device name cannot be empty"));
    EXPECT_EQ(m_prompter.prompts[1].caption, QStringLiteral("Device Renaming"));
    EXPECT_EQ(m_prompter.prompts[1].type, MB_ICONEXCLAMATION | MB_TASKMODAL);
    EXPECT_TRUE(Writes().empty());
    platform::Property* general = m_frame->PropertiesView()->PropertyList()->property(0);
    for (int i = 0; i < general->subItemCount(); ++i) {
        general->subItem(i)->setValue(QStringLiteral("Grid"));
        m_frame->PropertiesView()->PropertyList()->notifyPropertyChanged(general->subItem(i));
    }
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].data, (std::vector<uint8_t>{'G', 'r', 'i', 'd'}));
}

// ---- Removing bonds ------------------------------------------------------------------------------

TEST_F(PairingTest, ABondManagementPeerIsAskedThenToldAndDebondedAtTheFinalWriteResultWhateverItsStatus) {
    Select(0);
    ConnectPeer(kReadWrite, true);
    m_prompter.queueResult(IDNO);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_TRUE(Writes().empty());
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    EXPECT_EQ(PromptTexts().at(1),
              "Bonding information will be deleted from the peer device. \r\nDo you want to continue?");
    EXPECT_EQ(Writes().at(0).args, (std::vector<int64_t>{kCid, kBondControlPoint, 0, 1}));
    EXPECT_EQ(Writes().at(0).data, std::vector<uint8_t>{0x03});
    WriteResult(kBondControlPoint, 0x05); // sent again after a security refusal: not the final result
    EXPECT_EQ(Count("OrvBleHostDebond"), 0u);
    Select(2); // empties the handle tables
    WriteResult(kBondControlPoint, 0x80);
    WriteResult(kBondControlPoint);
    ASSERT_EQ(Count("OrvBleHostDebond"), 1u);
    EXPECT_EQ(Calls("OrvBleHostDebond")[0].address.lap, TestAddress(1).lap);
}

TEST_F(PairingTest, ADebondedDeviceIsRemovedButTheConnectedOneIsKeptAndDisconnectedWhateverRowIsSelected) {
    Select(1);
    ConnectPeer();
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    DebondResult(1);
    EXPECT_EQ(m_frame->OperationState(), CMainFrame::Operation::Idle);
    EXPECT_EQ(Devices(), (QStringList{"Tag", "Pulse"}));
    EXPECT_EQ(m_frame->GetConnectionHandle(), kCid);
    EXPECT_EQ(Row(0)->parent(), m_frame->DeviceView()->ConnectedGroup());
    EXPECT_EQ(ShownName(), QStringLiteral("Tag"));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING)); // the connected Tag's
    Select(1);
    DebondResult(2);
    EXPECT_FALSE(Record(0).paired);
    EXPECT_EQ(Calls("OrvBleHostDisconnect").at(0).args, std::vector<int64_t>{kCid});
    EXPECT_EQ(Devices(), (QStringList{"Tag", "Pulse"}));
}

TEST_F(PairingTest, TheSelectionFollowsItsRecordOrIsClearedWithItAndAFailureKeepsTheBond) {
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    Select(2);
    DebondResult(1);
    EXPECT_EQ(Devices(), (QStringList{"Tag", "Pulse"}));
    EXPECT_EQ(ShownName(), QStringLiteral("Pulse"));
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    DebondResult(2, 3);
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to remove paired device\n")));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_REMOVE_PAIRING));
    DebondResult(2);
    EXPECT_EQ(Devices(), QStringList{"Pulse"});
    EXPECT_EQ(ShownName(), QString());
}

} // namespace
