// The application's icons by numeric resource id, from the ":/icons" resource.
#pragma once

#include "platform/WinTypes.h"

#include <QIcon>
#include <QString>

namespace platform {

// ":/icons/<id>.svg".
QString iconPath(UINT id);

// The icon with this id; a null icon and a warning when the resource holds none (for instance when
// the icons resource is not linked into the program).
QIcon loadIcon(UINT id);

} // namespace platform
