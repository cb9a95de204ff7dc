#include "platform/ui/Icons.h"

#include <QFile>
#include <QtDebug>

namespace platform {

QString iconPath(UINT id) {
    return QStringLiteral(":/icons/%1.svg").arg(id);
}

QIcon loadIcon(UINT id) {
    const QString path = iconPath(id);
    if (!QFile::exists(path)) {
        qWarning("No icon resource %u (%s)", id, qPrintable(path));
        return {};
    }
    return QIcon(path);
}

} // namespace platform
