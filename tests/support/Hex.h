// Golden bytes written as hexadecimal text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// "0E A4 38" as the bytes 0x0E 0xA4 0x38: pairs of hexadecimal digits, blanks between them ignored.
inline std::vector<uint8_t> Hex(std::string_view text) {
    const auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        bytes.push_back(static_cast<uint8_t>(digit(text[i]) << 4 | digit(text[i + 1])));
        ++i;
    }
    return bytes;
}
