// End-to-end environment: the application objects on the real host library and the simulated dongle,
// with virtual time driving both the simulator and the window timers.
#pragma once

#include "app/COrvBleDemoApp.h"
#include "support/EnvironmentFixture.h"

#include <QStringList>
#include <memory>
#include <string>

class BleDeviceRecord;
class QTreeWidgetItem;

class SimFixture : public EnvironmentFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a world; an empty text loads the built-in world.
    void LoadWorld(const std::string& json = std::string());
    // Runs the application's start-up and lets the host report it.
    CMainFrame* Start();
    // Advances the simulator and the window timers together by ms, delivering every posted event.
    void Advance(uint64_t ms);

    // A world of these peers (JSON objects, comma-separated) with a present dongle.
    static std::string WorldOf(const std::string& peers, uint32_t seed = 5);
    // Exits the application and starts it again on the same world, settings and bond store.
    CMainFrame* Restart();
    // The Discover command, a search of ms virtual milliseconds, Discover again and the search's end.
    void Discover(uint64_t ms = 2000);
    // The row showing text, in any group; nullptr when there is none.
    QTreeWidgetItem* Row(const QString& text) const;
    // The texts of a group's rows (placeholders included), in order.
    static QStringList RowTexts(const QTreeWidgetItem* group);
    // Makes the row showing text the selected one; false when there is no such row.
    bool Select(const QString& text);
    // The connected world in one line: loads a world of peers, starts, discovers, selects the row
    // showing text, connects it and lets the first reads finish. The connected record, or nullptr
    // (with a test failure) when any step fails.
    BleDeviceRecord* ConnectedWorld(const std::string& peers, const QString& text);
    // Connect (command 311) on the selected row, then ms of virtual time.
    BleDeviceRecord* Connect(uint64_t ms = 3000);
    QString StatusText() const;
    bool LogContains(const QString& text) const;
    // Every event record the host library handed out has been given back exactly once.
    static bool EveryRecordGivenBack();
    CMainFrame* Frame() const;

    std::unique_ptr<COrvBleDemoApp> m_app;
};
