// Little-endian field reader for GATT attribute values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Reads the fields of a received value one after another through one cursor. Every read checks the
// remaining length first: a field that does not fit gives std::nullopt and leaves the cursor where it
// was. The reader never casts the buffer and never reads past its length. It does not own the bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::optional<uint8_t> u8();
    std::optional<uint16_t> u16();
    std::optional<uint32_t> u32();

    size_t remaining() const { return m_bytes.size() - m_offset; }

private:
    // Assembles width bytes (at most 4) least significant first; nullopt when they do not fit.
    std::optional<uint32_t> unsignedLe(size_t width);

    std::span<const uint8_t> m_bytes;
    size_t m_offset = 0;
};
