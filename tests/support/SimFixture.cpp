#include "support/SimFixture.h"

#include "panes/CViewTree.h"
#include "platform/WindowMessages.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

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

std::string SimFixture::WorldOf(const std::string& peers, uint32_t seed) {
    return R"({"seed": )" + std::to_string(seed) + R"(, "peers": [)" + peers + "]}";
}

CMainFrame* SimFixture::Start() {
    m_app = std::make_unique<COrvBleDemoApp>();
    if (!m_app->InitInstance())
        return nullptr;
    Advance(1000);
    return m_app->MainFrame();
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

bool SimFixture::Select(const QString& text) {
    const CDeviceView* view = Frame()->DeviceView();
    for (const QTreeWidgetItem* group :
         {view->PairedGroup(), view->ConnectedGroup(), view->DiscoveredGroup()})
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->text(0) == text) {
                view->Tree()->setCurrentItem(group->child(i));
                return true;
            }
    return false;
}

BleDeviceRecord* SimFixture::Connect(uint64_t ms) {
    Frame()->ExecuteCommand(ID_CONNECT);
    Advance(ms);
    const int index = Frame()->ConnectedDeviceIndex();
    BleDeviceRecord* record =
        index < 0 ? nullptr : Frame()->DeviceList().at(static_cast<size_t>(index)).get();
    return record && record->connected ? record : nullptr;
}

BleDeviceRecord* SimFixture::ConnectedWorld(const std::string& peers, const QString& text) {
    LoadWorld(peers.empty() ? std::string() : WorldOf(peers));
    if (!Start())
        return nullptr;
    Discover();
    BleDeviceRecord* record = Select(text) ? Connect() : nullptr;
    EXPECT_NE(record, nullptr) << "not connected to " << text.toStdString();
    return record;
}

bool SimFixture::EveryRecordGivenBack() {
    return orv::sim::liveRecordCount() == 0 && orv::sim::unknownFreeCount() == 0;
}
