// Fuzz target: one link of the host library fed what a peer sends, interleaved with the requests of
// the application and the answers it owes the peer. Records handed to the application are checked
// against the limits the public header promises.
//
// Input: a sequence of steps, each an op byte followed by its operands (a missing operand reads 0):
//   0 peer PDU: 16-bit length (0xFFFF: the rest of the input), then the bytes
//   1 read of a 16-bit handle        2 write request: handle, offset, length byte, bytes
//   3 database discovery             4 write command: handle, length byte, bytes
//   5 the controller transmits everything handed to it
//   6 the latest timer fires (an ATT transaction time-out or the pairing time-out)
//   7 the application answers the peer's oldest read or write: result byte, length byte, bytes
//   8 encryption asked: level byte   9 the controller's security outcome: kind byte, status byte
#include "core/ClientLink.h"
#include "core/EventPoster.h"
#include "core/LocalGattServer.h"
#include "core/RecordRegistry.h"
#include "core/ServerDatabase.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iostream>
#include <span>
#include <vector>

namespace {

using namespace orv::host;

constexpr uint32_t kCid = 0x40;

// The controller below the link: it only counts what it is asked to send and the timers it starts.
class Controller : public ControllerPort {
public:
    bool start() override { return true; }
    void startScan() override {}
    void stopScan() override {}
    bool readBonds(std::vector<BondEntry>&) override { return true; }
    bool updateBond(const BondEntry&) override { return true; }
    void removeBond(const BleTypedAddress&) override {}
    void allocateDatabase(uint16_t) override {}
    void addDatabase(const std::vector<LocalService>&) override {}
    void setConnectionDefaults(uint16_t, uint16_t, const ConnectionParameters&) override {}
    void connect(const BleTypedAddress&) override {}
    void cancelConnect() override {}
    void disconnect(uint16_t, uint8_t) override {}
    void updateConnection(uint16_t, const ConnectionParameters&) override {}
    void answerParameterRequest(uint16_t, uint8_t, bool) override {}
    void readRssi(uint16_t) override {}
    void sendAtt(uint16_t, std::vector<uint8_t> pdu) override {
        if (pdu.size() > 23) {
            __builtin_trap(); // the host never sends more than the MTU
        }
        ++unsent;
    }
    void startPairing(uint16_t, bool) override {}
    void confirmPairing(uint16_t, bool, bool) override {}
    void cancelPairing(uint16_t) override {}
    void startEncryption(uint16_t) override {}
    uint64_t nowMs() const override { return 0; }
    int64_t startDateMs() const override { return 0; }
    uint32_t startTimer(uint64_t) override { return ++lastTimer; }
    void cancelTimer(uint32_t) override {}

    size_t unsent = 0;
    uint32_t lastTimer = 0;
};

struct Posted {
    uint32_t code;
    void* record;
};
std::vector<Posted>* g_posted = nullptr;

void checkRecord(uint32_t code, const void* record) {
    if (code == BLE_EVT_CHAR_READ && static_cast<const BleHostReadEvent*>(record)->length > 512) {
        __builtin_trap();
    }
    if (code == BLE_EVT_NOTIFICATION && static_cast<const BleHostNotificationEvent*>(record)->length > 20) {
        __builtin_trap();
    }
}

int post(OrvHwnd, uint32_t, uintptr_t code, intptr_t lParam) {
    checkRecord(static_cast<uint32_t>(code), reinterpret_cast<void*>(lParam));
    g_posted->push_back({static_cast<uint32_t>(code), reinterpret_cast<void*>(lParam)});
    return 1;
}

uint32_t registerMessage(const char*) {
    return 0xC000;
}

// Reads operands; past the end of the input every operand is 0 and every byte run empty.
class Steps {
public:
    explicit Steps(std::span<const uint8_t> input) : m_input(input) {}
    bool done() const { return m_at >= m_input.size(); }
    uint8_t byte() { return done() ? 0 : m_input[m_at++]; }
    uint16_t word() { return static_cast<uint16_t>(byte() | byte() << 8); }
    std::vector<uint8_t> bytes(size_t count) {
        const size_t n = std::min(count, m_input.size() - std::min(m_at, m_input.size()));
        std::vector<uint8_t> out(m_input.begin() + static_cast<long>(m_at),
                                 m_input.begin() + static_cast<long>(m_at + n));
        m_at += n;
        return out;
    }
    std::vector<uint8_t> rest() { return bytes(m_input.size()); }

private:
    std::span<const uint8_t> m_input;
    size_t m_at = 0;
};

// The local database: Current Time (value read by the application, notify), a control point written
// to the application, and a value served from its registered copy.
ServerDatabase& database() {
    static ServerDatabase db = [] {
        ServerDatabase built;
        const uint8_t copy[] = {0xFF, 0x03};
        BleServerCharacteristicRecord characteristics[3]{};
        characteristics[0].uuid = MakeUuid16(0x2A2B);
        characteristics[0].properties = kPropertyRead | kPropertyNotify;
        characteristics[0].permissions = 0x10;
        characteristics[1].uuid = MakeUuid16(0x2A16);
        characteristics[1].properties = kPropertyWrite | kPropertyWriteWithoutResponse;
        characteristics[1].permissions = 0x20;
        characteristics[2].uuid = MakeUuid16(0x2A47);
        characteristics[2].properties = kPropertyRead;
        characteristics[2].length = sizeof copy;
        characteristics[2].value = copy;
        BleServerServiceRecord service{MakeUuid16(0x1805), 0, 3, characteristics};
        built.requestAllocation(32);
        built.allocationAnswered(0, 1);
        built.add(1, 1, &service);
        return built;
    }();
    return db;
}

// The application's answer to the oldest read or write it owes the peer.
void answer(LocalGattServer& server, std::deque<Posted>& owed, Steps& steps) {
    if (owed.empty()) {
        return;
    }
    const Posted request = owed.front();
    owed.pop_front();
    const int32_t result = static_cast<int8_t>(steps.byte());
    const std::vector<uint8_t> data = steps.bytes(steps.byte());
    if (request.code == BLE_EVT_SERVER_READ) {
        server.readResponse(kCid, static_cast<const BleHostServerReadEvent*>(request.record)->handle, result,
                            data);
    } else {
        server.writeResponse(kCid, static_cast<const BleHostServerWriteEvent*>(request.record)->handle,
                             result);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        std::cerr.rdbuf(nullptr); // the host's log lines would only slow the run down
        return true;
    }();
    (void)quiet;
    std::vector<Posted> posted;
    g_posted = &posted;
    RecordRegistry records;
    EventPoster poster(records);
    poster.setPlatform({registerMessage, post});
    poster.attach(reinterpret_cast<OrvHwnd>(1), 0xC000);
    LocalGattServer server(database(), poster);
    Controller controller;
    std::deque<Posted> owed;
    {
        ClientLink link(kCid, BleTypedAddress{}, controller, poster, server);
        Steps steps({data, size});
        while (!steps.done()) {
            const size_t before = posted.size();
            switch (steps.byte() % 10) {
            case 0: {
                const uint16_t length = steps.word();
                link.onAttPdu(length == 0xFFFF ? steps.rest() : steps.bytes(length));
                break;
            }
            case 1:
                link.gatt().read(steps.word());
                break;
            case 2: {
                const uint16_t handle = steps.word();
                const uint16_t offset = steps.word();
                link.gatt().writeRequest(handle, offset, steps.bytes(steps.byte()));
                break;
            }
            case 3:
                link.gatt().discover();
                break;
            case 4: {
                const uint16_t handle = steps.word();
                link.gatt().writeCommand(handle, steps.bytes(steps.byte()));
                break;
            }
            case 5:
                for (; controller.unsent > 0; --controller.unsent) {
                    link.onAttSent();
                }
                break;
            case 6:
                link.gatt().onTimer(controller.lastTimer);
                link.security().onTimer(controller.lastTimer);
                break;
            case 7:
                answer(server, owed, steps);
                break;
            case 8:
                link.security().encrypt(steps.byte() % 2 == 0);
                break;
            default: {
                const uint8_t kind = steps.byte();
                const uint8_t status = steps.byte();
                if (kind % 3 == 0) {
                    link.security().onPairingMethod(PairingMethod::JustWorks, 0);
                } else if (kind % 3 == 1) {
                    link.security().onPairingComplete(status);
                } else {
                    link.security().onEncryptionChanged(status, (kind & 0x80) != 0);
                }
            }
            }
            for (size_t i = before; i < posted.size(); ++i) {
                if (posted[i].code == BLE_EVT_SERVER_READ || posted[i].code == BLE_EVT_SERVER_WRITE) {
                    owed.push_back(posted[i]);
                }
            }
        }
    }
    g_posted = nullptr;
    return 0;
}
