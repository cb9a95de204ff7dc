#include "SimulatedApplication.h"

#include "support/VirtualTime.h"

#include "app/CRegistrySettings.h"
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CViewTree.h"
#include "platform/StringTable.h"
#include "platform/TimerClock.h"
#include "platform/WindowMessages.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonEdit.h"
#include "res/StringTable.h"
#include "res/resource.h"
#include "veyrasim.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidgetItem>
#include <algorithm>

namespace {

QTreeWidgetItem* FindRow(const CDeviceView& view, const QString& text) {
    for (QTreeWidgetItem* group : {view.PairedGroup(), view.ConnectedGroup(), view.DiscoveredGroup()})
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->text(0) == text)
                return group->child(i);
    return nullptr;
}

} // namespace

SimulatedApplication::SimulatedApplication(const std::string& worldJson) {
    if (!m_dir.isValid()) {
        Fail("no temporary directory");
        return;
    }
    m_previousTmp = qgetenv("TMPDIR");
    m_previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", m_dir.path().toUtf8());
    QDir(m_dir.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_dir.filePath(QStringLiteral("runtime")).toUtf8());
    m_previousDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir.path());

    platform::installStringTable(applicationStrings());
    platform::installHostPlatformHooks();
    platform::TimerClock::useVirtualTime(true);
    m_settings = std::make_unique<platform::SettingsStore>(m_dir.filePath(QStringLiteral("settings.json")));
    platform::setSettingsStore(m_settings.get());
    platform::setPrompter(&m_prompter);
    orv::sim::setBondStorePath(m_dir.filePath(QStringLiteral("bonds.json")).toStdString());

    std::string error;
    if (!orv::sim::loadWorldJson(worldJson, &error)) {
        Fail("world: " + error);
        return;
    }
    m_app = std::make_unique<COrvBleDemoApp>();
    if (!m_app->InitInstance() || !m_app->MainFrame()) {
        Fail("the application did not start");
        return;
    }
    Advance(1000);
}

SimulatedApplication::~SimulatedApplication() {
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    QCoreApplication::processEvents();
    CRegistrySettings::Destroy();
    orv::sim::setBondStorePath(std::string());
    platform::setPrompter(nullptr);
    platform::setSettingsStore(nullptr);
    platform::TimerClock::useVirtualTime(false);
    if (!m_previousDirectory.isEmpty())
        QDir::setCurrent(m_previousDirectory);
    qputenv("TMPDIR", m_previousTmp);
    qputenv("XDG_RUNTIME_DIR", m_previousRuntime);
}

CMainFrame* SimulatedApplication::Frame() const {
    return m_app ? m_app->MainFrame() : nullptr;
}

bool SimulatedApplication::Fail(const std::string& error) {
    if (m_error.empty())
        m_error = error;
    return false;
}

void SimulatedApplication::Advance(uint64_t ms) {
    AdvanceVirtualTime(ms);
}

void SimulatedApplication::Deliver(uint64_t ms) {
    orv::sim::advance(ms);
    if (!m_wallClock.isValid()) {
        m_wallClock.start();
        m_timersAtStart = platform::TimerClock::now();
    }
    platform::TimerClock::advanceTo(m_timersAtStart + static_cast<uint64_t>(m_wallClock.elapsed()));
    QCoreApplication::processEvents();
}

bool SimulatedApplication::Connect(const QString& text) {
    CMainFrame* frame = Frame();
    if (!frame)
        return Fail("no main window");
    frame->ExecuteCommand(ID_DISCOVER);
    Advance(2000);
    frame->ExecuteCommand(ID_DISCOVER);
    Advance(100);
    QTreeWidgetItem* row = FindRow(*frame->DeviceView(), text);
    if (!row)
        return Fail("no device row " + text.toStdString());
    frame->DeviceView()->Tree()->setCurrentItem(row);
    if (!frame->ExecuteCommand(ID_CONNECT))
        return Fail("connect refused");
    Advance(3000);
    const int index = frame->ConnectedDeviceIndex();
    if (index < 0 || !frame->DeviceList().at(static_cast<size_t>(index))->connected)
        return Fail("not connected to " + text.toStdString());
    return true;
}

void SimulatedApplication::SetConnectionParameters(uint16_t min, uint16_t max, uint16_t latency,
                                                   uint16_t timeout) {
    const std::pair<UINT, uint16_t> edits[] = {
        {ID_PARAM_MIN, min}, {ID_PARAM_MAX, max}, {ID_PARAM_LATENCY, latency}, {ID_PARAM_TIMEOUT, timeout}};
    for (const auto& [id, value] : edits)
        if (auto* edit = qobject_cast<platform::RibbonEdit*>(Frame()->RibbonBar()->findById(id)))
            edit->setEditText(QString::number(value));
}
