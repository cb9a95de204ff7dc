// Pairing in the main window: the passkey prompt, security results, the failure counter, MITM.
#include "PairingFixture.h"

#include "panes/CConnectProgressDlg.h"
#include "panes/CLogDialog.h"
#include "panes/CUserPromptDlg.h"
#include "res/resource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr uint16_t kKeyboard = 0x03C1;

class PairingTest : public PairingFixture {
protected:
    void SetUp() override {
        PairingFixture::SetUp();
        StartUp();
    }
    // A discovered keyboard, selected and connected.
    void ConnectKeyboard() {
        Discover({{1, "Keys"}}, kKeyboard);
        Select(0);
        ConnectPeer();
    }
};

TEST_F(PairingTest, PasskeyIsAnsweredThenShownAsSixDigitsInAReadOnlyPromptWithCancelOnly) {
    ConnectKeyboard();
    Passkey(1234, [&](CUserPromptDlg& prompt) {
        ASSERT_EQ(Calls("OrvBleHostPasskeyNotificationResult").size(), 1u);
        EXPECT_EQ(Calls("OrvBleHostPasskeyNotificationResult")[0].args,
                  (std::vector<int64_t>{TestAddress(1).lap, 1}));
        EXPECT_EQ(m_frame->PromptMode(), 1);
        EXPECT_TRUE(prompt.isModal());
        EXPECT_EQ(prompt.parentWidget(), m_frame.get());
        EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Pass Key Prompt"));
        EXPECT_EQ(prompt.PromptText(), QStringLiteral("Enter this code on your ORV Veyra keyboard:"));
        EXPECT_EQ(prompt.Edit()->text(), QStringLiteral("001234"));
        EXPECT_TRUE(prompt.Edit()->isReadOnly());
        EXPECT_EQ(prompt.Edit()->font().pixelSize(), 48);
        EXPECT_EQ(prompt.Edit()->font().weight(), QFont::Bold);
        EXPECT_TRUE(prompt.OkButton()->isHidden());
        EXPECT_FALSE(prompt.CancelButton()->isHidden());
        EXPECT_EQ(m_host->count("OrvBleHostCancelBonding"), 0u);
        prompt.CancelButton()->click();
    });
    EXPECT_EQ(m_frame->OpenPrompt(), nullptr);
    EXPECT_EQ(m_frame->PromptMode(), 0);
    const auto cancels = Calls("OrvBleHostCancelBonding");
    ASSERT_EQ(cancels.size(), 1u);
    EXPECT_EQ(cancels[0].address.lap, TestAddress(1).lap);
    EXPECT_EQ(cancels[0].address.nap, TestAddress(1).nap);
}

TEST_F(PairingTest, PasskeyShowsEveryDigitOfLargeAndSmallCodes) {
    ConnectKeyboard();
    const std::pair<uint32_t, QString> cases[] = {{0, "000000"}, {7, "000007"}, {999999, "999999"}};
    for (const auto& [passkey, shown] : cases) {
        SCOPED_TRACE(passkey);
        Passkey(passkey, [&](CUserPromptDlg& prompt) {
            EXPECT_EQ(prompt.Edit()->text(), shown);
            prompt.reject();
        });
    }
}

TEST_F(PairingTest, SecuritySuccessWhileThePromptIsOpenClosesItWithoutCancellingTheBonding) {
    ConnectKeyboard();
    Passkey(42, [&](CUserPromptDlg&) { SecurityResult(0); });
    EXPECT_EQ(m_frame->OpenPrompt(), nullptr);
    EXPECT_EQ(m_host->count("OrvBleHostCancelBonding"), 0u);
    EXPECT_EQ(m_frame->LinkEncrypted(), 1u);
    EXPECT_TRUE(LogContains(QStringLiteral("Link Encrypted")));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(PairingTest, SecuritySuccessPairsTheDeviceOnceAndResumesTheReadQueue) {
    ConnectKeyboard();
    ASSERT_FALSE(Record(0).paired);
    m_frame->ReadCharacteristic(kDeviceName);
    ReadResult(kCid, kDeviceName, {}, 0x05);
    ASSERT_TRUE(m_frame->IsEncryptionRequested());
    ASSERT_TRUE(m_frame->IsReadInFlight());
    const size_t readsBefore = m_host->count("OrvBleClientReadCharByHandle");

    SecurityResult(0);
    EXPECT_FALSE(m_frame->IsEncryptionRequested());
    EXPECT_TRUE(Record(0).paired);
    ASSERT_EQ(m_frame->PairedDeviceList().size(), 1u);
    EXPECT_EQ(m_frame->PairedDeviceList()[0].get(), &Record(0));
    EXPECT_EQ(m_host->count("OrvBleClientReadCharByHandle"), readsBefore + 1);
    EXPECT_EQ(Calls("OrvBleClientReadCharByHandle").back().args, (std::vector<int64_t>{kCid, kDeviceName}));

    SecurityResult(0);
    EXPECT_EQ(m_frame->PairedDeviceList().size(), 1u);
}

TEST_F(PairingTest, SecurityFailureShowsItsMessageCancelsAndDisconnects) {
    ConnectKeyboard();
    const std::pair<uint16_t, QString> cases[] = {
        {1, QStringLiteral("Pairing failed with the remote device.")},
        {2, QStringLiteral("Pairing timed out with the remote device.")},
        {9, QString()}};
    size_t round = 0;
    for (const auto& [result, text] : cases) {
        SCOPED_TRACE(result);
        ++round;
        SecurityResult(result);
        ASSERT_EQ(m_prompter.prompts.size(), round);
        EXPECT_EQ(m_prompter.prompts.back().text, text);
        EXPECT_EQ(m_prompter.prompts.back().caption, QStringLiteral("Pairing failure"));
        EXPECT_EQ(m_prompter.prompts.back().type, MB_ICONEXCLAMATION | MB_TASKMODAL);
        EXPECT_EQ(m_prompter.prompts.back().parent, m_frame.get());
        EXPECT_EQ(m_host->count("OrvBleHostCancel"), round);
        ASSERT_EQ(m_host->count("OrvBleHostDisconnect"), round);
        EXPECT_EQ(Calls("OrvBleHostDisconnect").back().args, std::vector<int64_t>{kCid});
        EXPECT_EQ(m_frame->OperationState(), 3);
        EXPECT_EQ(m_host->count("OrvBleHostCancelBonding"), 0u);
    }
}

TEST_F(PairingTest, KeyboardFailuresOneToThreeOnlyCloseThePromptAndTheFourthDisconnects) {
    ConnectKeyboard();
    ASSERT_EQ(m_frame->PairingFailures(), 0);
    for (uint16_t failure = 1; failure <= 4; ++failure) {
        SCOPED_TRACE(failure);
        const bool reported = failure == 4;
        Passkey(100 + failure, [&](CUserPromptDlg&) { SecurityResult(1); });
        EXPECT_EQ(m_frame->OpenPrompt(), nullptr);
        EXPECT_EQ(m_frame->PairingFailures(), failure);
        EXPECT_EQ(m_host->count("OrvBleHostCancelBonding"), failure);
        EXPECT_EQ(m_prompter.prompts.size(), reported ? 1u : 0u);
        EXPECT_EQ(m_host->count("OrvBleHostCancel"), reported ? 1u : 0u);
        EXPECT_EQ(m_host->count("OrvBleHostDisconnect"), reported ? 1u : 0u);
    }
    EXPECT_EQ(m_prompter.prompts[0].text, QStringLiteral("Pairing failed with the remote device."));
}

TEST_F(PairingTest, ConnectingToTheKeyboardAgainResetsTheFailureCounter) {
    ConnectKeyboard();
    Passkey(5, [&](CUserPromptDlg&) { SecurityResult(2); });
    ASSERT_EQ(m_frame->PairingFailures(), 1);
    Disconnected(0x13);
    Select(0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(m_frame->PairingFailures(), 0);
}

TEST_F(PairingTest, DisconnectionWhileThePromptIsOpenEndsItAsCancel) {
    ConnectKeyboard();
    Passkey(77, [&](CUserPromptDlg&) { Disconnected(0x08); });
    EXPECT_EQ(m_frame->OpenPrompt(), nullptr);
    EXPECT_EQ(m_frame->PromptMode(), 0);
    ASSERT_EQ(m_host->count("OrvBleHostCancelBonding"), 1u);
    EXPECT_EQ(Calls("OrvBleHostCancelBonding")[0].address.lap, TestAddress(1).lap);
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(PairingTest, EscapeInThePromptCancelsTheBonding) {
    ConnectKeyboard();
    Passkey(3, [&](CUserPromptDlg& prompt) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&prompt, &escape);
    });
    EXPECT_EQ(m_host->count("OrvBleHostCancelBonding"), 1u);
}

TEST_F(PairingTest, SecuritySuccessHidesTheProgressWindow) {
    Discover({{1, "Keys"}}, kKeyboard);
    Select(0);
    ConnectPeer();
    m_frame->ShowProgress(QStringLiteral("Busy"), QStringLiteral("Working"), true, true);
    ASSERT_TRUE(m_frame->IsInModalState());
    SecurityResult(0);
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(m_frame->IsInModalState());
}

TEST_F(PairingTest, EndingThePromptEndsTheWindowsModalState) {
    ConnectKeyboard();
    m_frame->ShowProgress(QStringLiteral("Busy"), QStringLiteral("Working"), true, true);
    ASSERT_TRUE(m_frame->IsInModalState());
    Passkey(8, [&](CUserPromptDlg& prompt) { prompt.CancelButton()->click(); });
    EXPECT_FALSE(m_frame->IsInModalState());
}

TEST_F(PairingTest, MitmCommandTogglesTheFlagAndItsCheckMark) {
    platform::CmdUI before = Update(ID_ENABLE_MITM);
    EXPECT_EQ(before.enabled(), true);
    EXPECT_EQ(before.check(), 0);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_MITM));
    EXPECT_TRUE(m_frame->IsMitmProtectionOn());
    EXPECT_EQ(Update(ID_ENABLE_MITM).check(), 1);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_MITM));
    EXPECT_FALSE(m_frame->IsMitmProtectionOn());
    EXPECT_EQ(Update(ID_ENABLE_MITM).check(), 0);
}

} // namespace
