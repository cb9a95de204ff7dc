// Security manager: pairing and encryption of one link, and the security events they end with.
#include "LinkSecurity.h"

#include "HostLog.h"

#include <algorithm>
#include <vector>

namespace orv::host {
namespace {

constexpr uint64_t kPairingTimeoutMs = 30000;

bool sameDevice(const BleTypedAddress& a, const BleTypedAddress& b) {
    return a.type == b.type && a.nap == b.nap && a.uap == b.uap && (a.lap & 0xFFFFFF) == (b.lap & 0xFFFFFF);
}

} // namespace

bool LinkSecurity::pairing() const {
    return m_step == Step::AwaitingMethod || m_step == Step::AwaitingAnswer || m_step == Step::Pairing;
}

OrvBleResult LinkSecurity::encrypt(bool mitm) {
    if (m_step != Step::Idle) {
        hostLog() << "veyrahost: link " << m_cid << " is already being secured; request refused\n";
        return ORV_BLE_E_BUSY;
    }
    m_mitm = mitm;
    m_gatt.hold(true);
    if (m_encrypted && (m_authenticated || !mitm)) {
        reportLater(true, BLE_SECURITY_SUCCESS); // already as secure as asked
        return ORV_BLE_OK;
    }
    std::vector<BondEntry> bonds;
    const bool bonded = m_controller.readBonds(bonds) &&
                        std::any_of(bonds.begin(), bonds.end(), [this](const BondEntry& bond) {
                            return sameDevice(bond.address, m_address);
                        });
    if (bonded && !m_encrypted) {
        m_step = Step::Encrypting;
        m_controller.startEncryption(static_cast<uint16_t>(m_cid));
        return ORV_BLE_OK;
    }
    pair();
    return ORV_BLE_OK;
}

void LinkSecurity::pair() {
    m_step = Step::AwaitingMethod;
    restartTimer(kPairingTimeoutMs);
    m_controller.startPairing(static_cast<uint16_t>(m_cid), m_mitm);
}

OrvBleResult LinkSecurity::answerJustWorks(bool accept, bool bond) {
    if (m_step != Step::AwaitingAnswer || m_method != PairingMethod::JustWorks) {
        return ORV_BLE_E_WRONG_STATE;
    }
    m_step = Step::Pairing;
    restartTimer(kPairingTimeoutMs);
    m_controller.confirmPairing(static_cast<uint16_t>(m_cid), accept, bond);
    return ORV_BLE_OK;
}

OrvBleResult LinkSecurity::answerPasskey(bool accept) {
    if (m_step != Step::AwaitingAnswer || m_method != PairingMethod::PasskeyDisplay) {
        return ORV_BLE_E_WRONG_STATE;
    }
    m_step = Step::Pairing;
    restartTimer(kPairingTimeoutMs); // the user now has this long to type the passkey
    m_controller.confirmPairing(static_cast<uint16_t>(m_cid), accept, true);
    return ORV_BLE_OK;
}

bool LinkSecurity::cancelPairing() {
    if (!pairing()) {
        return false;
    }
    m_controller.cancelPairing(static_cast<uint16_t>(m_cid)); // its own answer is not waited for
    reportLater(false, BLE_SECURITY_FAILED);
    return true;
}

void LinkSecurity::onPairingMethod(PairingMethod method, uint32_t passkey) {
    if (m_step != Step::AwaitingMethod) {
        m_controller.cancelPairing(static_cast<uint16_t>(m_cid)); // a pairing nobody waits for any more
        return;
    }
    m_step = Step::AwaitingAnswer;
    m_method = method;
    if (method == PairingMethod::PasskeyDisplay) {
        auto* event = m_poster.create<BleHostPasskeyEvent>(BLE_EVT_PASSKEY_DISPLAY);
        event->address = m_address;
        event->passkey = passkey;
        m_poster.postRecord(BLE_EVT_PASSKEY_DISPLAY, event);
        return;
    }
    auto* event = m_poster.create<BleHostJustWorksEvent>(BLE_EVT_JUST_WORKS_REQUEST);
    event->address = m_address;
    m_poster.postRecord(BLE_EVT_JUST_WORKS_REQUEST, event);
}

void LinkSecurity::onPairingComplete(uint16_t status) {
    if (!pairing()) {
        return;
    }
    postSecurityResult(status);
    if (status != BLE_SECURITY_SUCCESS) {
        finish();
        return;
    }
    stopTimer();
    m_step = Step::AwaitingEncryption;
}

void LinkSecurity::onEncryptionChanged(uint8_t status, bool authenticated) {
    if (status == 0) {
        m_encrypted = true;
        m_authenticated = authenticated;
    }
    if (m_step == Step::AwaitingEncryption) {
        m_supplier = BLE_KEY_FROM_PAIRING;
        postEncryptionResult(status, m_supplier);
        finish();
        return;
    }
    if (m_step != Step::Encrypting) {
        return;
    }
    if (status != 0) {
        hostLog() << "veyrahost: the peer of link " << m_cid << " has no key for its bond (0x" << std::hex
                  << int{status} << std::dec << "); pairing again\n";
        pair();
        return;
    }
    if (m_mitm && !authenticated) {
        pair(); // the bond's key is not protected against a man in the middle, as asked
        return;
    }
    m_supplier = BLE_KEY_FROM_BOND;
    postEncryptionResult(0, m_supplier);
    postSecurityResult(BLE_SECURITY_SUCCESS);
    finish();
}

void LinkSecurity::onTimer(uint32_t timerId) {
    if (m_timer != timerId) {
        return;
    }
    m_timer.reset();
    if (m_step == Step::Reporting) {
        report();
        return;
    }
    if (!pairing()) {
        return;
    }
    hostLog() << "veyrahost: pairing on link " << m_cid << " timed out after 30 s\n";
    m_controller.cancelPairing(static_cast<uint16_t>(m_cid));
    postSecurityResult(BLE_SECURITY_TIMEOUT);
    finish();
}

void LinkSecurity::reportLater(bool encryptionFirst, uint16_t result) {
    m_step = Step::Reporting;
    m_reportEncryptionFirst = encryptionFirst;
    m_reportResult = result;
    restartTimer(0);
}

void LinkSecurity::report() {
    if (m_reportEncryptionFirst) {
        postEncryptionResult(m_reportResult, m_supplier);
    }
    postSecurityResult(m_reportResult);
    finish();
}

void LinkSecurity::finish() {
    stopTimer();
    m_step = Step::Idle;
    m_gatt.hold(false);
}

void LinkSecurity::restartTimer(uint64_t delayMs) {
    stopTimer();
    m_timer = m_controller.startTimer(delayMs);
}

void LinkSecurity::stopTimer() {
    if (m_timer) {
        m_controller.cancelTimer(*m_timer);
        m_timer.reset();
    }
}

void LinkSecurity::postSecurityResult(uint16_t result) {
    auto* event = m_poster.create<BleHostSecurityEvent>(BLE_EVT_SECURITY_RESULT);
    event->address = m_address;
    event->result = result;
    m_poster.postRecord(BLE_EVT_SECURITY_RESULT, event);
}

void LinkSecurity::postEncryptionResult(uint16_t result, uint16_t supplier) {
    auto* event = m_poster.create<BleHostEncryptionEvent>(BLE_EVT_ENCRYPTION_RESULT);
    event->cid = m_cid;
    event->supplier = supplier;
    event->result = result;
    m_poster.postRecord(BLE_EVT_ENCRYPTION_RESULT, event);
}

} // namespace orv::host
