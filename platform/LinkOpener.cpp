#include "platform/LinkOpener.h"

#include <QDesktopServices>
#include <QtDebug>

namespace platform {
namespace {

LinkOpenFunction& installedOpener() {
    static LinkOpenFunction opener;
    return opener;
}

} // namespace

bool openLink(const QString& link) {
    const QUrl url(link, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        qWarning().noquote() << QStringLiteral("Not a link that can be opened: \"%1\"").arg(link);
        return false;
    }
    const LinkOpenFunction& opener = installedOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

void setLinkOpener(LinkOpenFunction opener) {
    installedOpener() = std::move(opener);
}

} // namespace platform
