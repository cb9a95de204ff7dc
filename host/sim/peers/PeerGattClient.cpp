// Simulated radio: a peer acting as GATT client of the host's own database, over ATT.
#include "PeerGattClient.h"

#include "../../core/AttProtocol.h"
#include "../GattText.h"

#include <veyrauuids.h>

#include <algorithm>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

constexpr size_t kWritePayload = att::kMtu - 3;   // bytes of a write request's value
constexpr size_t kPreparePayload = att::kMtu - 5; // bytes of one prepared piece
constexpr size_t kReadPayload = att::kMtu - 1;    // bytes of a full read response

uint8_t errorOf(std::span<const uint8_t> pdu) {
    return pdu.size() >= 5 && pdu[0] == att::kErrorResponse ? pdu[4] : att::kUnlikelyError;
}

att::Pdu handlePdu(uint8_t opcode, uint16_t handle) {
    att::Pdu pdu{opcode};
    att::put16(pdu, handle);
    return pdu;
}

} // namespace

void PeerGattClient::enqueue(std::function<void()> operation) {
    m_waiting.push_back(std::move(operation));
    next();
}

void PeerGattClient::next() {
    if (m_answer || m_waiting.empty()) {
        return;
    }
    auto operation = std::move(m_waiting.front());
    m_waiting.pop_front();
    operation();
}

void PeerGattClient::request(std::vector<uint8_t> pdu, Answer answer) {
    m_answer = std::move(answer);
    if (!m_context.send(std::move(pdu))) {
        reset(); // no link: nothing will answer
    }
}

void PeerGattClient::finish(const Done& done, uint8_t error) {
    if (done) {
        done(error);
    }
    next();
}

void PeerGattClient::received(std::span<const uint8_t> pdu) {
    if (pdu.empty()) {
        return;
    }
    if (pdu[0] == att::kHandleValueNotification || pdu[0] == att::kHandleValueIndication) {
        const bool indication = pdu[0] == att::kHandleValueIndication;
        if (indication) {
            m_context.send({att::kHandleValueConfirmation});
        }
        if (pdu.size() < 3) {
            return;
        }
        const uint16_t handle = att::get16(pdu, 1);
        const auto value = pdu.subspan(3);
        record(handle, indication ? PeerClientValue::Kind::Indication : PeerClientValue::Kind::Notification,
               0, value);
        const Characteristic* characteristic = byHandle(handle);
        if (characteristic != nullptr && m_onValue) {
            m_onValue(*characteristic, value);
        }
        return;
    }
    if (!m_answer) {
        return; // nothing asked: not ours
    }
    const Answer answer = std::exchange(m_answer, nullptr);
    answer(pdu);
}

void PeerGattClient::reset() {
    m_characteristics.clear();
    m_declarations.clear();
    m_waiting.clear();
    m_answer = nullptr;
}

// ---- Discovery ---------------------------------------------------------------------------------

void PeerGattClient::discover(const BleUuid& service, Done done) {
    enqueue([this, service, done] {
        att::Pdu pdu{att::kFindByTypeValueRequest, 0x01, 0x00, 0xFF, 0xFF};
        att::put16(pdu, att::kPrimaryService);
        att::putUuid(pdu, service);
        request(std::move(pdu), [this, done](std::span<const uint8_t> answer) {
            if (answer[0] != att::kFindByTypeValueResponse || answer.size() < 5) {
                finish(done, errorOf(answer));
                return;
            }
            const uint16_t start = att::get16(answer, 1);
            const uint16_t end = att::get16(answer, 3);
            discoverCharacteristics(start, end, m_characteristics.size(), done);
        });
    });
}

void PeerGattClient::discoverCharacteristics(uint16_t from, uint16_t end, size_t first, Done done) {
    att::Pdu pdu{att::kReadByTypeRequest};
    att::put16(pdu, from);
    att::put16(pdu, end);
    att::put16(pdu, att::kCharacteristic);
    request(std::move(pdu), [this, end, first, done](std::span<const uint8_t> answer) {
        const size_t length = answer.size() >= 2 ? answer[1] : 0;
        if (answer[0] != att::kReadByTypeResponse || length < 7) {
            discoverDescriptors(first, end, done); // 0x0A: no more declarations
            return;
        }
        uint16_t last = 0;
        for (size_t at = 2; at + length <= answer.size(); at += length) {
            const auto uuid = att::uuidFromBytes(answer.subspan(at + 5, length - 5));
            last = att::get16(answer, at);
            if (uuid) {
                m_characteristics.push_back({*uuid, att::get16(answer, at + 3), answer[at + 2], 0});
                m_declarations.push_back(last);
            }
        }
        if (last == 0 || last >= end) {
            discoverDescriptors(first, end, done);
            return;
        }
        discoverCharacteristics(static_cast<uint16_t>(last + 1), end, first, done);
    });
}

void PeerGattClient::discoverDescriptors(size_t index, uint16_t end, Done done) {
    while (index < m_characteristics.size() &&
           (m_characteristics[index].properties & (kPropertyNotify | kPropertyIndicate)) == 0) {
        ++index;
    }
    if (index >= m_characteristics.size()) {
        finish(done, 0);
        return;
    }
    const uint16_t from = static_cast<uint16_t>(m_characteristics[index].valueHandle + 1);
    const uint16_t to =
        index + 1 < m_declarations.size() ? static_cast<uint16_t>(m_declarations[index + 1] - 1) : end;
    att::Pdu pdu{att::kFindInformationRequest};
    att::put16(pdu, from);
    att::put16(pdu, std::max(from, to));
    request(std::move(pdu), [this, index, end, done](std::span<const uint8_t> answer) {
        if (answer[0] == att::kFindInformationResponse && answer.size() >= 2 && answer[1] == 1) {
            for (size_t at = 2; at + 4 <= answer.size(); at += 4) {
                if (att::get16(answer, at + 2) == DescriptorUuid::ClientCharacteristicConfiguration) {
                    m_characteristics[index].configHandle = att::get16(answer, at);
                }
            }
        }
        discoverDescriptors(index + 1, end, done);
    });
}

const PeerGattClient::Characteristic* PeerGattClient::find(const BleUuid& uuid) const {
    const auto it = std::find_if(m_characteristics.begin(), m_characteristics.end(),
                                 [&uuid](const Characteristic& c) { return att::sameUuid(c.uuid, uuid); });
    return it == m_characteristics.end() ? nullptr : &*it;
}

const PeerGattClient::Characteristic* PeerGattClient::byHandle(uint16_t handle) const {
    const auto it =
        std::find_if(m_characteristics.begin(), m_characteristics.end(), [handle](const Characteristic& c) {
            return c.valueHandle == handle || (c.configHandle != 0 && c.configHandle == handle);
        });
    return it == m_characteristics.end() ? nullptr : &*it;
}

// ---- Reads and writes ------------------------------------------------------------------------------

void PeerGattClient::read(uint16_t handle, ReadDone done) {
    enqueue([this, handle, done] { readFrom(handle, {}, done); });
}

void PeerGattClient::readFrom(uint16_t handle, std::vector<uint8_t> value, ReadDone done) {
    att::Pdu pdu = handlePdu(value.empty() ? att::kReadRequest : att::kReadBlobRequest, handle);
    if (!value.empty()) {
        att::put16(pdu, static_cast<uint16_t>(value.size()));
    }
    request(std::move(pdu), [this, handle, value, done](std::span<const uint8_t> answer) mutable {
        const bool ok = answer[0] == att::kReadResponse || answer[0] == att::kReadBlobResponse;
        const uint8_t error = ok ? 0 : errorOf(answer);
        if (ok) {
            value.insert(value.end(), answer.begin() + 1, answer.end());
            if (answer.size() - 1 == kReadPayload && value.size() < att::kMaxAttributeLength) {
                readFrom(handle, std::move(value), done);
                return;
            }
        }
        record(handle, PeerClientValue::Kind::Read, error, value);
        if (done) {
            done(error, value);
        }
        next();
    });
}

void PeerGattClient::write(uint16_t handle, std::vector<uint8_t> value, Done done) {
    if (value.size() > kWritePayload) {
        writeQueued({{handle, std::move(value)}}, std::move(done));
        return;
    }
    enqueue([this, handle, value = std::move(value), done] {
        att::Pdu pdu = handlePdu(att::kWriteRequest, handle);
        pdu.insert(pdu.end(), value.begin(), value.end());
        request(std::move(pdu), [this, handle, done](std::span<const uint8_t> answer) {
            const uint8_t error = answer[0] == att::kWriteResponse ? 0 : errorOf(answer);
            record(handle, PeerClientValue::Kind::Written, error, {});
            finish(done, error);
        });
    });
}

void PeerGattClient::writeCommand(uint16_t handle, std::vector<uint8_t> value) {
    enqueue([this, handle, value = std::move(value)] {
        att::Pdu pdu = handlePdu(att::kWriteCommand, handle);
        pdu.insert(pdu.end(), value.begin(),
                   value.begin() + static_cast<long>(std::min(value.size(), kWritePayload)));
        m_context.send(std::move(pdu));
        next();
    });
}

void PeerGattClient::writeQueued(std::vector<std::pair<uint16_t, std::vector<uint8_t>>> values, Done done) {
    std::vector<Part> parts;
    for (const auto& [handle, value] : values) {
        size_t offset = 0;
        do {
            const size_t length = std::min(kPreparePayload, value.size() - offset);
            parts.push_back({handle,
                             static_cast<uint16_t>(offset),
                             {value.begin() + static_cast<long>(offset),
                              value.begin() + static_cast<long>(offset + length)}});
            offset += length;
        } while (offset < value.size());
    }
    enqueue([this, parts = std::move(parts), done] { prepare(parts, 0, done); });
}

void PeerGattClient::prepare(std::vector<Part> parts, size_t index, Done done) {
    const auto written = [this, parts, done](uint8_t error) {
        std::vector<uint16_t> handles;
        for (const Part& part : parts) {
            if (std::find(handles.begin(), handles.end(), part.handle) == handles.end()) {
                handles.push_back(part.handle);
                record(part.handle, PeerClientValue::Kind::Written, error, {});
            }
        }
        finish(done, error);
    };
    if (index == parts.size()) {
        request({att::kExecuteWriteRequest, 0x01}, [written](std::span<const uint8_t> answer) {
            written(answer[0] == att::kExecuteWriteResponse ? 0 : errorOf(answer));
        });
        return;
    }
    att::Pdu pdu = handlePdu(att::kPrepareWriteRequest, parts[index].handle);
    att::put16(pdu, parts[index].offset);
    pdu.insert(pdu.end(), parts[index].bytes.begin(), parts[index].bytes.end());
    request(std::move(pdu), [this, parts, index, done, written](std::span<const uint8_t> answer) {
        if (answer[0] == att::kPrepareWriteResponse) {
            prepare(parts, index + 1, done);
            return;
        }
        const uint8_t error = errorOf(answer);
        request({att::kExecuteWriteRequest, 0x00},
                [written, error](std::span<const uint8_t>) { written(error); });
    });
}

void PeerGattClient::configure(const Characteristic& characteristic, uint16_t bits, Done done) {
    write(characteristic.configHandle, {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>(bits >> 8)},
          std::move(done));
}

void PeerGattClient::record(uint16_t handle, PeerClientValue::Kind kind, uint8_t error,
                            std::span<const uint8_t> value) {
    const Characteristic* characteristic = byHandle(handle);
    m_context.record({characteristic != nullptr ? uuidText(characteristic->uuid) : std::string(),
                      kind,
                      error,
                      {value.begin(), value.end()}});
}

} // namespace orv::sim
