// Fuzz target: the simulator's world parser on arbitrary text.
#include "sim/WorldParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto world = orv::sim::WorldParser::parse(text, &error);
    if (!world && error.empty()) {
        __builtin_trap(); // a refused world always says why
    }
    return 0;
}
