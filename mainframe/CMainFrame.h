// The main window: host-event dispatch, device lists, start-up and shutdown, commands and panes.
#pragma once

#include "gatt/BleConnectionParameters.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/GattWriteRequest.h"
#include "gatt/LocalServerDatabase.h"
#include "gatt/PhoneAlerts.h"
#include "gatt/SecurityTag.h"
#include "platform/KeyInput.h"
#include "platform/TimeChangeWatch.h"
#include "platform/WinTypes.h"
#include "platform/WindowMessages.h"
#include "platform/WindowTimers.h"
#include "platform/ui/CommandRouter.h"
#include "platform/ui/CommandTarget.h"
#include "profiles/control/CAncsCtrl.h"
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/CMfswHostCtrl.h"
#include "profiles/control/COTAAppServiceCtrl.h"
#include "profiles/control/COTABootLoaderServiceCtrl.h"
#include "profiles/control/CPhoneCtrl.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/CRemoteCtrlGeneric.h"
#include "profiles/control/CSecurityTagCtrl.h"
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/CVehicleInfoCtrl.h"
#include "profiles/sensor/CBatteryCtrl.h"
#include "profiles/sensor/CBloodPressureCtrl.h"
#include "profiles/sensor/CBodyCompCtrl.h"
#include "profiles/sensor/CCycleSpeedCtrl.h"
#include "profiles/sensor/CDeviceInformationCtrl.h"
#include "profiles/sensor/CEnvironmentCtrl.h"
#include "profiles/sensor/CGlucoseCtrl.h"
#include "profiles/sensor/CHeartRateMonitorCtrl.h"
#include "profiles/sensor/CRunningSpeedCtrl.h"
#include "profiles/sensor/CTemperatureCtrl.h"
#include "profiles/sensor/CTimeCtrl.h"
#include "profiles/sensor/CUserDataCtrl.h"
#include "profiles/sensor/CWeightScaleCtrl.h"
#include "veyrahost.h"

#include <QDialog>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

class CConnectProgressDlg;
class CDeviceView;

class QTreeWidgetItem;

class CPropertiesWnd;
class QDockWidget;
class QLabel;
class QMdiArea;
namespace platform {
class Ribbon;
class RibbonEdit;
class CmdUI;
class Property;
} // namespace platform
class CLogDialog;

using DeviceRecordPtr = std::shared_ptr<BleDeviceRecord>;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // What the main window is doing; one operation at a time, commands wait while it is not Idle.
    enum class Operation {
        Idle = 0,
        Connecting = 1,
        Discovering = 2, // only while the database discovery is being requested
        Disconnecting = 3,
        Renaming = 4,
        RemovingPairing = 5,
        UpdatingParameters = 6,
    };
    enum class Search { Idle = 0, Searching = 1, Stopping = 2 };

    static constexpr uint16_t kAppearanceKeyboard = 0x03C1;
    static constexpr uint16_t kAppearanceSteeringWheel = 0x03CA;

    explicit CMainFrame(bool hostDebugLogging, QWidget* parent = nullptr);
    ~CMainFrame() override;

    HWND GetSafeHwnd() const { return m_messageWindow.handle(); }

    // ---- Host events ----
    LRESULT OnBleHostMessage(WPARAM code, LPARAM lParam);
    void OnHostInitialised(bool ok);

    // ---- Start-up, shutdown, system events ----
    LRESULT OnActivateInstance(WPARAM, LPARAM);
    // The close request: true when the window may close now; otherwise it closes when the
    // disconnection or the search's end arrives, or at the close timer.
    bool OnClose();
    LRESULT OnDeviceChange(UINT eventType, uintptr_t data);
    LRESULT OnPowerBroadcast(UINT powerEvent, LPARAM data);
    void OnTimer(UINT id);
    // Closes the window now, bypassing the close handling (the base class's close).
    void CloseNow();

    // ---- Services for the whole application ----
    void ShowMessage(UINT stringId);
    void ShowProgress(const QString& title, const QString& text, bool noCancel, bool modal);
    void HideProgress();
    bool IsInModalState() const { return m_bModalState; }
    void AddLogMessage(const QString& text);
    uint32_t GetConnectionHandle() const;

    // ---- Ribbon and commands ----
    void BuildRibbon();
    // Replaces the connect button: "Connect to device" (showConnect) or "Disconnect".
    void UpdateRibbonState(bool showConnect);
    void ReadConnectionParameterEdits(uint16_t& min, uint16_t& max, uint16_t& latency,
                                      uint16_t& timeout) const;
    void OnRemoteConnectionParameters(uint16_t min, uint16_t max, uint16_t latency, uint16_t timeout);
    // The parameter edits take digits and editing keys only.
    static bool IsParameterEditKey(int key, Qt::KeyboardModifiers modifiers);
    platform::CommandRouter& Router() { return m_router; }
    platform::CommandTarget& Commands() { return m_commands; }
    platform::Ribbon* RibbonBar() const { return m_ribbon; }
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QString CapsLockPaneText() const;
    // The status bar's message pane.
    QString StatusText() const;
    // Runs command id as the ribbon, a menu or an accelerator would: refused while disabled.
    bool ExecuteCommand(UINT id) { return m_router.execute(&m_commands, id); }

    // ---- Profile windows ----
    // Every profile window (a CChildFrame) registers itself when it is created.
    void AddOpenWindow(QWidget* window);
    void OpenProfileWindows(BleDeviceRecord* peer);
    void CloseProfileWindows();
    // The peer's value handle (or configuration handle) for a characteristic; 0 when unknown.
    uint16_t ValueHandle(uint16_t uuid) const;
    uint16_t ConfigHandle(uint16_t uuid) const;

    // ---- GATT client requests: one read and one write in flight ----
    void ReadCharacteristic(uint16_t handle);
    void QueueRead(uint32_t cid, uint16_t handle);
    void ProcessReadQueue(uint32_t cid);
    void WriteClientConfiguration(uint32_t cid, uint16_t valueHandle, uint16_t configHandle, uint8_t value);
    void WriteCharacteristic(uint32_t cid, uint16_t handle, uint8_t length, const uint8_t* data,
                             uint32_t mode);
    void ProcessWriteQueue();
    // Drops the requests not yet sent; what is in flight completes normally.
    void ClearRequestQueues();
    const std::deque<uint16_t>& ReadQueue() const { return m_readQueue; }
    const std::deque<GattWriteRequest>& WriteQueue() const { return m_writeQueue; }
    bool IsReadInFlight() const { return m_bReadInFlight; }
    bool IsWriteInFlight() const { return m_bWriteInFlight; }

    // ---- Results of the GATT client ----
    void OnCharacteristicRead(uint32_t cid, uint16_t handle, uint16_t length, const uint8_t* value);
    void OnCharacteristicReadFailed(uint32_t cid, uint16_t handle, uint16_t status);
    void OnCharacteristicNotification(uint32_t cid, uint16_t handle, uint16_t length, const uint8_t* value);
    void OnCharacteristicWritten(uint16_t handle, uint16_t status);

    // ---- Connection ----
    static bool IsValidConnectionParameters(uint16_t min, uint16_t max, uint16_t latency, uint16_t timeout);
    void OnConnect();
    void OnUpdateConnect(platform::CmdUI& ui);
    void DisconnectSelectedDevice();
    void CancelConnect();
    void OnConnectComplete(bool ok, uint32_t cid);
    void OnDatabaseDiscovered(const BleHostDatabaseEvent& database);
    void OnUpdateConnectionParameters();
    void OnUpdateUpdateParameters(platform::CmdUI& ui);
    void OnConnectionParametersUpdated(uint32_t status);
    bool IsQuickConnectRestoreArmed() const { return m_bQuickConnectRestore; }
    bool AreParameterEditsEnabled() const { return m_bParamEditsEnabled; }
    bool IsMitmProtectionOn() const { return m_bMitmProtection; }

    // ---- Pairing, security, renaming, bond removal ----
    void OnSecurityResult(uint16_t result);
    void OnPasskeyDisplay(const BleHostPasskeyEvent& event);
    void OnRenameDevice();
    void OnUpdateRenameDevice(platform::CmdUI& ui);
    bool OnTreeBeginLabelEdit(QTreeWidgetItem* item);
    void OnTreeEndLabelEdit(QTreeWidgetItem* item, const QString& text, bool cancelled);
    void OnPropertyChanged(platform::Property* property);
    void RenameDevice(const QString& name);
    void OnRemovePairing();
    void OnUpdateRemovePairing(platform::CmdUI& ui);
    void OnDebondComplete(const BleTypedAddress& address);
    // Closes an open passkey prompt as Cancel (failed pairing, disconnection).
    void CancelPasskeyPrompt();
    // The open passkey prompt (a CUserPromptDlg), or null.
    QDialog* OpenPrompt() const { return m_pPrompt; }
    int PromptMode() const { return m_nPromptMode; }
    bool IsRenamePending() const { return m_bRenamePending; }
    uint16_t PairingFailures() const { return m_nPairingFailures; }
    bool IsEncryptionRequested() const { return m_bEncryptionRequested; }

    // ---- Security tag (profiles/control/MainFrameSecurityTag.cpp) ----
    CSecurityTagCtrl* SecurityTagWindow() const { return m_pSecurityTag; }
    bool IsLinkLossWriteBusy() const { return m_nLinkLossHandle != 0; }
    bool IsPlaySoundOn() const { return m_bPlaySound; }
    int RssiCorrection() const { return m_nRssiCorrection; }
    // Event 7: a signal-strength sample of the connected link.
    void OnRssiRead(int8_t rssi);
    // Event 264 for the tag: the link-loss check (byte 0) and the Tx Power correction (byte 1).
    void OnAlertConfigurationRead(uint32_t cid, uint16_t field, uint16_t length, const uint8_t* data);
    void OnSetImmediateAlertLevel();
    void OnLinkLossAlert();
    void OnPlaySound();

    // ---- Battery (profiles/sensor/MainFrameBattery.cpp) ----
    CBatteryCtrl* BatteryWindow() const { return m_pBattery; }
    bool IsBatteryReadPending() const { return m_bBatteryReadPending; }
    // Update (command ID_BATTERY_UPDATE): reads the level again while the window shows "N/A".
    void OnBatteryUpdate();
    void OnUpdateBatteryUpdate(platform::CmdUI& ui);

    // ---- Heart rate (profiles/sensor/MainFrameHeartRate.cpp) ----
    CHeartRateMonitorCtrl* HeartRateWindow() const { return m_pHeartRate; }
    bool IsHeartRateResetPending() const { return m_bHeartRateResetPending; }
    void OnHeartRateReset();

    // ---- Device information (profiles/sensor/MainFrameDeviceInformation.cpp) ----
    CDeviceInformationCtrl* DeviceInformationWindow() const { return m_pDeviceInformation; }

    // ---- Running and cycling speed and cadence (profiles/sensor/MainFrameRunningSpeed.cpp,
    // MainFrameCycleSpeed.cpp) ----
    CRunningSpeedCtrl* RunningSpeedWindow() const { return m_pRunningSpeed; }
    CCycleSpeedCtrl* CycleSpeedWindow() const { return m_pCycleSpeed; }
    // The SC Control Point commands of the running window; the location Update serves the cycling
    // window too.
    void OnSetTotalDistance();
    void OnCalibrateSensor();
    void OnUpdateSensorLocation();

    // ---- Tyre pressure (profiles/control/MainFrameTpms.cpp) ----
    CTpmsCollectorCtrl* TpmsWindow() const { return m_pTpms; }

    // ---- Remote controls (profiles/control/MainFrameRemote.cpp) ----
    CRemoteCtrl* RemoteWindow() const { return m_pRemote; }
    CRemoteCtrlGeneric* GenericRemoteWindow() const { return m_pRemoteGeneric; }
    bool IsForwardingHidReports() const { return m_bForwardHidReports; }
    // The remote window's check box: forwarding follows its state.
    void OnForwardHidReports();
    // A key the remote window could not forward: logged once per run when there is no X11 session,
    // once per key when the keyboard has no key for it.
    void OnKeyNotForwarded(uint16_t virtualKey, platform::KeyInputResult result);

    // ---- HID devices (profiles/control/MainFrameHid.cpp) ----
    CHidCtrl* HidWindow() const { return m_pHid; }
    const std::map<uint16_t, HidReportEntry>& HidReports() const { return m_hidReports; }
    bool IsHidReadPending() const { return m_bHidReadPending; }
    void OnHidGetProtocolMode();
    void OnHidSetProtocolMode();
    void OnHidSendControlPoint();
    void OnHidGetOutputReport();
    void OnHidGetFeatureReport();
    void OnHidSetOutputReport();
    void OnHidSetFeatureReport();
    // Subscribes every report that has a client configuration, in ascending value handle.
    void EnableReportNotifications();
    // Subscribes the boot mouse and then the boot keyboard input report, those that are there.
    void EnableBootReportNotifications();

    // ---- Steering wheel (profiles/control/MainFrameSteeringWheel.cpp) ----
    CMfswHostCtrl* SteeringWheelWindow() const { return m_pSteeringWheel; }

    // ---- Weight scale, body composition, user data (profiles/sensor/MainFrame<Profile>.cpp) ----
    CWeightScaleCtrl* WeightScaleWindow() const { return m_pWeightScale; }
    CBodyCompCtrl* BodyCompWindow() const { return m_pBodyComp; }
    CUserDataCtrl* UserDataWindow() const { return m_pUserData; }

    // ---- Thermometer (profiles/sensor/MainFrameThermometer.cpp) ----
    CTemperatureCtrl* ThermometerWindow() const { return m_pThermometer; }

    // ---- Glucose (profiles/sensor/MainFrameGlucose.cpp) ----
    CGlucoseCtrl* GlucoseWindow() const { return m_pGlucose; }
    bool IsRecordAccessPending() const { return m_nRecordAccessHandle != 0; }

    // ---- Blood pressure (profiles/sensor/MainFrameBloodPressure.cpp) ----
    CBloodPressureCtrl* BloodPressureWindow() const { return m_pBloodPressure; }

    // ---- Vehicle information (profiles/control/MainFrameVehicleInfo.cpp) ----
    CVehicleInfoCtrl* VehicleInfoWindow() const { return m_pVehicleInfo; }

    // ---- Environment sensing (profiles/sensor/MainFrameEnvironment.cpp) ----
    CEnvironmentCtrl* EnvironmentWindow() const { return m_pEnvironment; }

    // ---- Over-the-air update (profiles/control/MainFrameOverTheAir.cpp) ----
    COTAAppServiceCtrl* OTAAppServiceWindow() const { return m_pOTAAppService; }
    COTABootLoaderServiceCtrl* OTABootLoaderServiceWindow() const { return m_pOTABootLoaderService; }
    // ---- Local GATT server (mainframe/MainFrameServer.cpp) ----
    // Registers the PC's own database (event 512) and keeps the handles the library assigned.
    void AddServerDatabase(uint16_t databaseId);
    // A peer's read of a local attribute (event 514), answered at once.
    void OnServerReadRequest(uint32_t cid, uint16_t handle);
    // A peer's write (event 515): the ATT result of the last entry, -1 when nothing took it.
    int32_t OnServerWriteRequest(uint16_t count, const BleHostWriteEntry* entries);
    bool IsAlertServiceHandle(uint16_t handle) const;
    bool IsTimeServiceHandle(uint16_t handle) const;
    const LocalServerHandles& ServerHandles() const { return m_serverHandles; }

    // ---- Current time (profiles/sensor/MainFrameTime.cpp) ----
    CTimeCtrl* TimeWindow() const { return m_pTime; }
    bool AreCurrentTimeNotificationsOn() const { return m_bCurrentTimeNotifications; }
    // The system clock was set or the system zone changed.
    void OnTimeChange();
    void OnTimeDateChanged();
    void OnUpdateTime();
    void OnTimeZoneSelected();
    void OnTimeoutReferenceUpdate();
    // Notifies Current Time with that adjust reason (the callers check the notification flag).
    void SendCurrentTime(uint8_t reason);

    // ---- Phone alerts (profiles/control/MainFramePhone.cpp) ----
    CPhoneCtrl* PhoneWindow() const { return m_pPhone; }
    const PhoneServerState& PhoneState() const { return m_phone; }
    const std::map<int, PhoneAlertRecord>& SavedPhoneRecords() const { return m_savedPhoneRecords; }
    void OnAlertStatusRinger();
    void OnAlertStatusVibrate();
    void OnAlertStatusDisplay();
    void OnRingerNormal();
    void OnRingerMute();
    // Silent mode (Ringer Control Point 1, radio Mute) or normal mode (3, radio Normal).
    void OnRingerControlPoint(bool silent);
    void OnAddAlert();
    void OnToggleAlertRead();
    void OnDeleteAlerts();
    void SendNewAlert(uint8_t category, const QString& text);
    void SendNewAlertCount(uint8_t category);
    void SendUnreadAlertStatus(uint8_t category);
    void SendUnreadAlertChanges(const std::map<uint8_t, uint8_t>& before);
    void SendAlertStatus();
    void SendRingerSetting();

    // ---- Notification center (profiles/control/MainFrameAncs.cpp) ----
    CAncsCtrl* AncsWindow() const { return m_pAncs; }
    const AncsServerState& AncsState() const { return m_ancs; }

    // ---- Devices ----
    void OnDiscover();
    void OnUpdateDiscover(platform::CmdUI& ui);
    void OnDeviceFound(const BleHostDeviceFoundEvent& report);
    void OnSearchStopped();
    void OnDeviceSelChanged(int itemData);
    void OnDeviceSelected(int itemData);
    // Rebuilds the device tree from the device list.
    void RefreshDeviceTree();
    void OnDisconnected(uint16_t reason);
    int SelectedItem() const { return m_nSelectedItem; }
    CDeviceView* DeviceView() const { return m_wndDeviceView; }
    CPropertiesWnd* PropertiesView() const { return m_wndProperties; }
    const std::vector<DeviceRecordPtr>& DeviceList() const { return m_devices; }
    const std::vector<DeviceRecordPtr>& PairedDeviceList() const { return m_pairedDevices; }

    // ---- State read by tests and panes ----
    CLogDialog* LogWindow() const { return m_pLog.get(); }
    CConnectProgressDlg* ProgressWindow() const { return m_pProgress.get(); }
    bool IsDeviceCheckSuspended() const { return m_bDeviceChecksSuspended; }
    bool IsClosing() const { return m_bClosing; }
    Search SearchState() const { return m_searchState; }
    Operation OperationState() const { return m_operationState; }
    int ConnectedDeviceIndex() const { return m_nConnectedDevice; }
    bool IsServerReady() const { return m_bServerReady; }
    bool LinkEncrypted() const { return m_bLinkEncrypted; }
    bool HostDebugLogging() const { return m_bHostDebug; }
    bool IsTimerRunning(UINT id) const { return m_timers.isRunning(id); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateDockingWindows();
    void MapCommands();
    void MapPairingCommands();
    void OnToggleDebugLog();
    void OnShowLog();
    void OnAbout();
    platform::RibbonEdit* ParameterEdit(UINT id) const;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void DispatchHostEvent(UINT code, LPARAM lParam);
    void OnHostError(uint32_t error);
    void OnConnectResult(const BleHostConnectEvent& event);
    void OnRemoteConnectionParameterRequest(const BleHostConnParamRequestEvent& request);
    void SetStatusText(const QString& text);
    void ResumeHost();

    // Paired devices and their appearances.
    void LoadPairedDevices();
    void LoadAppearances();
    void SaveAppearances();
    BleDeviceRecord* ConnectedRecord() const;
    BleDeviceRecord* SelectedRecord() const;
    int FindDevice(const BleTypedAddress& address) const;
    // After the device list changed: the selection and the connected device follow their records,
    // and the address index is rebuilt.
    void RederivePositions(const BleDeviceRecord* selected, const BleDeviceRecord* connected);
    void RenamePairedDevice(BleDeviceRecord& record, const QString& name);
    // Hands the record's name (cut to fit the entry) and appearance to the host's paired-device list.
    void UpdatePairedDeviceEntry(const BleDeviceRecord& record);
    // The record's name in its device row and, when the properties pane shows the record, in its Name row.
    void ShowRecordName(const BleDeviceRecord& record);
    void RememberPaneWidths();
    void RestorePaneWidths();
    void UpdateMinimumWidth();
    void ResetRequestQueues();
    void RunQuickConnectRestore();
    void RequestEncryption();
    void OnReadQueueDrained();
    // A write refused for lack of security is sent again (true) until its resends run out.
    bool ResendAfterSecurityRefusal(uint16_t status);
    std::optional<GattWriteRequest> CompleteWriteInFlight(uint16_t handle);
    // Per-connection state of the routing, dropped when the link ends.
    void ResetRoutingState();
    BleTypedAddress ConnectedAddress() const;

    // The members the fixed order calls for each profile (see MainFrameProfiles.cpp and
    // MainFrameRouting.cpp). A step that stops at the first match takes members that return whether
    // the value was theirs.
    using ServiceStep = bool (CMainFrame::*)(BleDeviceRecord& peer, const BleServiceEntry& service);
    using ReadStep = bool (CMainFrame::*)(uint16_t handle, std::span<const uint8_t> value);
    using NotificationStep = void (CMainFrame::*)(uint16_t handle, std::span<const uint8_t> value);
    using WriteStep = bool (CMainFrame::*)(uint16_t handle, uint16_t status);
    using ReadOfferStep = void (CMainFrame::*)(uint16_t handle, std::span<const uint8_t> value);
    // A write result with the head request it completed, as it was (null when there was none).
    using HeadStep = void (CMainFrame::*)(uint16_t handle, uint16_t status, const GattWriteRequest* head);
    using WriteOfferStep = void (CMainFrame::*)(uint16_t handle, uint16_t status);
    static bool IsService16(const BleServiceEntry& service, uint16_t uuid);

    // ---- Generic Access, Device Name and Bond Management (mainframe/MainFramePairing.cpp) ----
    bool FindGenericAccessHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    bool FindBondManagementHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    bool OnDeviceNameRead(uint16_t handle, std::span<const uint8_t> value);
    bool OnBondManagementFeatureRead(uint16_t handle, std::span<const uint8_t> value);
    bool OnDeviceNameWritten(uint16_t handle, uint16_t status);
    // The Bond Management control point's final write result, whatever its status.
    void OnBondManagementWritten(uint16_t handle);
    void OnRenameComplete(bool success);
    // A disconnection during a rename: the shown name returns to the record's.
    void AbandonRename();

    // ---- Security tag (profiles/control/MainFrameSecurityTag.cpp) ----
    void MapSecurityTagCommands();
    bool FindSecurityTagHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenSecurityTagWindow(BleDeviceRecord& peer);
    // Timer 1, the signal-strength poll: re-armed with the connected peer's parameters if it runs.
    void RearmRssiPoll();
    void OnRssiTimer();
    bool OnSecurityTagRead(uint16_t handle, std::span<const uint8_t> value);
    bool OnSecurityTagWritten(uint16_t handle, uint16_t status);
    void ClearSecurityTagPending();
    // The samples, the correction and the last value shown belong to one link.
    void ResetSignalStrength();
    // The tag wrote the PC's Alert Level: the level shown, the sound and the blinking.
    void OnLocalAlert(uint8_t level);
    // A tick of the blink timer while the tag window is open.
    void OnSecurityTagBlink();

    // ---- Battery (profiles/sensor/MainFrameBattery.cpp) ----
    void MapBatteryCommands();
    bool FindBatteryHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenBatteryWindow(const BleDeviceRecord& peer);
    bool OnBatteryRead(uint16_t handle, std::span<const uint8_t> value);
    // A read that failed for any reason but security: a failed level read is no longer pending.
    void OnBatteryReadFailed(uint16_t handle);
    void OnBatteryNotification(uint16_t handle, std::span<const uint8_t> value);
    void ClearBatteryPending();

    // ---- Heart rate (profiles/sensor/MainFrameHeartRate.cpp) ----
    void MapHeartRateCommands();
    bool FindHeartRateHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenHeartRateWindow(const BleDeviceRecord& peer);
    bool OnHeartRateRead(uint16_t handle, std::span<const uint8_t> value);
    void OnHeartRateNotification(uint16_t handle, std::span<const uint8_t> value);
    bool OnHeartRateWritten(uint16_t handle, uint16_t status);
    void ClearHeartRatePending();

    // ---- Device information (profiles/sensor/MainFrameDeviceInformation.cpp) ----
    bool FindDeviceInformationHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenDeviceInformationWindow(const BleDeviceRecord& peer);
    bool OnDeviceInformationRead(uint16_t handle, std::span<const uint8_t> value);

    // ---- Running and cycling speed and cadence ----
    void MapRunningSpeedCommands();
    bool FindRunningSpeedHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnRunningSpeedRead(uint16_t handle, std::span<const uint8_t> value);
    void OnRunningSpeedNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnRunningSpeedWritten(uint16_t handle, uint16_t status, const GattWriteRequest* head);
    // Writes request to the selected device's control point and shows the progress window with that
    // text; false without a connected selection.
    bool SendControlPointRequest(uint16_t controlPoint, std::span<const uint8_t> request, UINT progressText);
    bool FindCycleSpeedHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnCycleSpeedRead(uint16_t handle, std::span<const uint8_t> value);
    void OnCycleSpeedNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnCycleSpeedWritten(uint16_t handle, uint16_t status, const GattWriteRequest* head);

    // ---- Tyre pressure (profiles/control/MainFrameTpms.cpp) ----
    bool FindTpmsHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnTpmsRead(uint16_t handle, std::span<const uint8_t> value);
    void OnTpmsNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnTpmsWritten(uint16_t handle, uint16_t status);

    // ---- Remote controls (profiles/control/MainFrameRemote.cpp) ----
    void MapRemoteCommands();
    bool FindRemoteHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenRemoteWindow(const BleDeviceRecord& peer);
    bool OnRemoteRead(uint16_t handle, std::span<const uint8_t> value);
    void OnRemoteNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- HID devices (profiles/control/MainFrameHid.cpp) ----
    void MapHidCommands();
    bool FindHidHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenHidWindow(const BleDeviceRecord& peer);
    bool OnHidRead(uint16_t handle, std::span<const uint8_t> value);
    void OnHidReportRead(uint16_t handle, std::span<const uint8_t> value);
    void OnHidNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnHidProtocolModeWritten(uint16_t handle, uint16_t status);
    void ClearHidTables();
    void ClearHidPending();
    // Get Value and Set Value of the output (type 2) or feature (type 3) side.
    void OnHidGetReport(UINT comboId, uint8_t type);
    void OnHidSetReport(UINT comboId, UINT editId, uint8_t type);

    // ---- Steering wheel (profiles/control/MainFrameSteeringWheel.cpp) ----
    bool FindSteeringWheelHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnSteeringWheelRead(uint16_t handle, std::span<const uint8_t> value);
    void OnSteeringWheelNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- Weight scale (profiles/sensor/MainFrameWeightScale.cpp) ----
    bool FindWeightScaleHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnWeightScaleRead(uint16_t handle, std::span<const uint8_t> value);
    void OnWeightScaleNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- Body composition (profiles/sensor/MainFrameBodyComp.cpp) ----
    bool FindBodyCompHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnBodyCompRead(uint16_t handle, std::span<const uint8_t> value);
    void OnBodyCompNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- User data (profiles/sensor/MainFrameUserData.cpp) ----
    bool FindUserDataHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void ActivateUserDataWindow(const BleDeviceRecord& peer);
    void OnUserDataRead(uint16_t handle, std::span<const uint8_t> value);
    void OnUserDataNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnUserDataWritten(uint16_t handle, uint16_t status);

    // ---- Thermometer (profiles/sensor/MainFrameThermometer.cpp) ----
    bool FindThermometerHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenThermometerWindow(const BleDeviceRecord& peer);
    bool OnThermometerRead(uint16_t handle, std::span<const uint8_t> value);
    void OnThermometerNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- Glucose (profiles/sensor/MainFrameGlucose.cpp) ----
    void MapGlucoseCommands();
    bool FindGlucoseHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenGlucoseWindow(const BleDeviceRecord& peer);
    bool OnGlucoseRead(uint16_t handle, std::span<const uint8_t> value);
    void OnGlucoseNotification(uint16_t handle, std::span<const uint8_t> value);
    bool OnGlucoseWritten(uint16_t handle, uint16_t status);
    void ClearGlucosePending();
    void OnGlucoseMeasurement(std::span<const uint8_t> value);
    void OnGlucoseContext(std::span<const uint8_t> value);
    void OnRecordAccessResponse(std::span<const uint8_t> value);
    bool CanAccessRecords() const;
    void OnRecordAccessAll(uint8_t opCode);
    void OnRecordAccess(uint8_t opCode, bool clearRecords);
    void OnRecordAccessAbort();
    void WriteRecordAccess(std::span<const uint8_t> request);

    // ---- Blood pressure (profiles/sensor/MainFrameBloodPressure.cpp) ----
    bool FindBloodPressureHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OpenBloodPressureWindow(const BleDeviceRecord& peer);
    bool OnBloodPressureRead(uint16_t handle, std::span<const uint8_t> value);
    void OnBloodPressureNotification(uint16_t handle, std::span<const uint8_t> value);

    // ---- Vehicle information (profiles/control/MainFrameVehicleInfo.cpp) ----
    bool FindVehicleInfoHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnVehicleInfoRead(uint16_t handle, std::span<const uint8_t> value);
    void OnVehicleInfoNotification(uint16_t handle, std::span<const uint8_t> value);
    void OnVehicleInfoWritten(uint16_t handle, uint16_t status);

    // ---- Environment sensing ----
    bool FindEnvironmentHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnEnvironmentRead(uint16_t handle, std::span<const uint8_t> value);
    void OnEnvironmentWritten(uint16_t handle, uint16_t status);

    // ---- Over-the-air update (profiles/control/MainFrameOverTheAir.cpp) ----
    bool FindOTAAppServiceHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    bool FindOTABootLoaderServiceHandles(BleDeviceRecord& peer, const BleServiceEntry& service);
    void OnOTAAppServiceRead(uint16_t handle, std::span<const uint8_t> value);
    void OnOTABootLoaderServiceRead(uint16_t handle, std::span<const uint8_t> value);
    // ---- Local GATT server ----
    // A window the peer's first access opens: activated, kept, its role bit added to the peer's record.
    void ShowServerWindow(CChildFrame* window, uint32_t role);
    void SendServerNotification(uint16_t handle, std::span<const uint8_t> value);
    // Per-connection state of the local server, dropped when the link ends.
    void ResetServerState();

    // ---- Current time ----
    void MapTimeCommands();
    // Opens the time window when a device is connected and it is absent.
    void OpenTimeWindow();
    void ReopenTimeWindow(const BleDeviceRecord& peer);
    // The value of a time attribute; empty without the time window.
    std::vector<uint8_t> TimeServerValue(uint16_t handle) const;
    void OnTimeServerWrite(uint16_t handle, std::span<const uint8_t> value, int32_t* result);

    // ---- Phone alerts ----
    void MapPhoneCommands();
    // Opens the phone window when it is absent; restores its pictures and starts the blink timer.
    void OpenPhoneWindow();
    void ReopenPhoneWindow(const BleDeviceRecord& peer);
    void RestorePhoneWindow(bool created);
    // The phone window's records are kept while it is closed within one connection.
    void SavePhoneRecords();
    // False when the write is not one the phone handles.
    bool OnPhoneServerWrite(uint16_t handle, std::span<const uint8_t> value, int32_t* result);
    void OnAlertStatusCheck(bool PhoneServerState::*flag, UINT picture);
    void ShowAlertStatusPictures();
    void OnBlinkTimer();

    // ---- Notification center ----
    // The provider's handles, copied into the state handed to the window once the database is added.
    void KeepAncsHandles();
    bool IsAncsHandle(uint16_t handle) const;
    // Opens the window for the connected peer when it is absent and initialises it.
    void OpenAncsWindow();
    void ReopenAncsWindow(const BleDeviceRecord& peer);
    void ResetAncsState();

    platform::MessageWindow m_messageWindow;
    platform::CommandRouter m_router;
    platform::CommandTarget m_commands;
    platform::Ribbon* m_ribbon = nullptr;
    // The connect button's two faces, each icon loaded once, and the face shown (none before the first).
    QIcon m_connectIcon;
    QIcon m_disconnectIcon;
    std::optional<bool> m_connectButtonShowsConnect;
    QMdiArea* m_mdiArea = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_capsPane = nullptr;
    CDeviceView* m_wndDeviceView = nullptr;
    CPropertiesWnd* m_wndProperties = nullptr;
    // The side panes' widths as the user last set them (at first the initial ones).
    std::vector<std::pair<QDockWidget*, int>> m_paneWidths;
    platform::WindowTimers m_timers;
    std::unique_ptr<CLogDialog> m_pLog;
    std::unique_ptr<CConnectProgressDlg> m_pProgress;

    std::vector<QPointer<QWidget>> m_openWindows; // cleared entries: closed by the user
    std::vector<DeviceRecordPtr> m_devices;       // what the device tree shows; see m_deviceIndex
    // Position in m_devices by device address, for FindDevice: rebuilt by RederivePositions, which
    // follows every change of the list, and extended when a found device is appended.
    std::unordered_map<uint64_t, int> m_deviceIndex;
    std::vector<DeviceRecordPtr> m_pairedDevices; // the host library's bonded devices
    bool m_bPairedListLoaded = false;             // appearances are saved only over a list loaded this run
    int m_nConnectedDevice = -1;
    int m_nSelectedItem = 0; // item data of the tree row selected last: index + 1, 0 group, -1 placeholder
    Search m_searchState = Search::Idle;
    Operation m_operationState = Operation::Idle;
    BleConnectionParameters m_connectionParameters{400, 400, 4, 1000};

    // GATT client requests.
    std::deque<uint16_t> m_readQueue;
    bool m_bReadInFlight = false;
    bool m_bReadAwaitsSecurity = false; // the read in flight was refused and waits for the security result
    std::deque<GattWriteRequest> m_writeQueue;
    bool m_bWriteInFlight = false;
    bool m_bEncryptionRequested = false;

    // Profile windows and the handles they use.
    std::map<uint16_t, uint16_t> m_valueHandles;  // characteristic UUID (or pseudo-key) -> value handle
    std::map<uint16_t, uint16_t> m_configHandles; // characteristic UUID -> configuration handle

    // Quick connect: the user's parameters restored after the first reads.
    bool m_bQuickConnectRestore = false;
    BleTypedAddress m_restoreAddress{};
    BleConnectionParameters m_restoreParameters{};
    uint16_t m_nPairingFailures = 0;
    bool m_bConnectCancelled = false; // the user's Stop ended the attempt
    // What the connected record takes when the host reports parameters set or updated: those of the
    // last request, the stored ones for the quick parameters of a connection.
    BleConnectionParameters m_requestedParameters;

    // Pairing and renaming.
    QPointer<QDialog> m_pPrompt; // the passkey prompt (a CUserPromptDlg) while it is shown
    int m_nPromptMode = 0;       // 1 while a passkey prompt is shown
    bool m_bRenamePending = false;
    QString m_pendingName; // the name being written to the peer
    // Handles of the writes awaiting their result; 0 when none. Kept apart from the handle tables,
    // which a change of selection empties while a write is still outstanding.
    uint16_t m_nRenameHandle = 0;
    uint16_t m_nBondWriteHandle = 0;

    // Security tag.
    QPointer<CSecurityTagCtrl> m_pSecurityTag;
    RssiRing m_rssiRing;
    int m_nRssiCorrection = 0;          // dBm added to the average (Tx Power)
    std::optional<int> m_lastShownRssi; // none: the next value is shown whatever it is
    uint8_t m_nZone = 0;                // the level last written for the distance
    uint16_t m_nLinkLossHandle = 0;     // of the link-loss write awaiting its result; 0: none pending
    bool m_bPlaySound = false;

    // Battery: the level read (at opening or by Update) awaiting its answer.
    QPointer<CBatteryCtrl> m_pBattery;
    bool m_bBatteryReadPending = false;

    // Heart rate.
    QPointer<CHeartRateMonitorCtrl> m_pHeartRate;
    bool m_bHeartRateResetPending = false;
    uint16_t m_nResetHandle = 0;

    // Device information.
    QPointer<CDeviceInformationCtrl> m_pDeviceInformation;

    // Running and cycling.
    QPointer<CRunningSpeedCtrl> m_pRunningSpeed;
    QPointer<CCycleSpeedCtrl> m_pCycleSpeed;

    // Tyre pressure.
    QPointer<CTpmsCollectorCtrl> m_pTpms;

    // Remote controls.
    QPointer<CRemoteCtrl> m_pRemote;
    QPointer<CRemoteCtrlGeneric> m_pRemoteGeneric;
    bool m_bForwardHidReports = false;
    bool m_bKeysWithoutSessionLogged = false;
    std::set<uint16_t> m_keysWithoutCode; // virtual keys already logged as not forwarded

    // HID devices.
    QPointer<CHidCtrl> m_pHid;
    std::map<uint16_t, HidReportEntry> m_hidReports; // Report value handle -> its entry
    std::map<uint16_t, uint16_t> m_hidReferences;    // Report Reference handle -> Report value handle
    bool m_bHidReadPending = false;                  // protocol-mode read: "Get" waits for it

    // Steering wheel.
    QPointer<CMfswHostCtrl> m_pSteeringWheel;

    // Weight scale, body composition, user data.
    QPointer<CWeightScaleCtrl> m_pWeightScale;
    QPointer<CBodyCompCtrl> m_pBodyComp;
    QPointer<CUserDataCtrl> m_pUserData;
    // Thermometer.
    QPointer<CTemperatureCtrl> m_pThermometer;

    // Glucose: the control point a record-access request was written to while it is under way (0
    // otherwise); set by a request, cleared by its answer, its final failure or the end of the link.
    QPointer<CGlucoseCtrl> m_pGlucose;
    uint16_t m_nRecordAccessHandle = 0;

    // Blood pressure.
    QPointer<CBloodPressureCtrl> m_pBloodPressure;

    // Vehicle information.
    QPointer<CVehicleInfoCtrl> m_pVehicleInfo;

    // Environment sensing.
    QPointer<CEnvironmentCtrl> m_pEnvironment;

    // Over-the-air update.
    QPointer<COTAAppServiceCtrl> m_pOTAAppService;
    QPointer<COTABootLoaderServiceCtrl> m_pOTABootLoaderService;
    // Local GATT server: the handles of the PC's own attributes.
    LocalServerHandles m_serverHandles;

    // Phone alerts: the window, the server state and the records kept while the window is closed.
    QPointer<CPhoneCtrl> m_pPhone;
    PhoneServerState m_phone;
    std::map<int, PhoneAlertRecord> m_savedPhoneRecords;
    int m_nBlinkCount = 0; // ticks of the blink timer

    // Current time.
    QPointer<CTimeCtrl> m_pTime;
    bool m_bCurrentTimeNotifications = false;
    platform::TimeChangeWatch m_timeChangeWatch;

    // Notification center: the window and the provider's handles and subscriptions it is handed.
    QPointer<CAncsCtrl> m_pAncs;
    AncsServerState m_ancs;

    bool m_bHostDebug;
    bool m_bDeviceChecksSuspended = true;
    bool m_bClosing = false;
    bool m_bCloseNow = false;
    bool m_bResumePending = false;
    bool m_bModalState = false;
    HDEVNOTIFY m_hDevNotify = nullptr;
    bool m_bServerDatabaseRequested = false;
    bool m_bServerReady = false;
    bool m_bLinkEncrypted = false;
    bool m_bAcceptRemoteUpdates = true;
    bool m_bQuickConnect = true;
    bool m_bMitmProtection = false;
    bool m_bRandomAddress = false;
    bool m_bParamEditsEnabled = true;
};
