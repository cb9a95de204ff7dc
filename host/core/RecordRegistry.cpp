// Host events: the registry of event records handed out and not yet given back.
#include "RecordRegistry.h"

#include "HostLog.h"

#include <cstdlib>
#include <new>

namespace orv::host {

void* RecordRegistry::allocate(uint32_t code, size_t bytes) {
    void* record = std::calloc(1, bytes);
    if (record == nullptr) {
        throw std::bad_alloc();
    }
    m_live.emplace(record, code);
    return record;
}

void RecordRegistry::release(uint32_t code, const void* record) {
    const auto it = m_live.find(record);
    if (it == m_live.end() || it->second != code) {
        ++m_unknownFrees;
        hostLog() << "veyrahost: event " << code << " record " << record
                  << " was not handed out or was already given back; ignored\n";
        return;
    }
    m_live.erase(it);
    std::free(const_cast<void*>(record));
}

void RecordRegistry::releaseAll() {
    for (const auto& [record, code] : m_live) {
        std::free(const_cast<void*>(record));
    }
    m_live.clear();
}

} // namespace orv::host
