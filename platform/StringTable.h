// The string table: texts of the application's resources, keyed by their numeric ids.
#pragma once

#include "platform/WinTypes.h"

#include <QString>
#include <utility>
#include <vector>

namespace platform {

// Replaces the whole table. A later entry with the same id wins.
void installStringTable(std::vector<std::pair<UINT, QString>> entries);

// The text of string id, exactly as installed; empty for an unknown id.
QString LoadString(UINT id);

} // namespace platform
