// Paired devices: UTF-8 text in fixed-size name fields.
#include "Utf8.h"

#include <cstring>

namespace orv::host {

std::string truncateUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

std::string fieldText(const char* field, size_t fieldSize) {
    return std::string(field, strnlen(field, fieldSize));
}

} // namespace orv::host
