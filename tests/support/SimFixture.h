// End-to-end environment: the application objects on the real host library and the simulated dongle,
// with virtual time driving both the simulator and the window timers.
#pragma once

#include "app/COrvBleDemoApp.h"
#include "mainframe/CMainFrame.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "support/EnvironmentFixture.h"

#include <QStringList>
#include <memory>
#include <string>

class BleDeviceRecord;

class SimFixture : public EnvironmentFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A world of these peers (JSON objects, comma-separated) with a present dongle.
    static std::string WorldOf(const std::string& peers, uint32_t seed = 5);
    // Runs the application's start-up and lets the host report it.
    CMainFrame* Start();
    // Exits the application and starts it again on the same world, settings and bond store.
    CMainFrame* Restart();

    // The Discover command, a search of ms virtual milliseconds, Discover again and the search's end.
    void Discover(uint64_t ms = 2000);
    // Makes the row showing text the selected one; false when there is no such row.
    bool Select(const QString& text);
    // Connect (command 311) on the selected row, then ms of virtual time; the connected record.
    BleDeviceRecord* Connect(uint64_t ms = 3000);
    // The connected world in one line: loads a world of peers (the built-in one when empty), starts,
    // searches, connects the row showing text and lets the first reads finish. The connected record,
    // or nullptr (with a test failure) when a step fails.
    BleDeviceRecord* ConnectedWorld(const std::string& peers, const QString& text);
    // The same, returning the profile window that accessor (&CMainFrame::HeartRateWindow, ...) gives.
    template <class Window>
    Window* ConnectedWindow(const std::string& peers, const QString& text,
                            Window* (CMainFrame::*window)() const) {
        Window* open = ConnectedWorld(peers, text) ? (Frame()->*window)() : nullptr;
        EXPECT_NE(open, nullptr) << "no profile window for " << text.toStdString();
        return open;
    }

    CMainFrame* Frame() const { return m_app ? m_app->MainFrame() : nullptr; }
    QStringList Paired() const { return RowTexts(Frame()->DeviceView()->PairedGroup()); }
    QStringList Connected() const { return RowTexts(Frame()->DeviceView()->ConnectedGroup()); }
    QStringList Discovered() const { return RowTexts(Frame()->DeviceView()->DiscoveredGroup()); }
    QString StatusText() const { return Frame()->StatusText(); }
    qsizetype LogCount(const QString& text) const { return Frame()->LogWindow()->WindowText().count(text); }
    // Every event record the host library handed out has been given back exactly once.
    static bool EveryRecordGivenBack();

    std::unique_ptr<COrvBleDemoApp> m_app;
};
