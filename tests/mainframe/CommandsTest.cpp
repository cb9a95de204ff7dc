// The main window's commands: update rules and refusals, the ribbon's edits, the debug switch.
#include "app/COrvBleDemoApp.h"
#include "platform/ui/CmdUI.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <optional>

namespace {

class CommandsTest : public MainFrameFixture {
protected:
    // The update handler's verdict on command id, as the ribbon, a menu or an accelerator sees it.
    platform::CmdUI Update(UINT id) const {
        platform::CmdUI ui(id);
        m_frame->Commands().runUpdate(ui);
        return ui;
    }
};

struct UpdateRow {
    const char* name;
    std::function<void()> setUp; // from a started window listing the paired "Keys" and the found "Pulse"
    UINT id;
    bool enabled;
    std::optional<QString> text = std::nullopt;
    std::optional<int> check = std::nullopt;
};

TEST_F(CommandsTest, UpdateRulesEnableAndRefuseCommandsByState) {
    const auto keysConnected = [this] { Select(0), ConnectPeer(); };
    const auto pulseSelected = [&] { keysConnected(), Select(1); };
    const auto run = [this](UINT id) { return [this, id] { m_frame->ExecuteCommand(id); }; };
    const UpdateRow rows[] = {
        {"nothing selected", [] {}, ID_CONNECT, false, "Connect to device"},
        {"a device selected", [this] { Select(1); }, ID_CONNECT, true, "Connect to device"},
        {"connecting", [&] { Select(1), run(ID_CONNECT)(); }, ID_CONNECT, false},
        {"connected", keysConnected, ID_CONNECT, true, "Disconnect"},
        {"connected, another selected", pulseSelected, ID_CONNECT, false, "Connect to device"},
        {"parameters, connected", keysConnected, ID_UPDATE_PARAMETERS, true},
        {"parameters, another selected", pulseSelected, ID_UPDATE_PARAMETERS, false},
        {"discover, idle", [] {}, ID_DISCOVER, true, std::nullopt, 0},
        {"discover, searching", run(ID_DISCOVER), ID_DISCOVER, true, std::nullopt, 1},
        {"discover, stopping", [&] { run(ID_DISCOVER)(), run(ID_DISCOVER)(); }, ID_DISCOVER, false},
        {"discover, connected", keysConnected, ID_DISCOVER, false},
        {"rename, connected", keysConnected, ID_RENAME_DEVICE, true},
        {"rename, read-only name", [this] { Select(0), ConnectPeer(kReadOnly); }, ID_RENAME_DEVICE, false},
        {"rename, another selected", pulseSelected, ID_RENAME_DEVICE, false},
        {"pairing, unpaired selected", [this] { Select(1); }, ID_REMOVE_PAIRING, false, "Pair"},
        {"pairing, paired selected", [this] { Select(0); }, ID_REMOVE_PAIRING, true, "Remove pairing"},
        {"connect, removing", [&] { Select(0), run(ID_REMOVE_PAIRING)(); }, ID_CONNECT, false},
        {"quick connect off", run(ID_QUICK_CONNECT), ID_QUICK_CONNECT, true, std::nullopt, 0},
        {"accept updates off", run(ID_ACCEPT_UPDATES), ID_ACCEPT_UPDATES, true, std::nullopt, 0},
        {"random address", [] {}, ID_RANDOM_ADDRESS, false, std::nullopt, 0},
        {"MITM on", run(ID_ENABLE_MITM), ID_ENABLE_MITM, true, std::nullopt, 1},
    };
    for (const UpdateRow& row : rows) {
        SCOPED_TRACE(row.name);
        NewFrame();
        StartUp({PairedDevice(1, "Keys")});
        Discover({{2, "Pulse"}});
        row.setUp();
        const platform::CmdUI ui = Update(row.id);
        EXPECT_EQ(ui.enabled().value_or(true), row.enabled);
        EXPECT_EQ(ui.text(), row.text ? row.text : ui.text());
        EXPECT_EQ(ui.check(), row.check ? row.check : ui.check());
        EXPECT_TRUE(row.enabled || !m_frame->ExecuteCommand(row.id)) << "a disabled command ran";
    }
}

TEST_F(CommandsTest, ParameterEditsReadDecimalTextTruncatedToSixteenBitsAndTakeOnlyDigitsAndEditingKeys) {
    EXPECT_EQ(Edits(), (std::vector<int>{400, 400, 4, 1000}));
    SetEdits({"abc", "12x", "-1", "70000"});
    EXPECT_EQ(Edits(), (std::vector<int>{0, 12, 65535, 4464}));
    m_frame->OnRemoteConnectionParameters(6, 12, 2, 300);
    EXPECT_EQ(Edits(), (std::vector<int>{6, 12, 2, 300}));
    for (const int key :
         {Qt::Key_0, Qt::Key_9, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Right})
        EXPECT_TRUE(CMainFrame::IsParameterEditKey(key, Qt::NoModifier)) << key;
    EXPECT_TRUE(CMainFrame::IsParameterEditKey(Qt::Key_Backtab, Qt::ShiftModifier));
    for (const int key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Up, Qt::Key_Space})
        EXPECT_FALSE(CMainFrame::IsParameterEditKey(key, Qt::NoModifier)) << key;
    EXPECT_FALSE(CMainFrame::IsParameterEditKey(Qt::Key_5, Qt::KeypadModifier));
}

TEST_F(CommandsTest, TheDebugSwitchIsStoredAndAsksForARestart) {
    COrvBleDemoApp app; // gives the command its settings key
    ASSERT_EQ(app.InitInstance(), TRUE);
    for (const DWORD expected : {1u, 0u}) {
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_ENABLE_LOG));
        DWORD stored = 99;
        m_settings->queryDword(app.SettingsKeyPath() + "\\Settings", QStringLiteral("Debug"), &stored);
        EXPECT_EQ(stored, expected);
        EXPECT_EQ(Update(ID_ENABLE_LOG).check(), static_cast<int>(expected));
    }
    EXPECT_EQ(PromptTexts(),
              std::vector<QString>(
                  2, "You need to restart application in order to apply the changes in debug settings."));
    app.ExitInstance();
}

} // namespace
