// Start-up: dongle checks, host-library initialisation, single instance, settings key, version string.
#include "app/COrvBleDemoApp.h"
#include "app/DongleDetection.h"
#include "app/SimulatedWorld.h"
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/StringTable.h"
#include "platform/VersionInfo.h"
#include "platform/WindowMessages.h"
#include "res/resource.h"
#include "support/AppFixture.h"

#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

namespace {

using StartupTest = AppFixture;

TEST_F(StartupTest, FailuresShowTheirMessageAndDeinitialiseOnlyAfterASuccessfulInit) {
    struct Case {
        const char* dongle;
        uint32_t initResult;
        int startWndResult;
        QString message; // empty: start-up succeeds
        bool initialised;
    };
    const Case cases[] = {
        {R"({"present": false})", 0xC123, 1, platform::LoadString(IDS_DONGLE_NOT_FOUND), false},
        {R"({"driver": false})", 0xC123, 1, platform::LoadString(IDS_DRIVER_NOT_INSTALLED), false},
        {R"({"busy": true})", 0xC123, 1, platform::LoadString(IDS_DONGLE_BUSY), false},
        {"{}", 0, 1, QStringLiteral("Unable to initialize BLE client."), false},
        {"{}", 0xC123, 0, QStringLiteral("Unable to start BLE client"), true},
        {"{}", 0xC123, 1, QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        LoadWorld(WorldWithDongle(c.dongle));
        m_prompter.prompts.clear();
        m_host->calls.clear();
        m_host->initResult = c.initResult;
        m_host->startWndResult = c.startWndResult;
        COrvBleDemoApp app;
        EXPECT_EQ(app.InitInstance(), c.message.isEmpty() ? TRUE : FALSE);
        EXPECT_EQ(PromptTexts(),
                  c.message.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.message});
        EXPECT_EQ(app.IsHostInitialised(), c.initialised);
        EXPECT_EQ(m_host->count("OrvBleHostInit"), c.dongle == std::string("{}") ? 1u : 0u);
        if (c.message.isEmpty()) {
            EXPECT_EQ(m_host->startedWindow, app.MainFrame()->GetSafeHwnd());
            EXPECT_TRUE(app.MainFrame()->isVisible());
            EXPECT_FALSE(app.MainFrame()->ProgressWindow()->windowHandle()->icon().isNull());
            EXPECT_EQ(HostEventMessage(), 0xC123u);
            EXPECT_EQ(app.SettingsKeyPath(), QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3"));
        }
        app.ExitInstance();
        EXPECT_EQ(m_host->count("OrvBleHostDeinit"), c.initialised ? 1u : 0u);
    }
}

TEST_F(StartupTest, ARefusedWorldIsShownInAMessageBoxAsWell) {
    ::setenv("TINDREL_SIM_WORLD", "/nonexistent/world.json", 1);
    EXPECT_FALSE(LoadSimulatedWorld());
    ::unsetenv("TINDREL_SIM_WORLD");
    EXPECT_EQ(PromptTexts(),
              std::vector<QString>{QStringLiteral(
                  "Cannot load the simulated world: cannot read world file /nonexistent/world.json")});
    EXPECT_EQ(m_prompter.prompts.at(0).caption, QStringLiteral("Tindrel"));
}

TEST_F(StartupTest, ASecondInstanceSaysSoAndBringsTheFirstBackAsItWasWithoutTouchingTheDongle) {
    COrvBleDemoApp first;
    ASSERT_EQ(first.InitInstance(), TRUE);
    first.MainFrame()->showMaximized();
    first.MainFrame()->showMinimized();
    m_host->calls.clear();
    COrvBleDemoApp second;
    EXPECT_EQ(second.InitInstance(), FALSE);
    EXPECT_EQ(PromptTexts(), std::vector<QString>{platform::LoadString(IDS_ALREADY_RUNNING)});
    EXPECT_TRUE(m_host->calls.empty());
    second.ExitInstance();
    // The request travels over a local socket: wait for the window's state to change.
    QEventLoop loop;
    QObject::connect(first.MainFrame()->windowHandle(), &QWindow::windowStateChanged, &loop,
                     &QEventLoop::quit);
    bool timedOut = false;
    QTimer::singleShot(10000, &loop, [&] { timedOut = true, loop.quit(); }); // only a failing test waits
    while (first.MainFrame()->isMinimized() && !timedOut)
        loop.exec();
    EXPECT_TRUE(first.MainFrame()->isMaximized() && !first.MainFrame()->isMinimized());
    first.ExitInstance();
}

TEST_F(StartupTest, TheDebugSwitchIsOnOnlyForOne) {
    const std::pair<std::optional<DWORD>, bool> cases[] = {
        {1, true}, {2, false}, {0, false}, {std::nullopt, false}};
    for (const auto& [stored, debug] : cases) {
        m_settings->deleteTree(QStringLiteral("Software"));
        if (stored) {
            const QString key = QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3\\Settings");
            m_settings->createKey(key);
            m_settings->setDword(key, QStringLiteral("Debug"), *stored);
        }
        m_host->calls.clear();
        COrvBleDemoApp app;
        ASSERT_EQ(app.InitInstance(), TRUE);
        EXPECT_EQ(m_host->callsNamed("OrvBleHostInit").at(0).args, (std::vector<int64_t>{debug, 0}));
        EXPECT_EQ(app.MainFrame()->HostDebugLogging(), debug);
        app.ExitInstance();
    }
}

TEST_F(StartupTest, AnUnreadableVersionSaysWhyAndLeavesNoVersionLevelInTheSettingsKey) {
    platform::VersionBlock two;
    two.translations = {{0x0409, 0x04b0}, {0x0407, 0x04b0}};
    const std::pair<std::optional<platform::VersionBlock>, QString> cases[] = {
        {std::nullopt, "Function <GetFileVersionInfoSize> unsuccessful!"},
        {two, "Error! Languages number: 2."}};
    for (const auto& [block, message] : cases) {
        platform::setVersionInfoProvider([&block = block](const QString&) { return block; });
        m_prompter.prompts.clear();
        COrvBleDemoApp app;
        ASSERT_EQ(app.InitInstance(), TRUE);
        EXPECT_EQ(PromptTexts().at(0), message);
        EXPECT_EQ(app.SettingsKeyPath(), QStringLiteral("Software\\Orvane\\Tindrel"));
        app.ExitInstance();
    }
    platform::setVersionInfoProvider({});
}

TEST(FindDongleTest, TheFirstHardwareIdNamesTheDongleAndTheLastOneWithTheDriverIsTaken) {
    using Usb = platform::UsbDeviceInfo;
    const Usb mouse{{"USB\\VID_046D&PID_C52B"}, "usbhid", "mouse"};
    const Usb bare{{"USB\\VID_2F1E&PID_0001&REV_0100"}, "", "bare"};
    const Usb driven{{"USB\\VID_2F1E&PID_0001&REV_0200"}, "OrvBC", "driven"};
    const Usb secondId{{"USB\\VID_2F1E&PID_0002", "vid_2f1e&pid_0001"}, "orvbc", "second"};
    const std::tuple<std::vector<Usb>, DongleState, QString> cases[] = {
        {{mouse, bare, driven, bare}, DongleState::Ready, "driven"},
        {{driven, {{"usb\\vid_2f1e&pid_0001"}, "orvbc", "later"}}, DongleState::Ready, "later"},
        {{mouse, bare}, DongleState::NoDriver, ""},
        {{mouse, secondId}, DongleState::Absent, ""},
    };
    for (const auto& [devices, state, path] : cases) {
        Usb found;
        EXPECT_EQ(FindDongle(devices, &found), state) << path.toStdString();
        EXPECT_EQ(found.interfacePath, path);
    }
}

} // namespace
