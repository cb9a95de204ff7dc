// Alert Notification, Phone Alert Status and Current Time clients: a simulated phone that uses the PC's
// services.
#pragma once

#include "PeerContext.h"
#include "PeerGattClient.h"
#include "PeerModel.h"

#include <cstdint>
#include <deque>

namespace orv::sim {

// Kind "phone": Generic Access only (the built-in phone's world entry makes it need an encrypted
// link, so a client's first read leads to pairing). Once the link is encrypted it acts as the public time and
// alert clients do, through the PC's database: discovers the time services; reads Current Time, Local Time
// Information, Reference Time Information, Time with DST and Time Update State; subscribes to Current Time
// and asks for a reference update (Time Update Control Point 1) then and every 2 minutes; discovers the alert
// services; subscribes to New Alert and Unread Alert Status with one queued write, then to Alert
// Status and Ringer Setting;
// writes the Alert Notification Control Point [0,FF], [1,FF], [4,FF], [5,FF]; reads Alert Status and
// Ringer Setting. Each time the ringer turns active it mutes it once (Ringer Control Point 2) 5 s
// later, if it still rings. It is also the notification center's consumer: subscribes to
// Notification Source and Data Source; for each notification added or modified asks for its
// AppIdentifier, Title (at most 32 bytes) and Message (at most 64) and puts the Data Source pieces
// back together. Everything it receives is recorded (takePeerClientValues), each whole answer too.
class SmartPhone : public PeerModel {
public:
    static constexpr uint64_t kReferenceUpdatePeriodMs = 120000;
    static constexpr uint64_t kMuteDelayMs = 5000;

    SmartPhone(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    void onEncrypted() override;
    void onHostPdu(std::span<const uint8_t> pdu) override { m_client.received(pdu); }

private:
    void useTimeServices();
    void useAlertServices();
    void askForReferenceUpdate();
    void alertStatusSeen(std::span<const uint8_t> value);
    void useNotificationCenter();
    void notificationSeen(std::span<const uint8_t> value);
    void dataSourcePiece(std::span<const uint8_t> value);
    uint16_t valueHandle(uint16_t uuid) const;

    PeerContext m_context;
    PeerGattClient m_client;
    bool m_started = false; // this link's client work has begun
    bool m_ringing = false;
    // Notification center: the attribute count of each answer asked for and not yet whole, oldest
    // first, and the answer put together so far.
    struct Asked {
        uint32_t uid;
        size_t attributes;
    };
    std::deque<Asked> m_asked;
    std::vector<uint8_t> m_answer;
};

} // namespace orv::sim
