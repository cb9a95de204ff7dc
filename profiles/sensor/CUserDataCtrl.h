// The user-data window: registering a user, giving consent, deleting the user's data, and the current
// user's first name and database change increment.
#pragma once

#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QByteArray>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

class BleDeviceRecord;
struct UserControlPointResponse;
class QLabel;

// Drives the peer's User Control Point (answered by indication) and shows each step's outcome as one
// status text. A control-point request that gets no response within 30 s disconnects the peer.
class CUserDataCtrl : public CChildFrame {
    Q_OBJECT
public:
    static constexpr uint8_t kNoUser = 0xFF;
    static constexpr UINT kResponseTimeoutMs = 30000;

    // The current user: the one consent was given for.
    struct UserRecord {
        uint8_t index = kNoUser;
        uint32_t changeIncrement = 0;
        QByteArray firstName; // UTF-8, at most 262 bytes
    };

    explicit CUserDataCtrl(QWidget* parent = nullptr);
    ~CUserDataCtrl() override;

    // The first call keeps the peer's connection and handles and starts without a current user; every
    // call (re)subscribes to the control point's indications. Reads nothing.
    void InitProfile(const BleDeviceRecord& peer);
    // Every read result: the first name or the database change increment when handle is theirs.
    void OnReadResponse(uint16_t handle, std::span<const uint8_t> value);
    // Every notification or indication: the control point's response when handle is its. Returns 0
    // exactly when the response reported a successful Delete User Data, otherwise 1.
    uint32_t OnControlPointIndication(uint16_t handle, std::span<const uint8_t> value);
    // Every completed write, status 0 for success.
    void OnWriteResponse(uint16_t handle, uint16_t status);

    const UserRecord& CurrentUser() const { return m_user; }
    bool IsRegistrationDisabled() const { return m_registrationDisabled != 0; }
    bool IsConsentDisabled() const { return m_consentDisabled != 0; }
    bool IsResponseTimerRunning() const { return m_responseTimer != 0; }

protected:
    void OnCreate() override;

private:
    void OnRegister();
    void OnConsent();
    void OnUpdateName();
    void OnDeleteUser();
    void EnableRegistration(bool enable);
    void EnableConsent(bool enable);
    void OnTimer(UINT id);
    void OnResponseTimeout();
    void OnRegisterResponse(const UserControlPointResponse& response);
    void OnConsentResponse(uint8_t result);
    void WriteControlPoint(const std::vector<uint8_t>& request);
    void Write(uint16_t handle, std::span<const uint8_t> bytes);
    void Read(uint16_t handle);
    uint16_t Handle(uint16_t uuid) const;
    void SetStatus(const QString& text);
    void SetStatus(UINT stringId);
    QString EditText(UINT id) const;
    void SetEditText(UINT id, const QString& text);

    std::map<uint16_t, uint16_t> m_valueHandles; // characteristic UUID -> value handle
    CProfileCtrlView m_wndView;
    uint32_t m_cid = 0;
    bool m_initialised = false; // InitProfile has run
    UserRecord m_user;
    uint32_t m_registrationDisabled = 0;
    uint32_t m_consentDisabled = 0;
    uint32_t m_responseTimer = 0; // TIMER_UD_RESPONSE while it runs
    platform::WindowTimers m_timers;
    QLabel* m_status = nullptr;
};
