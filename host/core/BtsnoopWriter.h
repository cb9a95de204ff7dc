// Debug output: a btsnoop capture file (HCI UART H4 framing) of the link traffic.
#pragma once

#include "ControllerPort.h"
#include "veyrahost.h"

#include <cstdint>
#include <fstream>
#include <span>
#include <string>

namespace orv::host {

// Records are stamped with the wall-clock date at which the packet crossed, in milliseconds since
// 1 January 1970 UTC.
class BtsnoopWriter {
public:
    bool open(const std::string& path);
    bool isOpen() const { return m_file.is_open(); }
    void close() { m_file.close(); }

    // One ATT PDU inside an ACL packet with its L2CAP header (channel 0x0004).
    void att(int64_t dateMs, uint16_t handle, std::span<const uint8_t> pdu, bool received);
    // LE Connection Complete (subevent 0x01) as the controller reports it.
    void connectionComplete(int64_t dateMs, uint8_t status, uint16_t handle, const BleTypedAddress& peer,
                            const LinkParameters& link);
    void disconnectionComplete(int64_t dateMs, uint16_t handle, uint8_t reason);

private:
    // originalLength: the packet's length before it was cut to fit its length fields.
    void record(int64_t dateMs, std::span<const uint8_t> packet, bool received, bool commandOrEvent,
                size_t originalLength);

    std::ofstream m_file;
};

} // namespace orv::host
