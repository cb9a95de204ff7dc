// Little-endian field reader for GATT attribute values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Reads the fields of a received value one after another through one cursor. Every read checks the
// remaining length first: a field that does not fit gives std::nullopt, leaves the cursor where it
// was and puts the reader into the failed state, in which every later read fails too, so that a
// decoder may read all the fields its flags announce and check once. The reader never casts the
// buffer and never reads past its length. It does not own the bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::optional<uint8_t> u8();
    std::optional<uint16_t> u16();
    std::optional<int16_t> i16();
    std::optional<uint32_t> u32();
    // Steps over count bytes; false (and the failed state) when they are not there.
    bool skip(size_t count);

    size_t remaining() const { return m_bytes.size() - m_offset; }
    bool failed() const { return m_failed; }

private:
    // Assembles width bytes (at most 4) least significant first; nullopt when they do not fit.
    std::optional<uint32_t> unsignedLe(size_t width);

    std::span<const uint8_t> m_bytes;
    size_t m_offset = 0;
    bool m_failed = false;
};
