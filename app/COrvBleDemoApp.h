// The application object: start-up checks, the host library's initialisation, settings, shutdown.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <memory>

class CMainFrame;
namespace platform {
class SingleInstance;
}

// Names of the single-instance lock and of the inter-instance message.
inline const QString kSingleInstanceMutexName = QStringLiteral("{A84C1F29-6E3D-4B70-8D15-F2C9E07B3A56}");
inline const QString kInterInstanceMessageName = QStringLiteral("{5D2E7A10-3C4B-4F8E-9A61-0B7C2D9E4F13}");
// Device name that selects the dedicated remote-control window.
inline const QString kSkyRemoteName = QStringLiteral("SKY Remote");

class COrvBleDemoApp {
public:
    COrvBleDemoApp();
    ~COrvBleDemoApp();
    COrvBleDemoApp(const COrvBleDemoApp&) = delete;
    COrvBleDemoApp& operator=(const COrvBleDemoApp&) = delete;

    // The start-up sequence; FALSE ends the program (the caller then runs ExitInstance).
    BOOL InitInstance();
    // Destroys the main window (which saves what it keeps), releases the instance lock and
    // de-initialises the host library.
    int ExitInstance();

    // Dongle checks and host-library initialisation; shows its own messages on failure.
    BOOL InitBleHost(BOOL debug);
    // De-initialises the host library when it is initialised (exit, system suspend).
    void DeinitBleHost();
    bool IsHostInitialised() const { return m_bHostInitialised; }

    // Reads one string of the program's version block; on failure shows why, sets out to "ERROR".
    static bool GetFileVersionString(const QString& modulePath, const QString& valueName, QString& out);

    // Integer values under the settings key (section = subkey).
    UINT GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    BOOL WriteProfileInt(const QString& section, const QString& entry, int value);
    // "Software\\Orvane\\" + profile name: the settings key.
    QString SettingsKeyPath() const;
    const QString& ProfileName() const { return m_profileName; }

    CMainFrame* MainFrame() const { return m_pMainFrame; }

private:
    bool AcquireSingleInstance();

    CMainFrame* m_pMainFrame = nullptr;
    std::unique_ptr<platform::SingleInstance> m_singleInstance;
    bool m_bHostInitialised = false;
    QString m_profileName;
};

// The one application object (null outside its lifetime).
COrvBleDemoApp* AfxGetApp();
// The application's main window (null until created).
CMainFrame* AfxGetMainWnd();
// Set by the main window for its lifetime.
void AfxSetMainWnd(CMainFrame* frame);
// Id of the host library's event message (0 until the library is initialised).
UINT HostEventMessage();
// Id of the inter-instance activation message.
UINT InterInstanceMessage();
