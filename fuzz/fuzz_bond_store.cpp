// Fuzz target: reading the dongle's bond file.
#include "sim/BondStore.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<orv::host::BondEntry> bonds;
    std::string error;
    if (!orv::sim::BondStore::parse(text, bonds, &error) && error.empty()) {
        __builtin_trap(); // a broken file always says why
    }
    return 0;
}
