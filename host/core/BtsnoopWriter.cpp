// Debug output: a btsnoop capture file (HCI UART H4 framing) of the link traffic.
#include "BtsnoopWriter.h"

#include <algorithm>
#include <vector>

namespace orv::host {
namespace {

constexpr uint32_t kVersion = 1;
constexpr uint32_t kDatalinkH4 = 1002;
// Microseconds from year 0 to 1970: btsnoop stamps count from year 0, the dates given here from 1970.
constexpr int64_t kEpochMicroseconds = 0x00DCDDB30F2F8000LL;
constexpr uint8_t kH4Acl = 0x02;
constexpr uint8_t kH4Event = 0x04;
constexpr uint16_t kAttChannel = 0x0004;
constexpr size_t kMaxAttPdu = 0xFFFF - 4; // the ACL length counts the 4-byte L2CAP header too

void putBigEndian(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

} // namespace

bool BtsnoopWriter::open(const std::string& path) {
    m_file.open(path, std::ios::binary | std::ios::trunc);
    if (!m_file) {
        return false;
    }
    std::vector<uint8_t> header{'b', 't', 's', 'n', 'o', 'o', 'p', 0};
    putBigEndian(header, kVersion, 4);
    putBigEndian(header, kDatalinkH4, 4);
    m_file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    // On disk at once: a session that dies before its first packet still leaves a capture that opens.
    m_file.flush();
    return static_cast<bool>(m_file);
}

void BtsnoopWriter::record(int64_t dateMs, std::span<const uint8_t> packet, bool received,
                           bool commandOrEvent, size_t originalLength) {
    if (!isOpen()) {
        return;
    }
    std::vector<uint8_t> out;
    putBigEndian(out, originalLength, 4);
    putBigEndian(out, packet.size(), 4);
    putBigEndian(out, (received ? 1u : 0u) | (commandOrEvent ? 2u : 0u), 4);
    putBigEndian(out, 0, 4);
    putBigEndian(out, static_cast<uint64_t>(kEpochMicroseconds + dateMs * 1000), 8);
    out.insert(out.end(), packet.begin(), packet.end());
    m_file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    m_file.flush();
}

void BtsnoopWriter::att(int64_t dateMs, uint16_t handle, std::span<const uint8_t> pdu, bool received) {
    // A PDU beyond what the 16-bit length fields can say is recorded cut, with its original length.
    const auto kept = pdu.first(std::min(pdu.size(), kMaxAttPdu));
    std::vector<uint8_t> packet{kH4Acl};
    put16(packet, static_cast<uint16_t>((handle & 0x0FFF) | 0x2000)); // first packet, automatically flushable
    put16(packet, static_cast<uint16_t>(kept.size() + 4));
    put16(packet, static_cast<uint16_t>(kept.size()));
    put16(packet, kAttChannel);
    packet.insert(packet.end(), kept.begin(), kept.end());
    record(dateMs, packet, received, false, packet.size() + (pdu.size() - kept.size()));
}

void BtsnoopWriter::connectionComplete(int64_t dateMs, uint8_t status, uint16_t handle,
                                       const BleTypedAddress& peer, const LinkParameters& link) {
    std::vector<uint8_t> packet{kH4Event, 0x3E, 19, 0x01, status};
    put16(packet, handle);
    packet.push_back(0x00); // the host is central
    packet.push_back(peer.type);
    packet.push_back(static_cast<uint8_t>(peer.lap & 0xFF));
    packet.push_back(static_cast<uint8_t>(peer.lap >> 8));
    packet.push_back(static_cast<uint8_t>(peer.lap >> 16));
    packet.push_back(peer.uap);
    put16(packet, peer.nap);
    put16(packet, link.interval);
    put16(packet, link.slaveLatency);
    put16(packet, link.supervisionTimeout);
    packet.push_back(0x00); // master clock accuracy 500 ppm
    record(dateMs, packet, true, true, packet.size());
}

void BtsnoopWriter::disconnectionComplete(int64_t dateMs, uint16_t handle, uint8_t reason) {
    std::vector<uint8_t> packet{kH4Event, 0x05, 4, 0x00};
    put16(packet, handle);
    packet.push_back(reason);
    record(dateMs, packet, true, true, packet.size());
}

} // namespace orv::host
