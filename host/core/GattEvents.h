// GATT client: event records for discovery, read, write and notification results.
#pragma once

#include "EventPoster.h"
#include "GattResults.h"

#include <cstdint>
#include <vector>

namespace orv::host::gattEvents {

// Each record is one allocation holding the record and every array and value it points to.
void postDatabase(EventPoster& poster, uint32_t cid, uint16_t status,
                  const std::vector<DiscoveredService>& services);
void postRead(EventPoster& poster, uint32_t cid, uint16_t status, uint16_t handle,
              const std::vector<uint8_t>& value);
void postWritten(EventPoster& poster, uint32_t cid, uint16_t status, uint16_t handle);
void postNotification(EventPoster& poster, uint32_t cid, uint16_t handle, const std::vector<uint8_t>& value,
                      bool indication);

} // namespace orv::host::gattEvents
