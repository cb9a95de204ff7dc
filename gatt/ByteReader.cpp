// Little-endian field reader for GATT attribute values.
#include "gatt/ByteReader.h"

ByteReader::ByteReader(const uint8_t* data, size_t length) {
    if (data != nullptr) {
        m_bytes = std::span<const uint8_t>(data, length);
    }
}

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

std::optional<int8_t> ByteReader::i8() {
    const auto value = unsignedLe(1);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int8_t>(static_cast<uint8_t>(*value));
}

std::optional<uint16_t> ByteReader::u16() {
    const auto value = unsignedLe(2);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(*value);
}

std::optional<int16_t> ByteReader::i16() {
    const auto value = unsignedLe(2);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int16_t>(static_cast<uint16_t>(*value));
}

std::optional<uint32_t> ByteReader::u24() {
    return unsignedLe(3);
}

std::optional<uint32_t> ByteReader::u32() {
    return unsignedLe(4);
}

std::optional<int32_t> ByteReader::i32() {
    const auto value = unsignedLe(4);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

std::optional<std::span<const uint8_t>> ByteReader::bytes(size_t count) {
    if (m_failed || remaining() < count) {
        m_failed = true;
        return std::nullopt;
    }
    const auto view = m_bytes.subspan(m_offset, count);
    m_offset += count;
    return view;
}
