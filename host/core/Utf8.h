// Paired devices: UTF-8 text in fixed-size name fields.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::host {

// The longest prefix of text of at most maxBytes that does not end inside a multi-byte character.
std::string truncateUtf8(std::string_view text, size_t maxBytes);
// The text of a fixed-size field, up to its first NUL or its end when it has none.
std::string fieldText(const char* field, size_t fieldSize);

} // namespace orv::host
