// Host events: the registry of event records handed out and not yet given back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace orv::host {

// Each record is one zero-filled allocation holding the record and its nested buffers.
class RecordRegistry {
public:
    RecordRegistry() = default;
    RecordRegistry(const RecordRegistry&) = delete;
    RecordRegistry& operator=(const RecordRegistry&) = delete;
    ~RecordRegistry() { releaseAll(); }

    void* allocate(uint32_t code, size_t bytes);
    // Frees a record handed out with that code; anything else is counted and ignored.
    void release(uint32_t code, const void* record);
    void releaseAll();

    size_t liveCount() const { return m_live.size(); }
    size_t unknownFreeCount() const { return m_unknownFrees; }

private:
    std::unordered_map<const void*, uint32_t> m_live;
    size_t m_unknownFrees = 0;
};

} // namespace orv::host
