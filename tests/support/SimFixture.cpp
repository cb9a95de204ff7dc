#include "support/SimFixture.h"

#include "support/VirtualTime.h"

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
    EnvironmentFixture::SetUp();
    platform::installHostPlatformHooks();
    orv::sim::setBondStorePath(m_dir->filePath(QStringLiteral("bonds.json")).toStdString());
    LoadWorld();
}

void SimFixture::TearDown() {
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    orv::sim::setBondStorePath(std::string());
    EnvironmentFixture::TearDown();
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
    AdvanceVirtualTime(ms);
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
