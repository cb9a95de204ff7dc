// The application objects on the real host library and the simulated dongle, on virtual time, for
// benchmarks: the same environment as the end-to-end tests, without a test framework.
#pragma once

#include "app/COrvBleDemoApp.h"
#include "platform/SettingsStore.h"
#include "support/RecordingPrompter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

class CMainFrame;

class SimulatedApplication {
public:
    // Settings, lock and log files go to a private temporary directory; the world is loaded and the
    // application started. Check Error() before use.
    explicit SimulatedApplication(const std::string& worldJson);
    ~SimulatedApplication();
    SimulatedApplication(const SimulatedApplication&) = delete;
    SimulatedApplication& operator=(const SimulatedApplication&) = delete;

    // Empty while everything so far worked.
    const std::string& Error() const { return m_error; }
    CMainFrame* Frame() const;

    // Advances the simulator and the window timers together by ms, delivering every posted event.
    void Advance(uint64_t ms);
    // Advances only the simulator by ms, then lets the event loop deliver what it posted in one pass.
    // The window timers follow the wall clock from the first call on, as in the running application,
    // so that repaints are paced by real screen frames.
    void Deliver(uint64_t ms);
    // Runs a search, selects the row showing text and connects it; false (with Error()) on failure.
    bool Connect(const QString& text);
    // Sets the four connection-parameter edits of the ribbon.
    void SetConnectionParameters(uint16_t min, uint16_t max, uint16_t latency, uint16_t timeout);

private:
    bool Fail(const std::string& error);

    QTemporaryDir m_dir;
    std::unique_ptr<platform::SettingsStore> m_settings;
    RecordingPrompter m_prompter;
    std::unique_ptr<COrvBleDemoApp> m_app;
    std::string m_error;
    QElapsedTimer m_wallClock;    // started by the first Deliver
    uint64_t m_timersAtStart = 0; // the window timers' time then
    QString m_previousDirectory;
    QByteArray m_previousTmp;
    QByteArray m_previousRuntime;
};
