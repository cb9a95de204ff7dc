#include "support/SimFixture.h"

#include "app/CRegistrySettings.h"
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CViewTree.h"
#include "platform/DeviceNotifications.h"
#include "platform/StringTable.h"
#include "platform/TimerClock.h"
#include "platform/WindowMessages.h"
#include "res/StringTable.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QDir>
#include <QStatusBar>
#include <QTreeWidgetItem>
#include <algorithm>

void SimFixture::SetUp() {
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    m_previousTmp = qgetenv("TMPDIR");
    m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", m_dir->path().toUtf8());
    QDir(m_dir->path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_dir->filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_dir->filePath(QStringLiteral("runtime")).toUtf8());
    m_previousDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir->path());

    platform::installStringTable(applicationStrings());
    platform::installHostPlatformHooks();
    platform::TimerClock::useVirtualTime(true);
    m_settings = std::make_unique<platform::SettingsStore>(m_dir->filePath(QStringLiteral("settings.json")));
    platform::setSettingsStore(m_settings.get());
    platform::setPrompter(&m_prompter);
    CRegistrySettings::Destroy();
    orv::sim::setBondStorePath(m_dir->filePath(QStringLiteral("bonds.json")).toStdString());
    LoadWorld();
}

void SimFixture::TearDown() {
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    QCoreApplication::processEvents();
    CRegistrySettings::Destroy();
    orv::sim::setBondStorePath(std::string());
    platform::setPrompter(nullptr);
    platform::setSettingsStore(nullptr);
    platform::TimerClock::useVirtualTime(false);
    QDir::setCurrent(m_previousDirectory);
    qputenv("TMPDIR", m_previousTmp);
    qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
}

void SimFixture::LoadWorld(const std::string& json) {
    std::string error;
    const bool loaded = json.empty() ? orv::sim::loadWorldJson(orv::sim::builtInWorldJson(), &error)
                                     : orv::sim::loadWorldJson(json, &error);
    ASSERT_TRUE(loaded) << error;
}

CMainFrame* SimFixture::Start() {
    m_app = std::make_unique<COrvBleDemoApp>();
    if (!m_app->InitInstance())
        return nullptr;
    Advance(1000);
    return m_app->MainFrame();
}

void SimFixture::Advance(uint64_t ms) {
    uint64_t remaining = ms;
    for (;;) {
        QCoreApplication::processEvents();
        uint64_t step = remaining;
        if (const auto due = orv::sim::nextDueTime())
            step = std::min(step, *due > orv::sim::now() ? *due - orv::sim::now() : 0);
        if (const auto due = platform::TimerClock::nextDueTime())
            step =
                std::min(step, *due > platform::TimerClock::now() ? *due - platform::TimerClock::now() : 0);
        orv::sim::advance(step);
        platform::TimerClock::advance(step);
        QCoreApplication::processEvents();
        remaining -= step;
        if (remaining == 0)
            break;
    }
    QCoreApplication::processEvents();
}

std::vector<QString> SimFixture::PromptTexts() const {
    std::vector<QString> texts;
    for (const auto& prompt : m_prompter.prompts)
        texts.push_back(prompt.text);
    return texts;
}

std::string SimFixture::WorldOf(const std::string& peers, uint32_t seed) {
    return R"({"seed": )" + std::to_string(seed) + R"(, "peers": [)" + peers + "]}";
}

CMainFrame* SimFixture::Restart() {
    m_app->ExitInstance();
    m_app.reset();
    QCoreApplication::processEvents();
    return Start();
}

void SimFixture::Discover(uint64_t ms) {
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(ms);
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_DISCOVER));
    Advance(100);
}

QTreeWidgetItem* SimFixture::Row(const QString& text) const {
    const CDeviceView* view = Frame()->DeviceView();
    for (const QTreeWidgetItem* group :
         {view->PairedGroup(), view->ConnectedGroup(), view->DiscoveredGroup()})
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->text(0) == text)
                return group->child(i);
    return nullptr;
}

QStringList SimFixture::RowTexts(const QTreeWidgetItem* group) {
    QStringList texts;
    for (int i = 0; i < group->childCount(); ++i)
        texts << group->child(i)->text(0);
    return texts;
}

bool SimFixture::Select(const QString& text) {
    QTreeWidgetItem* row = Row(text);
    if (!row)
        return false;
    Frame()->DeviceView()->Tree()->setCurrentItem(row);
    return true;
}

BleDeviceRecord* SimFixture::ConnectedWorld(const std::string& peers, const QString& text) {
    LoadWorld(WorldOf(peers));
    if (!Start()) {
        ADD_FAILURE() << "the application did not start";
        return nullptr;
    }
    Discover();
    if (!Select(text)) {
        ADD_FAILURE() << "no row " << text.toStdString();
        return nullptr;
    }
    BleDeviceRecord* record = Connect();
    if (!record)
        ADD_FAILURE() << "not connected to " << text.toStdString();
    return record;
}

BleDeviceRecord* SimFixture::Connect(uint64_t ms) {
    Frame()->ExecuteCommand(ID_CONNECT);
    Advance(ms);
    const int index = Frame()->ConnectedDeviceIndex();
    if (index < 0)
        return nullptr;
    BleDeviceRecord* record = Frame()->DeviceList().at(static_cast<size_t>(index)).get();
    return record->connected ? record : nullptr;
}

QString SimFixture::StatusText() const {
    return Frame()->StatusText();
}

bool SimFixture::LogContains(const QString& text) const {
    return Frame()->LogWindow()->WindowText().contains(text);
}

bool SimFixture::EveryRecordGivenBack() {
    return orv::sim::liveRecordCount() == 0 && orv::sim::unknownFreeCount() == 0;
}

CMainFrame* SimFixture::Frame() const {
    return m_app ? m_app->MainFrame() : nullptr;
}
