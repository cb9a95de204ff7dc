// What the fuzz targets of the value functions share: the value, operands read from its front, the
// text typed into an edit, and the check that stops a run at a broken contract.
#pragma once

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

// Stops the run with the file, line and condition of a contract a function breaks.
#define FUZZ_CHECK(condition) ((condition) ? void() : fuzz::broken(__FILE__, __LINE__, #condition))

namespace fuzz {

using Value = std::span<const uint8_t>;

[[noreturn]] inline void broken(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: contract broken: %s\n", file, line, condition);
    std::abort();
}

// The value after its first n bytes (which a decoder taking features reads them from).
inline Value after(Value value, size_t n) {
    return value.subspan(std::min(n, value.size()));
}

// The value as text typed into an edit.
inline QString typed(Value value) {
    return QString::fromUtf8(reinterpret_cast<const char*>(value.data()),
                             static_cast<qsizetype>(value.size()));
}

// Operands read from the front of a value one after another, least significant byte first; a missing
// one reads 0.
class Operands {
public:
    explicit Operands(Value value) : m_value(value) {}

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return take(4); }
    bool empty() const { return m_value.empty(); }
    Value rest() const { return m_value; }

private:
    uint32_t take(size_t width) {
        uint32_t number = 0;
        for (size_t i = 0; i < width && i < m_value.size(); ++i)
            number |= uint32_t{m_value[i]} << (8 * i);
        m_value = after(m_value, width);
        return number;
    }

    Value m_value;
};

} // namespace fuzz
