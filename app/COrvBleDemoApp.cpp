#include "app/COrvBleDemoApp.h"

#include "app/BleHostApi.h"
#include "app/CRegistrySettings.h"
#include "app/DongleDetection.h"
#include "mainframe/CMainFrame.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "platform/SingleInstance.h"
#include "platform/StringTable.h"
#include "platform/VersionInfo.h"
#include "platform/WindowMessages.h"
#include "platform/ui/Icons.h"
#include "res/resource.h"

#include <QApplication>

static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace {
COrvBleDemoApp* g_app = nullptr;
CMainFrame* g_mainWnd = nullptr;
UINT g_hostEventMessage = 0;
UINT g_interInstanceMessage = 0;

bool VersionFailure(const QString& message, QString& out) {
    platform::AfxMessageBox(message, MB_OK);
    out = QStringLiteral("ERROR");
    return false;
}
} // namespace

COrvBleDemoApp* AfxGetApp() {
    return g_app;
}

CMainFrame* AfxGetMainWnd() {
    return g_mainWnd;
}

void AfxSetMainWnd(CMainFrame* frame) {
    g_mainWnd = frame;
}

UINT HostEventMessage() {
    return g_hostEventMessage;
}

UINT InterInstanceMessage() {
    return g_interInstanceMessage;
}

COrvBleDemoApp::COrvBleDemoApp() {
    g_app = this;
}

COrvBleDemoApp::~COrvBleDemoApp() {
    delete m_pMainFrame;
    m_pMainFrame = nullptr;
    if (g_app == this)
        g_app = nullptr;
}

BOOL COrvBleDemoApp::InitInstance() {
    // First of all, so that every window carries it, the message boxes shown before the main window
    // and the dialogs the main window creates before its own icon is set among them.
    InitIconResources();
    QApplication::setWindowIcon(platform::loadIcon(IDR_MAINFRAME));
    m_profileName = platform::LoadString(IDS_APP_TITLE);
    QCoreApplication::setApplicationName(m_profileName);

    QString version;
    if (GetFileVersionString(QCoreApplication::applicationFilePath(), QStringLiteral("FileVersion"), version))
        m_profileName += QStringLiteral("\\") + version;

    CRegistrySettings::Create(SettingsKeyPath());
    const bool debug = GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Debug"), 0) == 1;

    g_interInstanceMessage = platform::RegisterWindowMessage(kInterInstanceMessageName);
    if (!AcquireSingleInstance()) {
        platform::AfxMessageBox(platform::LoadString(IDS_ALREADY_RUNNING), MB_OK);
        m_singleInstance->requestActivation();
        return FALSE;
    }

    InitBleHost(debug);
    if (!m_bHostInitialised)
        return FALSE;

    m_pMainFrame = new CMainFrame(debug);
    m_singleInstance->setActivationTarget(m_pMainFrame->GetSafeHwnd());

    if (bleHost().OrvBleHostStartWnd(m_pMainFrame->GetSafeHwnd()) == 0) {
        platform::AfxMessageBox(QStringLiteral("Unable to start BLE client"), MB_OK);
        return FALSE;
    }
    m_pMainFrame->show();
    return TRUE;
}

bool COrvBleDemoApp::AcquireSingleInstance() {
    m_singleInstance =
        std::make_unique<platform::SingleInstance>(kSingleInstanceMutexName, kInterInstanceMessageName);
    return m_singleInstance->acquire();
}

int COrvBleDemoApp::ExitInstance() {
    delete m_pMainFrame;
    m_pMainFrame = nullptr;
    m_singleInstance.reset();
    DeinitBleHost();
    return 0;
}

BOOL COrvBleDemoApp::InitBleHost(BOOL debug) {
    switch (CheckDongle()) {
    case DongleState::Absent:
        platform::AfxMessageBox(platform::LoadString(IDS_DONGLE_NOT_FOUND), MB_OK);
        return FALSE;
    case DongleState::NoDriver:
        platform::AfxMessageBox(platform::LoadString(IDS_DRIVER_NOT_INSTALLED), MB_OK);
        return FALSE;
    case DongleState::Busy:
        platform::AfxMessageBox(platform::LoadString(IDS_DONGLE_BUSY), MB_OK);
        return FALSE;
    case DongleState::Ready:
        break;
    }

    OrvBleHostInitParams parameters{};
    parameters.flags = 0;
    g_hostEventMessage = bleHost().OrvBleHostInit(debug, 0, &parameters);
    if (g_hostEventMessage == 0) {
        platform::AfxMessageBox(QStringLiteral("Unable to initialize BLE client."), MB_OK);
        return FALSE;
    }
    m_bHostInitialised = true;
    return TRUE;
}

void COrvBleDemoApp::DeinitBleHost() {
    if (!m_bHostInitialised)
        return;
    bleHost().OrvBleHostDeinit();
    m_bHostInitialised = false;
}

bool COrvBleDemoApp::GetFileVersionString(const QString& modulePath, const QString& valueName, QString& out) {
    if (platform::GetFileVersionInfoSize(modulePath) == 0)
        return VersionFailure(QStringLiteral("Function <GetFileVersionInfoSize> unsuccessful!"), out);
    const auto block = platform::GetFileVersionInfo(modulePath);
    if (!block)
        return VersionFailure(QStringLiteral("Function <GetFileVersionInfo> unsuccessful!"), out);

    QString ignored;
    int translationBytes = 0;
    if (!platform::VerQueryValue(*block, QStringLiteral("\\VarFileInfo\\Translation"), &ignored,
                                 &translationBytes))
        return VersionFailure(QStringLiteral("Function <VerQueryValue> for Translation unsuccessful!"), out);

    const int languages = translationBytes / 4;
    if (languages != 1 || block->translations.empty())
        return VersionFailure(QStringLiteral("Error! Languages number: %1.").arg(languages), out);

    const auto [language, codePage] = block->translations.front();
    const QString subBlock = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                                 .arg(language, 4, 16, QLatin1Char('0'))
                                 .arg(codePage, 4, 16, QLatin1Char('0'))
                                 .arg(valueName);
    QString value;
    if (!platform::VerQueryValue(*block, subBlock, &value, nullptr))
        return VersionFailure(
            QStringLiteral("Function <VerQueryValue> for StringFileInfo for %1 th language unsuccessful!")
                .arg(languages),
            out);

    out = value.replace(QStringLiteral(", "), QStringLiteral("."));
    return true;
}

QString COrvBleDemoApp::SettingsKeyPath() const {
    return QStringLiteral("Software\\Orvane\\") + m_profileName;
}

UINT COrvBleDemoApp::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const {
    DWORD value = 0;
    if (platform::settingsStore().queryDword(SettingsKeyPath() + QStringLiteral("\\") + section, entry,
                                             &value) != ERROR_SUCCESS)
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL COrvBleDemoApp::WriteProfileInt(const QString& section, const QString& entry, int value) {
    auto& store = platform::settingsStore();
    const QString key = SettingsKeyPath() + QStringLiteral("\\") + section;
    if (store.createKey(key) != ERROR_SUCCESS)
        return FALSE;
    return store.setDword(key, entry, static_cast<DWORD>(value)) == ERROR_SUCCESS ? TRUE : FALSE;
}
