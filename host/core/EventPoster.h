// Host events: building event records and posting them to the attached window.
#pragma once

#include "RecordRegistry.h"
#include "veyrahost.h"

#include <cstddef>
#include <cstdint>

namespace orv::host {

// Posts through the platform's postMessage; a record the platform refuses is released at once.
class EventPoster {
public:
    explicit EventPoster(RecordRegistry& records) : m_records(records) {}

    void setPlatform(const OrvBleHostPlatform& platform) { m_platform = platform; }
    bool hasPlatform() const {
        return m_platform.registerMessage != nullptr && m_platform.postMessage != nullptr;
    }
    uint32_t registerMessage(const char* name) const;

    void attach(OrvHwnd window, uint32_t messageId);
    void detach();
    bool attached() const { return m_window != nullptr; }
    // True while the platform's postMessage runs (the embedder's code is on top of the library's).
    bool posting() const { return m_posting > 0; }

    // A zero-filled Record followed by extraBytes of storage for its nested buffers (see trailing()).
    template <typename Record> Record* create(uint32_t code, size_t extraBytes = 0) {
        return static_cast<Record*>(m_records.allocate(code, trailingOffset(sizeof(Record)) + extraBytes));
    }
    template <typename Record> static uint8_t* trailing(Record* record) {
        return reinterpret_cast<uint8_t*>(record) + trailingOffset(sizeof(Record));
    }

    void postValue(uint32_t code, intptr_t value);
    void postRecord(uint32_t code, void* record);

private:
    static constexpr size_t trailingOffset(size_t size) { return (size + 15) / 16 * 16; }
    int post(uint32_t code, intptr_t lParam);

    RecordRegistry& m_records;
    OrvBleHostPlatform m_platform{};
    OrvHwnd m_window = nullptr;
    uint32_t m_messageId = 0;
    int m_posting = 0;
};

} // namespace orv::host
