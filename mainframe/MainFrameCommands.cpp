// The main window's command map: handlers and update rules of the ribbon, menus and accelerators.
#include "mainframe/CMainFrame.h"

#include "app/COrvBleDemoApp.h"
#include "panes/CAboutDlg.h"
#include "panes/CLogDialog.h"
#include "platform/Prompter.h"
#include "platform/ui/CmdUI.h"
#include "res/resource.h"

#include <QLabel>

void CMainFrame::MapCommands() {
    m_commands.onCommand(ID_DISCOVER, [this] { OnDiscover(); });
    m_commands.onCommand(ID_CONNECT, [this] { OnConnect(); });
    m_commands.onUpdate(ID_CONNECT, [this](platform::CmdUI& ui) { OnUpdateConnect(ui); });
    m_commands.onCommand(ID_UPDATE_PARAMETERS, [this] { OnUpdateConnectionParameters(); });
    m_commands.onUpdate(ID_UPDATE_PARAMETERS, [this](platform::CmdUI& ui) { OnUpdateUpdateParameters(ui); });
    m_commands.onUpdate(ID_DISCOVER, [this](platform::CmdUI& ui) { OnUpdateDiscover(ui); });
    m_commands.onUpdateRange(ID_PARAM_MIN, ID_PARAM_TIMEOUT,
                             [this](platform::CmdUI& ui) { ui.Enable(m_bParamEditsEnabled); });

    m_commands.onCommand(ID_QUICK_CONNECT, [this] { m_bQuickConnect = !m_bQuickConnect; });
    m_commands.onUpdate(ID_QUICK_CONNECT, [this](platform::CmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(m_bQuickConnect);
    });
    m_commands.onCommand(ID_ACCEPT_UPDATES, [this] { m_bAcceptRemoteUpdates = !m_bAcceptRemoteUpdates; });
    m_commands.onUpdate(ID_ACCEPT_UPDATES,
                        [this](platform::CmdUI& ui) { ui.SetCheck(m_bAcceptRemoteUpdates); });
    m_commands.onCommand(ID_RANDOM_ADDRESS, [] {});
    m_commands.onUpdate(ID_RANDOM_ADDRESS, [this](platform::CmdUI& ui) {
        ui.Enable(false);
        ui.SetCheck(m_bRandomAddress);
    });
    MapPairingCommands();
    MapSecurityTagCommands();
    MapBatteryCommands();
    MapHeartRateCommands();
    MapPhoneCommands();
    MapTimeCommands();
    MapRemoteCommands();
    MapHidCommands();
    MapGlucoseCommands();
    MapRunningSpeedCommands();

    m_commands.onCommand(ID_SHOW_LOG, [this] { OnShowLog(); });
    m_commands.onCommand(ID_ENABLE_LOG, [this] { OnToggleDebugLog(); });
    m_commands.onUpdate(ID_ENABLE_LOG, [this](platform::CmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(m_bHostDebug);
    });
    m_commands.onCommand(ID_ABOUT, [this] { OnAbout(); });
    m_commands.onUpdate(ID_INDICATOR_CAPS, [](platform::CmdUI& ui) { ui.SetText(QString()); });
}

void CMainFrame::OnShowLog() {
    m_pLog->showNormal();
    m_pLog->raise();
}

void CMainFrame::OnToggleDebugLog() {
    m_bHostDebug = !m_bHostDebug;
    if (COrvBleDemoApp* app = AfxGetApp())
        app->WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Debug"), m_bHostDebug ? 1 : 0);
    platform::prompter().messageBox(
        this,
        QStringLiteral("You need to restart application in order to apply the changes in debug settings."),
        QStringLiteral("Debug logging"), MB_ICONEXCLAMATION);
}

void CMainFrame::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

QString CMainFrame::CapsLockPaneText() const {
    return m_capsPane->text();
}
