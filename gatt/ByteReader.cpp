// Little-endian field reader for GATT attribute values.
#include "gatt/ByteReader.h"

std::optional<uint32_t> ByteReader::unsignedLe(size_t width) {
    if (m_failed || remaining() < width) {
        m_failed = true;
        return std::nullopt;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        value |= static_cast<uint32_t>(m_bytes[m_offset + i]) << (8 * i);
    }
    m_offset += width;
    return value;
}

std::optional<uint8_t> ByteReader::u8() {
    const auto value = unsignedLe(1);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(*value);
}

std::optional<uint16_t> ByteReader::u16() {
    const auto value = unsignedLe(2);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(*value);
}

std::optional<int16_t> ByteReader::i16() {
    const auto value = u16();
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int16_t>(*value);
}

std::optional<uint32_t> ByteReader::u32() {
    return unsignedLe(4);
}

bool ByteReader::skip(size_t count) {
    if (m_failed || remaining() < count) {
        m_failed = true;
        return false;
    }
    m_offset += count;
    return true;
}
