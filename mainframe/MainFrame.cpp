// The main window's construction, message routing, closing, timers and shared services.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "app/COrvBleDemoApp.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CPropertiesWnd.h"
#include "platform/DeviceNotifications.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "profiles/base/CChildFrame.h"
#include "res/resource.h"

#include "platform/ui/Icons.h"
#include "platform/ui/Ribbon.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTabBar>

static void InitResources() {
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(sounds);
}

namespace {
// The close timer never runs shorter than this, also for a supervision timeout of 0.
constexpr UINT kMinimumCloseDelayMs = 1000;
constexpr int kDevicePaneWidth = 200;
constexpr int kPropertiesPaneWidth = 300;

bool IsDocked(const QDockWidget* pane) {
    return !pane->isHidden() && !pane->isFloating();
}
} // namespace

CMainFrame::CMainFrame(bool hostDebugLogging, QWidget* parent)
    : QMainWindow(parent),
      m_messageWindow(
          this, [this](UINT msg, WPARAM wParam, LPARAM lParam) { return WindowProc(msg, wParam, lParam); }),
      m_timers([this](UINT id) { OnTimer(id); }), m_bHostDebug(hostDebugLogging) {
    AfxSetMainWnd(this);
    InitResources();
    setWindowTitle(platform::LoadString(IDS_APP_TITLE));
    resize(1200, 800);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setViewMode(QMdiArea::TabbedView);
    m_mdiArea->setTabsClosable(true);
    m_mdiArea->setDocumentMode(true);
    // Tabs take their natural width: a single profile window's tab is a tab, not a bar.
    if (auto* tabs = m_mdiArea->findChild<QTabBar*>())
        tabs->setExpanding(false);
    setCentralWidget(m_mdiArea);
    m_commands.setActiveChildProvider([this]() -> platform::CommandTarget* {
        QMdiSubWindow* active = m_mdiArea->activeSubWindow();
        auto* window = active ? qobject_cast<CChildFrame*>(active->widget()) : nullptr;
        return window ? window->GetCommandTarget() : nullptr;
    });

    m_ribbon = new platform::Ribbon(m_router, &m_commands, this);
    setMenuWidget(m_ribbon);
    MapCommands();
    BuildRibbon();
    m_router.addAccelerators(this,
                             {{QKeySequence(Qt::Key_F5), ID_DISCOVER},
                              {QKeySequence(Qt::Key_F6), ID_CONNECT},
                              {QKeySequence(Qt::Key_F2), ID_RENAME_DEVICE},
                              {QKeySequence(Qt::Key_F7), ID_UPDATE_PARAMETERS}},
                             &m_commands);

    // A pane of its own, so the idle text comes back after a status tip was shown over it.
    m_messagePane = new QLabel(this);
    statusBar()->addWidget(m_messagePane, 1);
    m_capsPane = new QLabel(this);
    statusBar()->addPermanentWidget(m_capsPane);
    m_router.bind(m_capsPane, ID_INDICATOR_CAPS, &m_commands,
                  {nullptr, nullptr, [this](const QString& text) { m_capsPane->setText(text); }});
    SetStatusText(platform::LoadString(IDS_READY));
    CreateDockingWindows();

    m_pProgress = std::make_unique<CConnectProgressDlg>(this);
    m_pProgress->SetCancelHandler([this] { CancelConnect(); });
    if (m_bDeviceChecksSuspended)
        ShowProgress(platform::LoadString(IDS_STARTING_UP), platform::LoadString(IDS_INITIALIZING_USB), true,
                     true);

    m_pLog = std::make_unique<CLogDialog>(this);
    setWindowIcon(platform::loadIcon(IDR_MAINFRAME));
    m_pLog->AddLogLine(QStringLiteral("Started application"), true);
    platform::attachPowerBroadcast(GetSafeHwnd());
}

CMainFrame::~CMainFrame() {
    SaveAppearances();
    CloseProfileWindows();
    m_devices.clear();
    m_pairedDevices.clear();
    m_timers.killTimer(TIMER_CLOSE);
    m_timers.killTimer(TIMER_BLINK);
    platform::detachPowerBroadcast(GetSafeHwnd());
    if (m_hDevNotify)
        platform::UnregisterDeviceNotification(m_hDevNotify);
    if (AfxGetMainWnd() == this)
        AfxSetMainWnd(nullptr);
}

void CMainFrame::CreateDockingWindows() {
    m_wndDeviceView = new CDeviceView(m_router, m_commands, this);
    m_wndDeviceView->setWindowTitle(platform::LoadString(IDS_DEVICES_PANE));
    m_wndDeviceView->SetHandlers({[this](int itemData) { OnDeviceSelChanged(itemData); },
                                  [this](QTreeWidgetItem* item) { return OnTreeBeginLabelEdit(item); },
                                  [this](QTreeWidgetItem* item, const QString& text, bool cancelled) {
                                      OnTreeEndLabelEdit(item, text, cancelled);
                                  },
                                  [this] { OnConnect(); }});
    addDockWidget(Qt::LeftDockWidgetArea, m_wndDeviceView);

    m_wndProperties = new CPropertiesWnd(this);
    m_wndProperties->SetPropertyChangedHandler(
        [this](platform::Property* property) { OnPropertyChanged(property); });
    m_wndProperties->setWindowTitle(platform::LoadString(IDS_PROPERTIES_PANE));
    addDockWidget(Qt::RightDockWidgetArea, m_wndProperties);

    m_paneWidths = {{m_wndDeviceView, kDevicePaneWidth}, {m_wndProperties, kPropertiesPaneWidth}};
    RestorePaneWidths();
    UpdateMinimumWidth();
}

bool CMainFrame::event(QEvent* event) {
    const bool result = QMainWindow::event(event);
    // Of the mouse releases that reach the window itself, the window takes only the one ending a move
    // of a pane's edge: the panes' widths are then the ones the user chose.
    if (event->type() == QEvent::MouseButtonRelease && event->isAccepted())
        RememberPaneWidths();
    return result;
}

// Narrowing the window squeezes the panes along with the central area; whenever the window's size
// changes they get the widths the user gave them back, as far as there is room.
void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RestorePaneWidths();
}

void CMainFrame::RememberPaneWidths() {
    for (auto& [pane, width] : m_paneWidths)
        if (IsDocked(pane))
            width = pane->width();
    UpdateMinimumWidth();
}

void CMainFrame::RestorePaneWidths() {
    QList<QDockWidget*> panes;
    QList<int> widths;
    for (const auto& [pane, width] : m_paneWidths)
        if (IsDocked(pane) && pane->width() != width) {
            panes.append(pane);
            widths.append(width);
        }
    if (!panes.isEmpty())
        resizeDocks(panes, widths, Qt::Horizontal);
}

// The window is never narrower than the docked panes side by side at the widths the user gave them;
// from their current widths it would shrink each time the panes are squeezed.
void CMainFrame::UpdateMinimumWidth() {
    int width = 0;
    for (const auto& [pane, preferred] : m_paneWidths)
        if (IsDocked(pane))
            width += preferred;
    setMinimumWidth(width);
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != 0 && msg == HostEventMessage())
        return OnBleHostMessage(wParam, lParam);
    if (msg != 0 && msg == InterInstanceMessage())
        return OnActivateInstance(wParam, lParam);
    if (msg == WM_DEVICECHANGE)
        return OnDeviceChange(static_cast<UINT>(wParam), static_cast<uintptr_t>(lParam));
    if (msg == WM_POWERBROADCAST)
        return OnPowerBroadcast(static_cast<UINT>(wParam), lParam);
    return 0;
}

LRESULT CMainFrame::OnActivateInstance(WPARAM, LPARAM) {
    // Back in the state it was minimised from: maximised stays maximised.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    return 0;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_bCloseNow || OnClose())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::CloseNow() {
    m_bCloseNow = true;
    m_timers.killTimer(TIMER_CLOSE);
    if (isVisible())
        close();
    else
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
}

bool CMainFrame::OnClose() {
    if (m_hDevNotify) {
        platform::UnregisterDeviceNotification(m_hDevNotify);
        m_hDevNotify = nullptr;
    }

    if (BleDeviceRecord* device = ConnectedRecord(); device && device->connected) {
        m_operationState = Operation::Disconnecting;
        bleHost().OrvBleHostDisconnect(device->cid);
        m_bClosing = true;
        ShowProgress(platform::LoadString(IDS_DISCONNECTING_FROM) + device->GetDisplayName(),
                     platform::LoadString(IDS_DISCONNECTING), true, false);
        if (!m_timers.isRunning(TIMER_CLOSE))
            m_timers.setTimer(
                TIMER_CLOSE,
                std::max<UINT>(2u * device->connectionParameters.supervisionTimeout, kMinimumCloseDelayMs));
        return false;
    }
    if (m_searchState == Search::Searching) {
        m_bClosing = true;
        m_searchState = Search::Stopping;
        bleHost().OrvBleHostStopDeviceSearch();
        if (!m_timers.isRunning(TIMER_CLOSE))
            m_timers.setTimer(TIMER_CLOSE, kMinimumCloseDelayMs);
        return false;
    }
    return true;
}

void CMainFrame::OnTimer(UINT id) {
    if (id == TIMER_CLOSE) {
        m_timers.killTimer(TIMER_CLOSE);
        CloseNow();
        return;
    }
    if (id == TIMER_RESUME) {
        m_timers.killTimer(TIMER_RESUME);
        ResumeHost();
        return;
    }
    if (id == TIMER_RSSI) {
        OnRssiTimer();
        return;
    }
    if (id == TIMER_BLINK)
        OnBlinkTimer();
}

void CMainFrame::ShowMessage(UINT stringId) {
    platform::prompter().messageBox(this, platform::LoadString(stringId), platform::LoadString(IDS_APP_TITLE),
                                    MB_OK);
}

void CMainFrame::ShowProgress(const QString& title, const QString& text, bool noCancel, bool modal) {
    m_pProgress->setWindowTitle(title);
    m_pProgress->SetText(text);
    m_pProgress->SetNoCancel(noCancel);
    if (modal && !m_bModalState) {
        m_bModalState = true;
        m_pProgress->setWindowModality(Qt::ApplicationModal);
    }
    m_pProgress->show();
    m_pProgress->raise();
}

void CMainFrame::HideProgress() {
    if (!m_pProgress->isVisible())
        return;
    m_pProgress->hide();
    if (m_bModalState) {
        m_bModalState = false;
        m_pProgress->setWindowModality(Qt::NonModal);
    }
    update();
}

void CMainFrame::AddLogMessage(const QString& text) {
    m_pLog->AddLogLine(text, true);
}

uint32_t CMainFrame::GetConnectionHandle() const {
    const BleDeviceRecord* device = ConnectedRecord();
    return device ? device->cid : 0;
}

BleDeviceRecord* CMainFrame::ConnectedRecord() const {
    if (m_nConnectedDevice < 0 || m_nConnectedDevice >= static_cast<int>(m_devices.size()))
        return nullptr;
    return m_devices[static_cast<size_t>(m_nConnectedDevice)].get();
}

void CMainFrame::SetStatusText(const QString& text) {
    m_messagePane->setText(text);
}

QString CMainFrame::StatusText() const {
    return m_messagePane->text();
}

void CMainFrame::AddOpenWindow(QWidget* window) {
    m_openWindows.emplace_back(window);
}
