// The main window's ribbon and command table: elements, update rules, accelerators, the debug switch.
#include "app/COrvBleDemoApp.h"
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonCategory.h"
#include "platform/ui/RibbonEdit.h"
#include "platform/ui/RibbonElement.h"
#include "platform/ui/RibbonPanel.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <QStatusBar>

namespace {

class CommandsTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        m_frame->Router().runUpdatePass();
    }
    platform::RibbonElement* Element(UINT id) const { return m_frame->RibbonBar()->findById(id); }
};

QStringList Labels(platform::RibbonPanel* panel) {
    QStringList labels;
    for (int i = 0; i < panel->elementCount(); ++i)
        labels << panel->elementAt(i)->label();
    return labels;
}

TEST_F(CommandsTest, RibbonHoldsTheCategoriesPanelsAndElementsInOrder) {
    platform::Ribbon* ribbon = m_frame->RibbonBar();
    ASSERT_EQ(ribbon->categoryCount(), 3);
    EXPECT_EQ(ribbon->categoryAt(0)->name(), QStringLiteral("Main"));
    EXPECT_EQ(ribbon->categoryAt(1)->name(), QStringLiteral("Advanced"));
    EXPECT_EQ(ribbon->categoryAt(2)->name(), QStringLiteral("Help"));
    platform::RibbonCategory* main = ribbon->categoryAt(0);
    ASSERT_EQ(main->panelCount(), 3);
    EXPECT_EQ(main->panelAt(0)->name(), QStringLiteral("Device Connections"));
    EXPECT_EQ(Labels(main->panelAt(0)), (QStringList{"Discover devices", "Connect to device"}));
    EXPECT_EQ(main->panelAt(1)->name(), QStringLiteral("Connection Parameters"));
    EXPECT_EQ(Labels(main->panelAt(1)),
              (QStringList{"Minimum", "Maximum", "Latency", "Timeout", "Update parameters", "Quick connect",
                           "Accept connection updates", "Random address"}));
    EXPECT_EQ(main->panelAt(2)->name(), QStringLiteral("Security"));
    EXPECT_EQ(Labels(main->panelAt(2)), QStringList{"Enable MITM Protection"});
    EXPECT_EQ(ribbon->categoryAt(1)->panelAt(0)->name(), QStringLiteral("Debug"));
    EXPECT_EQ(Labels(ribbon->categoryAt(1)->panelAt(0)), (QStringList{"Show log", "Enable log"}));
    EXPECT_EQ(Labels(ribbon->categoryAt(2)->panelAt(0)), QStringList{"About the program"});
    EXPECT_EQ(Element(ID_CONNECT)->description(),
              QStringLiteral("Establish a connection with the Bluetooth Smart device"));
    EXPECT_EQ(Element(ID_PARAM_LATENCY)->toolTipText(), QStringLiteral("Slave latency"));
}

TEST_F(CommandsTest, ConnectButtonIsReplacedInPlaceByItsDisconnectFace) {
    platform::RibbonPanel* panel = m_frame->RibbonBar()->categoryAt(0)->panelAt(0);
    m_frame->UpdateRibbonState(false);
    QCoreApplication::processEvents();
    ASSERT_EQ(panel->elementCount(), 2);
    EXPECT_EQ(panel->elementAt(1)->label(), QStringLiteral("Disconnect"));
    EXPECT_EQ(panel->elementAt(1)->toolTipText(), QStringLiteral("Disconnect"));
    EXPECT_EQ(panel->elementAt(1)->description(), QStringLiteral("Disconnect from the connected device"));
    m_frame->UpdateRibbonState(true);
    QCoreApplication::processEvents();
    ASSERT_EQ(panel->elementCount(), 2);
    EXPECT_EQ(panel->elementAt(0)->id(), ID_DISCOVER);
    EXPECT_EQ(panel->elementAt(1)->label(), QStringLiteral("Connect to device"));
}

TEST_F(CommandsTest, ParameterEditsStartWithTheStoredParametersAndReadNonNumbersAsZero) {
    uint16_t min = 0, max = 0, latency = 0, timeout = 0;
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    EXPECT_EQ(std::vector<int>({min, max, latency, timeout}), std::vector<int>({400, 400, 4, 1000}));

    auto* edit = qobject_cast<platform::RibbonEdit*>(Element(ID_PARAM_MIN));
    ASSERT_NE(edit, nullptr);
    edit->setEditText(QStringLiteral("abc"));
    qobject_cast<platform::RibbonEdit*>(Element(ID_PARAM_TIMEOUT))->setEditText(QStringLiteral("70000"));
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(timeout, static_cast<uint16_t>(70000));

    m_frame->OnRemoteConnectionParameters(6, 12, 2, 300);
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    EXPECT_EQ(std::vector<int>({min, max, latency, timeout}), std::vector<int>({6, 12, 2, 300}));
}

TEST_F(CommandsTest, ParameterEditsTakeOnlyDigitsAndEditingKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool accepted;
    };
    const Case cases[] = {
        {Qt::Key_0, Qt::NoModifier, true},      {Qt::Key_9, Qt::NoModifier, true},
        {Qt::Key_5, Qt::KeypadModifier, false}, {Qt::Key_A, Qt::NoModifier, false},
        {Qt::Key_Minus, Qt::NoModifier, false}, {Qt::Key_Backspace, Qt::NoModifier, true},
        {Qt::Key_Delete, Qt::NoModifier, true}, {Qt::Key_Tab, Qt::NoModifier, true},
        {Qt::Key_Left, Qt::NoModifier, true},   {Qt::Key_Right, Qt::NoModifier, true},
        {Qt::Key_Up, Qt::NoModifier, false},    {Qt::Key_Space, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(CMainFrame::IsParameterEditKey(c.key, c.modifiers), c.accepted);
    }
}

TEST_F(CommandsTest, UpdateRulesOfTheSimpleCommands) {
    EXPECT_TRUE(Element(ID_QUICK_CONNECT)->isEnabled());
    EXPECT_TRUE(Element(ID_QUICK_CONNECT)->isChecked());
    EXPECT_TRUE(Element(ID_ACCEPT_UPDATES)->isChecked());
    EXPECT_FALSE(Element(ID_RANDOM_ADDRESS)->isEnabled());
    EXPECT_FALSE(Element(ID_RANDOM_ADDRESS)->isChecked());
    EXPECT_TRUE(Element(ID_ENABLE_MITM)->isEnabled());
    EXPECT_FALSE(Element(ID_ENABLE_MITM)->isChecked());
    EXPECT_FALSE(Element(ID_ENABLE_LOG)->isChecked());
    EXPECT_TRUE(Element(ID_SHOW_LOG)->isEnabled());
    EXPECT_TRUE(Element(ID_PARAM_MIN)->isEnabled());
    EXPECT_EQ(m_frame->CapsLockPaneText(), QString());

    EXPECT_TRUE(m_frame->ExecuteCommand(ID_QUICK_CONNECT));
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_MITM));
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_ACCEPT_UPDATES));
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_RANDOM_ADDRESS));
    m_frame->Router().runUpdatePass();
    EXPECT_FALSE(Element(ID_QUICK_CONNECT)->isChecked());
    EXPECT_TRUE(Element(ID_ENABLE_MITM)->isChecked());
    EXPECT_FALSE(Element(ID_ACCEPT_UPDATES)->isChecked());
    EXPECT_FALSE(Element(ID_RANDOM_ADDRESS)->isChecked());
}

TEST_F(CommandsTest, RejectedRemoteRequestLeavesTheEditsAlone) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_ACCEPT_UPDATES));
    const BleHostConnParamRequestEvent request{9, 6, 12, 2, 300, 4};
    m_frame->OnBleHostMessage(BLE_EVT_REMOTE_CONN_PARAMS, reinterpret_cast<LPARAM>(&request));
    const auto answers = m_host->callsNamed("OrvBleHostAcceptConnUpdate");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].args, (std::vector<int64_t>{9, 4, 0}));
    uint16_t min = 0, max = 0, latency = 0, timeout = 0;
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    EXPECT_EQ(min, 400);
    EXPECT_TRUE(m_frame->LogWindow()->WindowText().contains(
        QStringLiteral("Remote Connection parameter request rejected: 6 12 2 300, id: 4\n")));
}

TEST_F(CommandsTest, DebugToggleStoresTheSettingAndAsksForARestart) {
    COrvBleDemoApp app; // gives the command its settings key
    ASSERT_EQ(app.InitInstance(), TRUE);
    m_prompter.prompts.clear();
    const QString key = app.SettingsKeyPath() + QStringLiteral("\\Settings");
    for (uint32_t expected : {1u, 0u}) {
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_LOG));
        DWORD stored = 99;
        ASSERT_EQ(m_settings->queryDword(key, QStringLiteral("Debug"), &stored), ERROR_SUCCESS);
        EXPECT_EQ(stored, expected);
        m_frame->Router().runUpdatePass();
        EXPECT_EQ(Element(ID_ENABLE_LOG)->isChecked(), expected == 1);
    }
    ASSERT_EQ(m_prompter.prompts.size(), 2u);
    EXPECT_EQ(
        m_prompter.prompts[0].text,
        QStringLiteral("You need to restart application in order to apply the changes in debug settings."));
    EXPECT_EQ(m_prompter.prompts[0].caption, QStringLiteral("Debug logging"));
    EXPECT_EQ(m_prompter.prompts[0].type, MB_ICONEXCLAMATION);
    app.ExitInstance();
}

TEST_F(CommandsTest, ShowLogShowsTheLogWindowWithTheStartUpLine) {
    EXPECT_FALSE(m_frame->LogWindow()->isVisible());
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_SHOW_LOG));
    EXPECT_TRUE(m_frame->LogWindow()->isVisible());
    EXPECT_TRUE(m_frame->LogWindow()->WindowText().contains(QStringLiteral("] Started application\r\n")));
}

TEST_F(CommandsTest, StatusBarSaysReadyAfterStartUp) {
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
}

TEST_F(CommandsTest, ModalStateIsAFlagThatOneHideEnds) {
    m_frame->ShowProgress(QStringLiteral("t"), QStringLiteral("x"), true, true);
    m_frame->ShowProgress(QStringLiteral("t"), QStringLiteral("y"), false, true);
    EXPECT_TRUE(m_frame->IsInModalState());
    EXPECT_EQ(m_frame->ProgressWindow()->Text(), QStringLiteral("y"));
    EXPECT_TRUE(m_frame->ProgressWindow()->IsStopEnabled());
    m_frame->HideProgress();
    EXPECT_FALSE(m_frame->IsInModalState());
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    m_frame->ShowProgress(QStringLiteral("t"), QStringLiteral("z"), true, false);
    EXPECT_FALSE(m_frame->IsInModalState());
    EXPECT_FALSE(m_frame->ProgressWindow()->IsStopEnabled());
    EXPECT_EQ(m_frame->ProgressWindow()->windowTitle(), QStringLiteral("t"));
}

} // namespace
