// Start-up: dongle checks, host-library initialisation, single instance, settings key, version string.
#include "app/COrvBleDemoApp.h"
#include "app/DongleDetection.h"
#include "mainframe/CMainFrame.h"
#include "platform/SingleInstance.h"
#include "platform/StringTable.h"
#include "platform/VersionInfo.h"
#include "platform/WindowMessages.h"
#include "res/resource.h"
#include "support/AppFixture.h"

#include <QCoreApplication>

namespace {

class StartupTest : public AppFixture {};

struct StartupCase {
    const char* name;
    std::string dongle;
    uint32_t initResult;
    int startWndResult;
    QString message; // empty: start-up succeeds
    bool hostInitialised;
};

QString Text(UINT id) {
    return platform::LoadString(id);
}

TEST_F(StartupTest, FailureMatrixShowsTheMessageAndDeinitialisesOnlyAfterASuccessfulInit) {
    const std::vector<StartupCase> cases = {
        {"absent", R"({"present": false})", 0xC123, 1, Text(IDS_DONGLE_NOT_FOUND), false},
        {"no driver", R"({"driver": false})", 0xC123, 1, Text(IDS_DRIVER_NOT_INSTALLED), false},
        {"busy", R"({"busy": true})", 0xC123, 1, Text(IDS_DONGLE_BUSY), false},
        {"init fails", "{}", 0, 1, QStringLiteral("Unable to initialize BLE client."), false},
        {"start fails", "{}", 0xC123, 0, QStringLiteral("Unable to start BLE client"), true},
        {"all well", "{}", 0xC123, 1, QString(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadWorld(WorldWithDongle(c.dongle));
        m_prompter.prompts.clear();
        m_host->calls.clear();
        m_host->initResult = c.initResult;
        m_host->startWndResult = c.startWndResult;

        COrvBleDemoApp app;
        const BOOL started = app.InitInstance();
        EXPECT_EQ(started, c.message.isEmpty() ? TRUE : FALSE);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(m_prompter.prompts.empty());
        } else {
            ASSERT_EQ(m_prompter.prompts.size(), 1u);
            EXPECT_EQ(m_prompter.prompts[0].text, c.message);
        }
        EXPECT_EQ(app.IsHostInitialised(), c.hostInitialised);
        EXPECT_EQ(m_host->count("OrvBleHostInit"), c.dongle == "{}" ? 1u : 0u);

        app.ExitInstance();
        EXPECT_EQ(m_host->count("OrvBleHostDeinit"), c.hostInitialised ? 1u : 0u);
        EXPECT_FALSE(app.IsHostInitialised());
    }
}

TEST_F(StartupTest, SuccessfulStartHandsTheMainWindowToTheHostAndShowsIt) {
    COrvBleDemoApp app;
    ASSERT_EQ(app.InitInstance(), TRUE);
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_EQ(m_host->startedWindow, app.MainFrame()->GetSafeHwnd());
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(app.MainFrame()->windowTitle(), QStringLiteral("Tindrel"));
    EXPECT_EQ(HostEventMessage(), 0xC123u);
    const auto init = m_host->callsNamed("OrvBleHostInit");
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].args, (std::vector<int64_t>{0, 0}));
    app.ExitInstance();
}

TEST_F(StartupTest, SecondInstanceShowsMessageAsksTheFirstToActivateAndTouchesNoDongle) {
    COrvBleDemoApp first;
    ASSERT_EQ(first.InitInstance(), TRUE);
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_FALSE(first.MainFrame()->isActiveWindow());
    m_host->calls.clear();

    COrvBleDemoApp second;
    EXPECT_EQ(second.InitInstance(), FALSE);
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, Text(IDS_ALREADY_RUNNING));
    EXPECT_TRUE(m_host->calls.empty());
    second.ExitInstance();

    for (int i = 0; i < 100 && !first.MainFrame()->isActiveWindow(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(first.MainFrame()->isActiveWindow());
    first.ExitInstance();
}

TEST_F(StartupTest, DebugSwitchIsOnOnlyForOne) {
    struct Case {
        std::optional<uint32_t> stored;
        bool debug;
    };
    for (const Case& c : {Case{1u, true}, Case{2u, false}, Case{0u, false}, Case{std::nullopt, false}}) {
        SCOPED_TRACE(c.stored ? int(*c.stored) : -1);
        m_settings->deleteTree(QStringLiteral("Software"));
        if (c.stored) {
            const QString key = QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3\\Settings");
            m_settings->createKey(key);
            m_settings->setDword(key, QStringLiteral("Debug"), *c.stored);
        }
        m_host->calls.clear();
        COrvBleDemoApp app;
        ASSERT_EQ(app.InitInstance(), TRUE);
        EXPECT_EQ(m_host->callsNamed("OrvBleHostInit").at(0).args.at(0), c.debug ? 1 : 0);
        EXPECT_EQ(app.MainFrame()->HostDebugLogging(), c.debug);
        app.ExitInstance();
    }
}

TEST_F(StartupTest, SettingsKeyCarriesTheFileVersion) {
    COrvBleDemoApp app;
    ASSERT_EQ(app.InitInstance(), TRUE);
    EXPECT_EQ(app.SettingsKeyPath(), QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3"));
    app.ExitInstance();
}

TEST_F(StartupTest, VersionStringTurnsCommasIntoDots) {
    QString version;
    EXPECT_TRUE(COrvBleDemoApp::GetFileVersionString(QCoreApplication::applicationFilePath(),
                                                     QStringLiteral("FileVersion"), version));
    EXPECT_EQ(version, QStringLiteral("2.6.0.3"));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(StartupTest, UnreadableVersionBlocksShowTheirMessageAndLeaveNoVersionLevel) {
    using Block = platform::VersionBlock;
    Block two;
    two.translations = {{0x0409, 0x04b0}, {0x0407, 0x04b0}};
    two.strings[QStringLiteral("\\StringFileInfo\\040904b0\\FileVersion")] = QStringLiteral("2, 6, 0, 3");
    Block missingString;
    missingString.translations = {{0x0409, 0x04b0}};
    struct Case {
        std::optional<Block> block;
        QString message;
    };
    const std::vector<Case> cases = {
        {std::nullopt, QStringLiteral("Function <GetFileVersionInfoSize> unsuccessful!")},
        {two, QStringLiteral("Error! Languages number: 2.")},
        {missingString,
         QStringLiteral("Function <VerQueryValue> for StringFileInfo for 1 th language unsuccessful!")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        platform::setVersionInfoProvider([&c](const QString&) { return c.block; });
        m_prompter.prompts.clear();
        COrvBleDemoApp app;
        ASSERT_EQ(app.InitInstance(), TRUE);
        ASSERT_FALSE(m_prompter.prompts.empty());
        EXPECT_EQ(m_prompter.prompts[0].text, c.message);
        EXPECT_EQ(app.SettingsKeyPath(), QStringLiteral("Software\\Orvane\\Tindrel"));
        app.ExitInstance();
    }
    platform::setVersionInfoProvider({});
}

platform::UsbDeviceInfo Usb(const QString& id, const QString& service, const QString& path) {
    return {QStringList{id}, service, path};
}

TEST(FindDongleTest, MatchesTheFirstHardwareIdAndTakesTheLastDeviceWithTheDriver) {
    const std::vector<platform::UsbDeviceInfo> set = {
        Usb(QStringLiteral("USB\\VID_046D&PID_C52B"), QStringLiteral("usbhid"), QStringLiteral("mouse")),
        Usb(QStringLiteral("USB\\VID_2F1E&PID_0001&REV_0100"), QString(), QStringLiteral("first")),
        Usb(QStringLiteral("USB\\VID_2F1E&PID_0001&REV_0200"), QStringLiteral("OrvBC"),
            QStringLiteral("second")),
    };
    bool driver = false;
    platform::UsbDeviceInfo device;
    EXPECT_TRUE(FindDongle(set, &driver, &device));
    EXPECT_TRUE(driver);
    EXPECT_EQ(device.interfacePath, QStringLiteral("second"));

    driver = false;
    EXPECT_TRUE(FindDongle({set[1]}, &driver, &device));
    EXPECT_FALSE(driver);
    EXPECT_FALSE(FindDongle({set[0]}, &driver, &device));
    EXPECT_FALSE(FindDongle(
        {{QStringList{QStringLiteral("USB\\VID_2F1E&PID_0002"), QStringLiteral("vid_2f1e&pid_0001")},
          QStringLiteral("orvbc"), QStringLiteral("x")}},
        &driver, &device));
}

} // namespace
