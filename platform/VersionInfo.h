// The program's version block: its translations and version strings, behind a replaceable provider.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

struct VersionBlock {
    // (language, code page) pairs, e.g. (0x0409, 0x04b0).
    std::vector<std::pair<uint16_t, uint16_t>> translations;
    // Keyed by "\\StringFileInfo\\<language><code page>\\<name>", both as four lower-case hex digits.
    std::map<QString, QString> strings;
};

using VersionInfoProvider = std::function<std::optional<VersionBlock>(const QString& modulePath)>;

// Installs the provider that the functions below ask; an empty one restores the program's own block.
void setVersionInfoProvider(VersionInfoProvider provider);

// The program's own block: FileVersion "2, 6, 0, 3" under the one translation 0x0409/0x04b0.
VersionBlock programVersionBlock();

// The size of the module's version block in bytes; 0 when it has none.
DWORD GetFileVersionInfoSize(const QString& modulePath);
// The module's version block; nullopt when it has none.
std::optional<VersionBlock> GetFileVersionInfo(const QString& modulePath);

// Queries one entry of a block. "\\VarFileInfo\\Translation" gives the translation table's size in
// bytes (4 per translation) in *length and fails when there is none; a "\\StringFileInfo\\..." key
// gives the string in *text and its length in characters in *length. False for anything else.
// Keys compare case-insensitively; text and length may be null.
bool VerQueryValue(const VersionBlock& block, const QString& subBlock, QString* text, int* length);

} // namespace platform
