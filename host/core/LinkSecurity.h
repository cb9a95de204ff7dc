// Security manager: pairing and encryption of one link, and the security events they end with.
#pragma once

#include "ControllerPort.h"
#include "EventPoster.h"
#include "GattClient.h"

#include <cstdint>
#include <optional>

namespace orv::host {

// One procedure at a time per link. While it runs the link's GATT client holds its requests, so a
// request sent after a security refusal reaches the peer once the link is encrypted (or the procedure
// failed). An unbonded peer pairs: BLE_EVT_JUST_WORKS_REQUEST or BLE_EVT_PASSKEY_DISPLAY, then after the
// application's answer BLE_EVT_SECURITY_RESULT and, on success, BLE_EVT_ENCRYPTION_RESULT. A bonded peer
// is encrypted with the stored key: BLE_EVT_ENCRYPTION_RESULT, then BLE_EVT_SECURITY_RESULT. A pairing
// that does not end within 30 s ends with result 2.
class LinkSecurity {
public:
    LinkSecurity(uint32_t cid, const BleTypedAddress& address, ControllerPort& controller,
                 EventPoster& poster, GattClient& gatt)
        : m_cid(cid), m_address(address), m_controller(controller), m_poster(poster), m_gatt(gatt) {}
    LinkSecurity(const LinkSecurity&) = delete;
    LinkSecurity& operator=(const LinkSecurity&) = delete;

    // Encrypts the link, pairing first when needed; mitm asks for a man-in-the-middle protected key.
    // ORV_BLE_E_BUSY while a procedure runs.
    OrvBleResult encrypt(bool mitm);
    // The application's answers to BLE_EVT_JUST_WORKS_REQUEST and BLE_EVT_PASSKEY_DISPLAY;
    // ORV_BLE_E_WRONG_STATE when no such question is open.
    OrvBleResult answerJustWorks(bool accept, bool bond);
    OrvBleResult answerPasskey(bool accept);
    // Ends a pairing under way with result 1; false when none is under way.
    bool cancelPairing();

    void onPairingMethod(PairingMethod method, uint32_t passkey);
    void onPairingComplete(uint16_t status);
    void onEncryptionChanged(uint8_t status, bool authenticated);
    void onTimer(uint32_t timerId);

private:
    enum class Step {
        Idle,
        Encrypting,
        AwaitingMethod,
        AwaitingAnswer,
        Pairing,
        AwaitingEncryption,
        Reporting
    };

    bool pairing() const;
    void pair();
    // Posts the outcome from a timer, so that it comes after the call that decided it.
    void reportLater(bool encryptionFirst, uint16_t result);
    void report();
    void finish();
    void restartTimer(uint64_t delayMs);
    void stopTimer();
    void postSecurityResult(uint16_t result);
    void postEncryptionResult(uint16_t result, uint16_t supplier);

    uint32_t m_cid;
    BleTypedAddress m_address;
    ControllerPort& m_controller;
    EventPoster& m_poster;
    GattClient& m_gatt;
    Step m_step = Step::Idle;
    bool m_mitm = false;
    PairingMethod m_method = PairingMethod::JustWorks;
    bool m_encrypted = false;
    bool m_authenticated = false;
    uint16_t m_supplier = 0; // where the key of the encrypted link came from
    bool m_reportEncryptionFirst = false;
    uint16_t m_reportResult = 0;
    std::optional<uint32_t> m_timer;
};

} // namespace orv::host
